#include "QuitSignals.h"

#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
constexpr int politeSignals[] = {SIGTERM, SIGINT, SIGHUP};
int signalSocket[2] = {-1, -1};
volatile std::sig_atomic_t quitting = 0;

void setAction(void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : politeSignals)
        sigaction(number, &action, nullptr);
}

// Only async-signal-safe calls here.
void onSignal(int number)
{
    if (quitting) {
        // Asked again while still quitting: no more waiting.
        std::signal(number, SIG_DFL);
        std::raise(number);
        return;
    }
    quitting = 1;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalSocket[0], &byte, 1);
}
} // namespace

QuitSignals::QuitSignals(QObject *parent)
    : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSocket) != 0)
        return;
    m_notifier = new QSocketNotifier(signalSocket[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char byte;
        [[maybe_unused]] const ssize_t read = ::read(signalSocket[1], &byte, 1);
        emit quitRequested();
    });
    setAction(onSignal);
}

QuitSignals::~QuitSignals()
{
    if (!m_notifier)
        return;
    setAction(SIG_DFL);
    delete m_notifier;
    ::close(signalSocket[0]);
    ::close(signalSocket[1]);
    signalSocket[0] = signalSocket[1] = -1;
    quitting = 0;
}
