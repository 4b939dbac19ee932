#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM (a desktop logging out), SIGINT (Ctrl+C in a terminal) and SIGHUP (the terminal gone),
// turned into a request to quit the ordinary way. The handler only writes a byte to a socket pair;
// the request is made from the event loop. A second signal while quitting ends the game at once.
class QuitSignals : public QObject
{
    Q_OBJECT

public:
    explicit QuitSignals(QObject *parent = nullptr);
    // Gives the signals back their default action.
    ~QuitSignals() override;

signals:
    void quitRequested();

private:
    QSocketNotifier *m_notifier = nullptr;
};
