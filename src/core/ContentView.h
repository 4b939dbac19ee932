#pragma once

#include "Clock.h"
#include "RepeatingTimer.h"
#include "ScoreSaver.h"
#include "ScoreStore.h"

#include <QObject>
#include <QString>
#include <memory>
#include <optional>

// The game's state and its operations: press, tick, release, reset.
// One per window; the QML screen only reads it and calls the operations.
class ContentView : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool isHolding READ isHolding NOTIFY isHoldingChanged)
    Q_PROPERTY(double elapsed READ elapsed NOTIFY elapsedChanged)
    Q_PROPERTY(double highScore READ highScore NOTIFY highScoreChanged)
    Q_PROPERTY(bool showNewRecord READ showNewRecord NOTIFY showNewRecordChanged)

public:
    struct Services {
        std::shared_ptr<Clock> clock;
        std::shared_ptr<RepeatingTimer> timer;
        std::shared_ptr<ScoreStore> store;
        // How long closing waits for the store.
        std::chrono::milliseconds closeBound = StoreThread::closeBound;
    };

    static constexpr std::chrono::milliseconds tickPeriod{10};

    explicit ContentView(Services services, QObject *parent = nullptr);
    // Gives a best or a reset not yet stored its last chance (see ScoreSaver::close).
    ~ContentView() override;

    bool isHolding() const { return m_isHolding; }
    double elapsed() const { return m_elapsed; }
    double highScore() const { return m_highScore; }
    bool showNewRecord() const { return m_showNewRecord; }
    bool isTimerRunning() const { return m_services.timer->isActive(); }
    std::optional<Clock::TimePoint> startTime() const { return m_startTime; }

    Q_INVOKABLE void startHolding();
    Q_INVOKABLE void updateElapsed();
    Q_INVOKABLE void stopHolding();
    Q_INVOKABLE void resetHighScore();

    Q_INVOKABLE QString formatTime(double seconds) const;

    // Waits until the store has caught up with the game; false when it took longer than `bound`.
    bool waitForStore(std::chrono::milliseconds bound = StoreThread::closeBound) { return m_saver.waitForStore(bound); }

signals:
    void isHoldingChanged();
    void elapsedChanged();
    void highScoreChanged();
    void showNewRecordChanged();
    // Once the state has settled, for what is said to the player: a hold over, a best cleared.
    void holdEnded();
    void highScoreWasReset();

private:
    // Another game's better best becomes the one to beat.
    void adoptStored(double holds);
    void setIsHolding(bool value);
    void setElapsed(double value);
    void setHighScore(double value);
    void setShowNewRecord(bool value);

    Services m_services;
    bool m_isHolding = false;
    double m_elapsed = 0.0;
    double m_highScore;
    std::optional<Clock::TimePoint> m_startTime;
    bool m_showNewRecord = false;
    ScoreSaver m_saver;
};
