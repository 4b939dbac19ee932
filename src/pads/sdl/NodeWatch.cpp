#include "NodeWatch.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

NodeWatch::NodeWatch(int fd, QObject *parent)
    : QObject(parent)
    , m_fd(fd)
    , m_notifier(fd, QSocketNotifier::Read)
{
    connect(&m_notifier, &QSocketNotifier::activated, this, &NodeWatch::drain);
}

NodeWatch::~NodeWatch()
{
    m_notifier.setEnabled(false);
    ::close(m_fd);
}

NodeWatch *NodeWatch::open(const char *path, QObject *parent)
{
    const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    return fd < 0 ? nullptr : new NodeWatch(fd, parent);
}

void NodeWatch::drain()
{
    char bytes[1024];
    ssize_t got;
    while ((got = ::read(m_fd, bytes, sizeof bytes)) > 0 || (got < 0 && errno == EINTR)) {
    }
    // Anything but "nothing more for now" is the node's end: it would wake the game for ever.
    if (got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK))
        m_notifier.setEnabled(false);
    emit input();
}
