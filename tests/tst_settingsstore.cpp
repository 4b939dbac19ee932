#include "ContentView.h"
#include "FakeClock.h"
#include "FakeTimer.h"
#include "SettingsStore.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <csignal>
#include <cstring>
#include <limits>
#include <unistd.h>

namespace {
QString probePath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/store_probe");
}

// Runs the probe in a fresh process, optionally without root's rights; its output, or its errors.
QString probe(const QStringList &arguments, bool unprivileged = false, bool errors = false)
{
    QProcess process;
    if (unprivileged && ::geteuid() == 0) {
        process.start(QStringLiteral("setpriv"),
                      QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                  QStringLiteral("--clear-groups"), probePath()} + arguments);
    } else {
        process.start(probePath(), arguments);
    }
    if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QStringLiteral("probe failed: ") + QString::fromLocal8Bit(process.readAllStandardError());
    return QString::fromLatin1(errors ? process.readAllStandardError() : process.readAllStandardOutput()).trimmed();
}

// NaN when the probe failed, so that no comparison can pass by accident.
double loadInFreshProcess(const QString &file, bool unprivileged = false)
{
    const QByteArray text = probe({QStringLiteral("load"), file}, unprivileged).toLatin1();
    char *end = nullptr;
    const double value = std::strtod(text.constData(), &end);
    return !text.isEmpty() && *end == '\0' ? value : std::nan("");
}

void writeFile(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
}
} // namespace

class TestSettingsStore : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString file(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void bestReadsBackBitIdentical_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::newRow("a hold") << 1.250812947;
        QTest::newRow("not exact in decimal") << 0.1 + 0.2;
        QTest::newRow("long hold") << 36000.123456789;
        QTest::newRow("subnormal") << std::numeric_limits<double>::denorm_min();
        QTest::newRow("largest") << std::numeric_limits<double>::max();
    }
    void bestReadsBackBitIdentical()
    {
        QFETCH(double, seconds);
        const QString path = file(QTest::currentDataTag());
        SettingsStore(path).saveBest(seconds);
        const double loaded = loadInFreshProcess(path);
        QCOMPARE(std::memcmp(&loaded, &seconds, sizeof seconds), 0);
    }

    void resetStoresTheIntegerZero()
    {
        const QString path = file("reset.conf");
        SettingsStore(path).saveBest(3.5);
        SettingsStore(path).saveReset();
        QFile stored(path);
        QVERIFY(stored.open(QIODevice::ReadOnly));
        QVERIFY(stored.readAll().contains("highScore=0\n"));
        QCOMPARE(loadInFreshProcess(path), 0.0);
    }

    void damagedStoreLoadsAsZeroAndRecovers_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<double>("loaded");
        QByteArray noise(10 * 1024 * 1024, '\0');
        QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
        QTest::newRow("no file") << QByteArray() << 0.0;
        QTest::newRow("empty file") << QByteArray("") << 0.0;
        QTest::newRow("10 MB of random bytes") << noise << 0.0;
        QTest::newRow("text") << QByteArray("[General]\nhighScore=fast\n") << 0.0;
        QTest::newRow("nan") << QByteArray("[General]\nhighScore=nan\n") << 0.0;
        QTest::newRow("inf") << QByteArray("[General]\nhighScore=inf\n") << 0.0;
        QTest::newRow("1e400") << QByteArray("[General]\nhighScore=1e400\n") << 0.0;
        QTest::newRow("empty value") << QByteArray("[General]\nhighScore=\n") << 0.0;
        QTest::newRow("a list") << QByteArray("[General]\nhighScore=1, 2\n") << 0.0;
        QTest::newRow("negative") << QByteArray("[General]\nhighScore=-1\n") << -1.0;
    }
    void damagedStoreLoadsAsZeroAndRecovers()
    {
        QFETCH(QByteArray, contents);
        QFETCH(double, loaded);
        const QString path = file(QTest::currentDataTag());
        if (!contents.isNull())
            writeFile(path, contents);
        QCOMPARE(SettingsStore(path).load(), loaded);
        QCOMPARE(loadInFreshProcess(path), loaded);

        QCOMPARE(probe({QStringLiteral("save"), path, QStringLiteral("2.5")}), QString());
        QCOMPARE(loadInFreshProcess(path), 2.5);
    }

    void unusableStoreKeepsTheGamePlayable()
    {
        // A folder where the file should be.
        const QString folder = file("folder.conf");
        QVERIFY(QDir().mkpath(folder));
        QCOMPARE(loadInFreshProcess(folder), 0.0);
        QCOMPARE(probe({QStringLiteral("save"), folder, QStringLiteral("2.5")}), QStringLiteral("unsaved"));

        // An unreadable file and an unwritable folder; root ignores modes, so run as nobody.
        QVERIFY(QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                        | QFile::ReadOther | QFile::ExeOther));
        const QString locked = file("locked.conf");
        writeFile(locked, "[General]\nhighScore=4\n");
        QVERIFY(QFile::setPermissions(locked, {}));
        QCOMPARE(loadInFreshProcess(locked, true), 0.0);
        QCOMPARE(probe({QStringLiteral("save"), locked, QStringLiteral("5")}, true), QStringLiteral("unsaved"));
        QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner));
        QCOMPARE(loadInFreshProcess(locked), 4.0);

        const QString readOnlyDir = file("readonly");
        QVERIFY(QDir().mkpath(readOnlyDir));
        const QString inside = readOnlyDir + QStringLiteral("/Brinmor.conf");
        writeFile(inside, "[General]\nhighScore=4\n");
        QVERIFY(QFile::setPermissions(inside, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
        QVERIFY(QFile::setPermissions(readOnlyDir, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
        QCOMPARE(loadInFreshProcess(inside, true), 4.0);
        QCOMPARE(probe({QStringLiteral("save"), inside, QStringLiteral("5")}, true), QStringLiteral("unsaved"));
        QCOMPARE(loadInFreshProcess(inside), 4.0);
        // A game that cannot store its records says so, once, and where.
        const QString said = probe({QStringLiteral("play"), inside, QStringLiteral("5")}, true, true);
        QCOMPARE(said.count(QStringLiteral("best time could not be saved to ") + inside), 1);
        QVERIFY(QFile::setPermissions(readOnlyDir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

    void aSecondGameNeverLowersTheBest()
    {
        const QString path = file("two-games.conf");
        SettingsStore first(path);
        SettingsStore second(path);
        first.saveBest(5.0);
        second.saveBest(3.0);
        QCOMPARE(loadInFreshProcess(path), 5.0);

        QCOMPARE(probe({QStringLiteral("save"), path, QStringLiteral("7")}), QString());
        first.saveBest(6.0);
        QCOMPARE(loadInFreshProcess(path), 7.0);
        second.saveBest(8.0);
        QCOMPARE(loadInFreshProcess(path), 8.0);
        // Only an explicit reset lowers it.
        first.saveReset();
        QCOMPARE(loadInFreshProcess(path), 0.0);

        // Two games on one store: the store keeps the greater, and a game that finds it there takes it.
        auto clock = std::make_shared<FakeClock>();
        auto makeGame = [&] {
            return std::make_unique<ContentView>(
                ContentView::Services{clock, std::make_shared<FakeTimer>(), std::make_shared<SettingsStore>(path)});
        };
        auto holdFor = [&](ContentView &game, double seconds) {
            game.startHolding();
            clock->advance(std::chrono::duration<double>(seconds));
            game.updateElapsed();
            game.stopHolding();
        };
        auto one = makeGame();
        auto two = makeGame();
        holdFor(*one, 5.0);
        holdFor(*two, 3.0);
        QCOMPARE(one->highScore(), 5.0);
        QCOMPARE(two->highScore(), 5.0);
        QVERIFY(!two->showNewRecord());
        QCOMPARE(loadInFreshProcess(path), 5.0);
        QCOMPARE(makeGame()->highScore(), 5.0);
    }

    void killedWritersNeverDamageTheFile()
    {
        const QString path = file("killed.conf");
        QRandomGenerator random(42);
        double previous = 0.0;
        for (int kill = 0; kill < 200; ++kill) {
            QProcess writer;
            writer.start(probePath(), {QStringLiteral("records"), path});
            QVERIFY(writer.waitForStarted());
            QTest::qSleep(int(random.bounded(5, 40)));
            ::kill(pid_t(writer.processId()), SIGKILL);
            QVERIFY(writer.waitForFinished());

            QFile stored(path);
            if (!stored.exists())
                continue;
            QVERIFY(stored.open(QIODevice::ReadOnly));
            const QByteArray text = stored.readAll();
            QVERIFY2(text.startsWith("[General]\nhighScore="), text.left(80).constData());
            const double best = loadInFreshProcess(path);
            QVERIFY2(best >= previous, qPrintable(QStringLiteral("%1 after %2").arg(best).arg(previous)));
            previous = best;
        }
        QVERIFY(previous > 0.0);
    }
};

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
