#include "ContentView.h"
#include "FakeClock.h"
#include "FakeTimer.h"
#include "MemoryStore.h"
#include "QtRepeatingTimer.h"
#include "SteadyClock.h"

#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <limits>

namespace {
struct Game {
    explicit Game(double stored = 0.0)
        : store(std::make_shared<MemoryStore>(stored))
        , view(ContentView::Services{clock, timer, store})
    {
    }

    // One hold: each entry is a tick that many seconds after the press.
    void hold(const QList<double> &tickTimes, double releaseAfter = -1)
    {
        view.startHolding();
        double at = 0;
        for (double t : tickTimes) {
            clock->advance(std::chrono::duration<double>(t - at));
            at = t;
            timer->fire();
        }
        if (releaseAfter > at)
            clock->advance(std::chrono::duration<double>(releaseAfter - at));
        view.stopHolding();
    }

    std::shared_ptr<FakeClock> clock = std::make_shared<FakeClock>();
    std::shared_ptr<FakeTimer> timer = std::make_shared<FakeTimer>();
    std::shared_ptr<MemoryStore> store;
    ContentView view;
};
} // namespace

class TestContentView : public QObject
{
    Q_OBJECT

private slots:
    void creationLoadsAFiniteBest_data()
    {
        QTest::addColumn<double>("stored");
        QTest::addColumn<double>("highScore");
        QTest::newRow("nothing stored") << 0.0 << 0.0;
        QTest::newRow("a best") << 12.34 << 12.34;
        QTest::newRow("negative, kept as is") << -1.0 << -1.0;
        QTest::newRow("nan") << std::nan("") << 0.0;
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << 0.0;
        QTest::newRow("minus infinity") << -std::numeric_limits<double>::infinity() << 0.0;
    }
    void creationLoadsAFiniteBest()
    {
        QFETCH(double, stored);
        QFETCH(double, highScore);
        Game game(stored);
        QCOMPARE(game.view.highScore(), highScore);
        QCOMPARE(game.view.isHolding(), false);
        QCOMPARE(game.view.elapsed(), 0.0);
        QCOMPARE(game.view.showNewRecord(), false);
        QVERIFY(!game.view.isTimerRunning());
        QVERIFY(!game.view.startTime());
        QCOMPARE(game.store->writes, 0);
    }

    void releaseDecidesTheRecord_data()
    {
        QTest::addColumn<double>("best");
        QTest::addColumn<QList<double>>("ticks");
        QTest::addColumn<bool>("isRecord");
        QTest::addColumn<double>("expectedBest");
        QTest::newRow("first run, a few ticks") << 0.0 << QList<double>{0.01, 0.02, 0.5} << true << 0.5;
        QTest::newRow("released before the first tick") << 0.0 << QList<double>{} << false << 0.0;
        QTest::newRow("equal time is no record") << 0.5 << QList<double>{0.25, 0.5} << false << 0.5;
        QTest::newRow("shorter hold") << 3.0 << QList<double>{1.0} << false << 3.0;
        QTest::newRow("longer hold") << 3.0 << QList<double>{1.0, 3.25} << true << 3.25;
        QTest::newRow("negative best beaten without a tick") << -1.0 << QList<double>{} << true << 0.0;
    }
    void releaseDecidesTheRecord()
    {
        QFETCH(double, best);
        QFETCH(QList<double>, ticks);
        QFETCH(bool, isRecord);
        QFETCH(double, expectedBest);
        Game game(best);
        // The release comes well after the last tick: only the ticked time counts.
        game.hold(ticks, (ticks.isEmpty() ? 0.0 : ticks.last()) + 0.009);

        QCOMPARE(game.view.isHolding(), false);
        QVERIFY(!game.view.isTimerRunning());
        QCOMPARE(game.view.elapsed(), ticks.isEmpty() ? 0.0 : ticks.last());
        QCOMPARE(game.view.highScore(), expectedBest);
        QCOMPARE(game.view.showNewRecord(), isRecord);
        QCOMPARE(game.store->writes, isRecord ? 1 : 0);
        if (isRecord)
            QCOMPARE(std::get<double>(game.store->value), expectedBest);
    }

    void pressStartsAHoldAndClearsTheBadge()
    {
        Game game;
        game.hold({1.0});
        QVERIFY(game.view.showNewRecord());

        QSignalSpy badge(&game.view, &ContentView::showNewRecordChanged);
        game.view.startHolding();
        QCOMPARE(badge.count(), 1);
        QCOMPARE(game.view.showNewRecord(), false);
        QCOMPARE(game.view.isHolding(), true);
        QCOMPARE(game.view.elapsed(), 0.0);
        QCOMPARE(game.view.startTime(), game.clock->now());
        QVERIFY(game.view.isTimerRunning());
        QCOMPARE(game.timer->period(), std::chrono::milliseconds(10));

        // A second press while the timer runs restarts it: one timer, timed from the new press.
        game.clock->advance(std::chrono::seconds(2));
        game.view.startHolding();
        QCOMPARE(game.timer->starts, 3);
        game.clock->advance(std::chrono::milliseconds(250));
        game.timer->fire();
        QCOMPARE(game.view.elapsed(), 0.25);

        // A shorter hold after a record never shows the badge.
        game.view.stopHolding();
        QCOMPARE(game.view.showNewRecord(), false);
        QCOMPARE(game.view.highScore(), 1.0);
    }

    void tickNotifiesOnlyOnChange()
    {
        Game game;
        game.view.startHolding();
        QSignalSpy elapsed(&game.view, &ContentView::elapsedChanged);
        game.timer->fire();
        QCOMPARE(elapsed.count(), 0);
        game.clock->advance(std::chrono::milliseconds(10));
        game.timer->fire();
        QCOMPARE(elapsed.count(), 1);
        QCOMPARE(game.view.elapsed(), 0.01);
    }

    void resetClearsBestAndBadgeOnly()
    {
        Game game;
        game.hold({2.5});
        game.view.resetHighScore();
        QCOMPARE(game.view.highScore(), 0.0);
        QCOMPARE(game.view.showNewRecord(), false);
        QCOMPARE(game.view.elapsed(), 2.5);
        QVERIFY(std::holds_alternative<int>(game.store->value));
        QCOMPARE(std::get<int>(game.store->value), 0);

        // A release with no press: the previous hold's time is the best again.
        game.view.stopHolding();
        QCOMPARE(game.view.highScore(), 2.5);
        QVERIFY(game.view.showNewRecord());
    }

    void resetDuringAHoldLetsTheHoldGoOn()
    {
        Game game(5.0);
        game.view.startHolding();
        game.clock->advance(std::chrono::seconds(1));
        game.timer->fire();
        game.view.resetHighScore();
        QVERIFY(game.view.isHolding());
        QVERIFY(game.view.isTimerRunning());
        game.clock->advance(std::chrono::seconds(1));
        game.timer->fire();
        game.view.stopHolding();
        QCOMPARE(game.view.highScore(), 2.0);
        QCOMPARE(std::get<double>(game.store->value), 2.0);
        QVERIFY(game.view.showNewRecord());
    }

    void aBestThatCouldNotBeStoredIsKeptAndRetried()
    {
        Game game;
        game.store->failWrites = true;
        game.hold({2.0});
        QCOMPARE(game.view.highScore(), 2.0);
        QVERIFY(game.view.showNewRecord());
        QCOMPARE(game.store->writes, 1);

        game.hold({1.0}); // no record, but a second chance to store the first
        QCOMPARE(game.store->writes, 2);
        game.store->failWrites = false;
        game.hold({1.0});
        QCOMPARE(game.store->writes, 3);
        QCOMPARE(std::get<double>(game.store->value), 2.0);
        game.hold({1.0}); // stored: nothing more to write
        QCOMPARE(game.store->writes, 3);

        // A reset drops a best still waiting to be stored.
        game.store->failWrites = true;
        game.hold({3.0});
        game.view.resetHighScore();
        game.store->failWrites = false;
        game.hold({});
        QCOMPARE(std::get<int>(game.store->value), 0);

        // Closing the window is the last chance.
        auto store = std::make_shared<MemoryStore>();
        store->failWrites = true;
        {
            Game closing;
            closing.store = store;
            ContentView view(ContentView::Services{closing.clock, closing.timer, store});
            view.startHolding();
            closing.clock->advance(std::chrono::seconds(4));
            closing.timer->fire();
            view.stopHolding();
            store->failWrites = false;
        }
        QCOMPARE(std::get<double>(store->value), 4.0);
    }

    void aBetterBestStoredByAnotherGameIsAdopted()
    {
        Game game(1.0);
        game.store->value = 9.0; // another game, since this one started
        game.hold({3.0});
        QCOMPARE(game.view.highScore(), 9.0);
        QVERIFY(!game.view.showNewRecord());
        QCOMPARE(std::get<double>(game.store->value), 9.0);
        game.hold({9.5});
        QCOMPARE(game.view.highScore(), 9.5);
        QVERIFY(game.view.showNewRecord());
        QCOMPARE(std::get<double>(game.store->value), 9.5);
    }

    void destructionStopsTheTimer()
    {
        auto timer = std::make_shared<FakeTimer>();
        {
            ContentView view(ContentView::Services{std::make_shared<FakeClock>(), timer, std::make_shared<MemoryStore>()});
            view.startHolding();
            QVERIFY(timer->isActive());
        }
        QVERIFY(!timer->isActive());
    }

    void inputStormsLeaveAConsistentState()
    {
        Game game;
        for (int i = 1; i <= 1000; ++i) {
            game.view.startHolding();
            game.clock->advance(std::chrono::milliseconds(i));
            game.timer->fire();
            game.view.stopHolding();
            QVERIFY(!game.view.isTimerRunning());
        }
        QCOMPARE(game.view.highScore(), 1.0);
        QCOMPARE(std::get<double>(game.store->value), 1.0);
        QCOMPARE(game.store->writes, 1000);

        // Releases with no press change nothing further.
        game.view.stopHolding();
        game.view.stopHolding();
        QCOMPARE(game.store->writes, 1000);
        QVERIFY(!game.view.isHolding());
    }

    void realTimerTicksWhileTheLoopRuns()
    {
        auto timer = std::make_shared<QtRepeatingTimer>();
        ContentView view(ContentView::Services{std::make_shared<SteadyClock>(), timer, std::make_shared<MemoryStore>()});
        QSignalSpy ticks(&view, &ContentView::elapsedChanged);
        view.startHolding();
        QTRY_VERIFY(ticks.count() >= 2);
        QVERIFY(view.elapsed() > 0.0);
        view.stopHolding();
        QVERIFY(!timer->isActive());
        const double final = view.elapsed();
        QTest::qWait(30);
        QCOMPARE(view.elapsed(), final);
        QCOMPARE(view.highScore(), final);
    }
};

QTEST_GUILESS_MAIN(TestContentView)
#include "tst_contentview.moc"
