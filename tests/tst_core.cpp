// The game without a window (state, time format, spring) and the best in a real settings file, read back by
// this program started again as a probe (QSettings caches reads), also unprivileged, where root ignores modes.
#include "ContentView.h"
#include "Fakes.h"
#include "SettingsStore.h"
#include "SpringCurve.h"
#include "TimeFormat.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <bit>
#include <numbers>
#include <sys/stat.h>
#include <unistd.h>

// Every heap allocation ends in malloc; under the sanitizer, whose allocator this cannot count, none are seen.
static std::atomic<long> allocations{0};
#ifndef __SANITIZE_ADDRESS__
extern "C" void *__libc_malloc(std::size_t);
extern "C" void *malloc(std::size_t size) { ++allocations; return __libc_malloc(size); }
#endif

namespace {
const double inf = std::numeric_limits<double>::infinity(), none = std::nan("");

struct Game {
    explicit Game(double stored = 0.0) : store(std::make_shared<MemoryStore>(stored)) {}
    // A hold with a tick at each of `ticks` seconds after the press, released 9 ms after the last.
    void hold(const QList<double> &ticks)
    {
        view.waitForStore(); // what another game stored is known by now
        view.startHolding();
        for (double at = 0; double t : ticks) {
            clock->advance(std::chrono::duration<double>(t - std::exchange(at, t)));
            timer->fire();
        }
        clock->advance(std::chrono::milliseconds(9));
        view.stopHolding();
        view.waitForStore();
    }
    std::shared_ptr<FakeClock> clock = std::make_shared<FakeClock>();
    std::shared_ptr<FakeTimer> timer = std::make_shared<FakeTimer>();
    std::shared_ptr<MemoryStore> store;
    ContentView view{ContentView::Services{clock, timer, store}};
};

// --probe load FILE | save FILE VALUE
int probeMain(const QStringList &arguments)
{
    SettingsStore store(arguments.value(1));
    if (arguments.value(0) == "load")
        std::printf("%.17g\n", store.load()); // enough digits to read back bit for bit
    else if (!store.saveBest(arguments.value(2).toDouble()))
        std::printf("unsaved\n");
    return 0;
}

// The probe's standard output; a failure text when the probe itself failed.
QString probe(const QStringList &arguments, bool unprivileged = false)
{
    const QStringList probe = QStringList{QCoreApplication::applicationFilePath(), "--probe"} + arguments;
    QProcess process;
    if (unprivileged && ::geteuid() == 0)
        process.start("setpriv", QStringList{"--reuid=65534", "--regid=65534", "--clear-groups"} + probe);
    else
        process.start(probe.first(), probe.mid(1));
    if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QStringLiteral("probe failed");
    return QString::fromLatin1(process.readAllStandardOutput()).trimmed();
}

// NaN when the probe failed, so that no comparison passes by accident.
double loadFresh(const QString &file, bool unprivileged = false)
{
    bool ok = false;
    const double value = probe({QStringLiteral("load"), file}, unprivileged).toDouble(&ok);
    return ok ? value : std::nan("");
}

bool write(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size();
}
} // namespace

class TestCore : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString file(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void releaseDecidesTheRecord()
    {
        // meanwhile: stored by another game once this one runs
        struct Case { const char *name; double stored, meanwhile; QList<double> ticks; double best; bool isRecord; };
        const Case cases[] = {
            {"first run", 0.0, none, {0.01, 0.02, 0.5}, 0.5, true},
            {"released before the first tick", 0.0, none, {}, 0.0, false},
            {"equal is no record", 0.5, none, {0.25, 0.5}, 0.5, false},
            {"shorter", 3.0, none, {1.0}, 3.0, false},
            {"longer", 3.0, none, {1.0, 3.25}, 3.25, true},
            {"negative best, no tick", -1.0, none, {}, 0.0, true},
            {"stored nan loads as 0", none, none, {0.3}, 0.3, true},
            {"stored infinity loads as 0", inf, inf, {0.3}, 0.3, true},
            {"another game's better best", 1.0, 9.0, {3.0}, 9.0, false},
            {"beats another game's best", 1.0, 9.0, {9.5}, 9.5, true},
        };
        for (const auto &c : cases) {
            Game game(c.stored);
            const double shownAtStart = game.view.highScore();
            game.view.waitForStore(); // watching by now
            if (!std::isnan(c.meanwhile))
                game.store->writeElsewhere(c.meanwhile);
            game.hold(c.ticks);
            // The time that counts is the last tick's, not the release's.
            const bool right = shownAtStart == (std::isfinite(c.stored) ? c.stored : 0.0) && !game.view.isHolding()
                && !game.timer->isActive() && game.view.elapsed() == (c.ticks.isEmpty() ? 0.0 : c.ticks.last())
                && game.view.highScore() == c.best && game.view.showNewRecord() == c.isRecord
                && game.store->saved.size() == size_t(c.isRecord) && game.store->best() == c.best;
            QVERIFY2(right, c.name);
        }
    }

    void aHoldFromPressToResetAndClose()
    {
        auto game = std::make_unique<Game>();
        const auto store = game->store;
        const auto timer = game->timer;
        ContentView &view = game->view;
        game->hold({1.0});
        view.startHolding(); // the badge goes at the press; the hold starts afresh
        QVERIFY(view.isHolding() && !view.showNewRecord() && view.elapsed() == 0.0);
        QVERIFY(view.startTime() == game->clock->now() && timer->period == std::chrono::milliseconds(10));
        view.resetHighScore(); // mid-hold: the hold goes on, to be compared with 0
        QVERIFY(view.waitForStore() && store->holdsReset() && timer->isActive());
        const long before = allocations;
        for (int i = 0; i < 25; ++i) {
            game->clock->advance(std::chrono::milliseconds(10));
            timer->fire();
        }
        QCOMPARE(allocations - before, 0L); // a tick touches no heap
        view.stopHolding();
        QVERIFY(view.waitForStore() && store->best() == 0.25);
        view.resetHighScore();
        QVERIFY(view.highScore() == 0.0 && !view.showNewRecord() && view.elapsed() == 0.25);
        view.stopHolding(); // a release with no press: the last hold's time is the best again
        QVERIFY(view.highScore() == 0.25 && view.waitForStore());

        // A slow disk: the screen changes at once, the store catches up in order, only the first read ran here.
        store->saved.clear();
        store->stalled = true;
        for (const double held : {5.0, 1.0}) {
            view.startHolding();
            game->clock->advance(std::chrono::duration<double>(held));
            timer->fire();
            view.stopHolding();
            QVERIFY(view.highScore() == held && view.showNewRecord() && !view.isHolding());
            if (held == 5.0)
                view.resetHighScore();
        }
        QVERIFY(!view.waitForStore(std::chrono::milliseconds(50)));
        store->stalled = false;
        QVERIFY(view.waitForStore() && store->saved == std::vector<double>({5.0, 0.0, 0.0, 1.0}));
        QCOMPARE(view.highScore(), 1.0); // not the 5 of an answer to an earlier request
        QCOMPARE(store->callsByMaker, 1);

        // A best or reset the store would not take is kept and retried; a waiting reset hides the old best.
        store->failWrites = true;
        game->hold({2.0});
        game->hold({1.0});
        QCOMPARE(view.highScore(), 2.0);
        store->failWrites = false;
        game->hold({1.0});
        const size_t writes = store->saved.size();
        game->hold({1.0}); // stored: nothing more to write
        QVERIFY(store->best() == 2.0 && store->saved.size() == writes);
        store->failWrites = true;
        view.resetHighScore();
        QVERIFY(view.waitForStore() && view.highScore() == 0.0);
        game->hold({0.5});
        store->failWrites = false;
        game->hold({});
        QVERIFY(store->best() == 0.5 && view.highScore() == 0.5);
        // Closing the window is the last chance; the timer stops with it.
        store->failWrites = true;
        game->hold({4.0});
        view.startHolding();
        store->failWrites = false;
        game.reset();
        QVERIFY(!timer->isActive() && store->best() == 4.0);
    }

    void formatsEveryTimeTheSameWayEverywhere()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); // no grouping, no decimal comma
        const std::pair<double, const char *> cases[] = {
            {0.0, "00.00"}, {0.07, "00.07"}, {0.29, "00.28"}, {9.999, "09.99"}, {12.34, "12.33"}, {59.995, "59.99"},
            {60.0, "1:00.00"}, {61.5, "1:01.50"}, {99.99, "1:39.98"}, {600.0, "10:00.00"}, {3600.0, "60:00.00"},
            {6000.25, "100:00.25"}, {1234.5, "20:34.50"}, {-1.5, "-1.-50"},
            {9223372036854774784.0, "153722867280912913:04.00"}, {-9223372036854775808.0, "-8.00"},
            {9223372036854775808.0, "--.--"}, {none, "--.--"}, {-inf, "--.--"}};
        for (const auto &[seconds, text] : cases)
            QCOMPARE(formatTime(seconds), QString::fromLatin1(text));

    }

    void springIsCriticallyDampedAndSettles()
    {
        const double w = 2 * std::numbers::pi / 0.5;
        for (double t : {0.05, 0.1, 0.25, 0.5})
            QCOMPARE(SpringCurve::progress(t), 1 - (1 + w * t) * std::exp(-w * t));
        QVERIFY(SpringCurve::progress(-1.0) == 0.0 && SpringCurve::easingCurve().valueForProgress(1.0) == 1.0);
        QVERIFY(1.0 - SpringCurve::progress(SpringCurve::settleMilliseconds / 1000.0) < 1e-3);
    }

    void storeKeepsTheBestExactlyAndNeverLowersIt()
    {
        const QString path = file(QStringLiteral("watched/best.conf"));
        SettingsStore first(path), second(path);
        int changes = 0; // seen by the first, from its own first write on, which makes the folder
        first.watch([&] { ++changes; });
        const auto inode = [&] { struct stat status{}; ::stat(qPrintable(path), &status); return status.st_ino; };
        for (double seconds : {0.1 + 0.2, 1.250812947, std::numeric_limits<double>::max()}) {
            const auto before = inode();
            first.saveBest(seconds);
            QCOMPARE(std::bit_cast<quint64>(loadFresh(path)), std::bit_cast<quint64>(seconds)); // bit for bit
            QVERIFY(inode() != before); // replaced whole: a crash mid-write leaves the old file intact
        }
        second.saveBest(3.0); // a second game never lowers a better best; only a reset does
        QCOMPARE(loadFresh(path), std::numeric_limits<double>::max());
        changes = 0; // also after a write has replaced the file it watched
        second.saveReset();
        QTRY_VERIFY(changes > 0);
        QFile stored(path);
        QVERIFY(stored.open(QIODevice::ReadOnly) && stored.readAll().contains("highScore=0\n"));
        changes = 0;
        second.saveBest(1.0);
        QTRY_VERIFY(changes > 0);
    }

    void damagedStoreLoadsAsZeroAndRecovers()
    {
        QByteArray noise(10 * 1024 * 1024, '\0');
        QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
        const std::pair<QByteArray, double> stores[] = {{{}, 0.0}, {noise, 0.0}, {"[General]\nhighScore=fast\n", 0.0},
            {"[General]\nhighScore=inf\n", 0.0}, {"[General]\nhighScore=1e400\n", 0.0},
            {"[General]\nhighScore=1, 2\n", 0.0},
            {"[General]\nhighScore=-1\n", -1.0}};
        for (const auto &[contents, loaded] : stores) {
            const QString path = file(QString::number(qHash(contents)));
            QVERIFY(contents.isNull() || write(path, contents));
            QCOMPARE(loadFresh(path), loaded);
            QCOMPARE(probe({QStringLiteral("save"), path, QStringLiteral("2.5")}), QString());
            QCOMPARE(loadFresh(path), 2.5);
        }
    }

    void unwritableStoreKeepsTheGamePlayableAndSaysSo()
    {
        const QString readOnly = file(QStringLiteral("readonly")), inside = readOnly + QStringLiteral("/Brinmor.conf");
        QVERIFY(QDir().mkpath(readOnly));
        QVERIFY(write(inside, "[General]\nhighScore=4\n"));
        const auto owner = QFile::ReadOwner | QFile::ExeOwner, other = QFile::ReadOther | QFile::ExeOther;
        QVERIFY(QFile::setPermissions(m_dir.path(), owner | QFile::WriteOwner | QFile::ExeOther));
        QVERIFY(QFile::setPermissions(readOnly, owner | other));
        QVERIFY(QFile::setPermissions(inside, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
        QCOMPARE(loadFresh(inside, true), 4.0);
        QCOMPARE(probe({QStringLiteral("save"), inside, QStringLiteral("5")}, true), QStringLiteral("unsaved"));
        QCOMPARE(loadFresh(inside), 4.0);
        QVERIFY(QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QVERIFY(QFile::setPermissions(inside, {})); // unreadable: loads as 0
        QCOMPARE(loadFresh(inside, true), 0.0);
    }
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.value(1) == "--probe")
        return probeMain(arguments.mid(2));
    TestCore test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_core.moc"
