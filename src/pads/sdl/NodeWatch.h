#pragma once

#include <QObject>
#include <QSocketNotifier>

// Wakes the game when a device node has something to say, and only then. What the node says is
// drained and dropped: every reader of a device gets its own copy, so SDL still reads it all.
class NodeWatch : public QObject
{
    Q_OBJECT

public:
    // Takes `fd` (read-only, non-blocking), closed with this.
    explicit NodeWatch(int fd, QObject *parent = nullptr);
    ~NodeWatch() override;
    // nullptr when the node cannot be opened.
    static NodeWatch *open(const char *path, QObject *parent = nullptr);

    // False once the node has reported its end or an error (the pad unplugged).
    bool isWatching() const { return m_notifier.isEnabled(); }

signals:
    // The node had input, or has just ended.
    void input();

private:
    void drain();

    int m_fd;
    QSocketNotifier m_notifier;
};
