#include "platform/QuitSignals.h"

#include <QObject>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The handler writes into [0]; the event loop reads [1].
int g_wake[2] = {-1, -1};

void WakeEventLoop(int) {
    const int saved = errno;
    const char byte = 1;
    // Only async-signal-safe calls here. A full socket already holds a wake-up.
    [[maybe_unused]] const ssize_t written = ::write(g_wake[0], &byte, 1);
    errno = saved;
}

} // namespace

void CatchQuitSignals(QObject* context, std::function<void()> onSignal) {
    if (g_wake[0] < 0) {
        if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_wake) != 0) return;
        for (const int fd : g_wake) {
            ::fcntl(fd, F_SETFL, O_NONBLOCK);
            ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        }
    }
    auto* notifier = new QSocketNotifier(g_wake[1], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context,
                     [onSignal = std::move(onSignal)] {
                         char bytes[16];
                         while (::read(g_wake[1], bytes, sizeof bytes) > 0) {
                         }
                         onSignal();
                     });
    struct sigaction action = {};
    action.sa_handler = WakeEventLoop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(signal, &action, nullptr);
}
