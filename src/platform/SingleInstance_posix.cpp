#include "platform/SingleInstance.h"

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace SingleInstance {

namespace {
int g_socket = -1;
} // namespace

// A socket in the abstract namespace: a name without a file, which the
// kernel frees when the process ends, however it ends.
Result Acquire(const QString& dataFolder) {
    const QByteArray name = LockName(FolderKey(dataFolder)).toLatin1();
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.constData(), size_t(name.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return Result::Unavailable;
    const auto length = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + size_t(name.size()));
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), length) != 0) {
        const int error = errno;
        ::close(fd);
        return error == EADDRINUSE ? Result::AlreadyRunning : Result::Unavailable;
    }
    Release();
    g_socket = fd;
    return Result::Acquired;
}

void Release() {
    if (g_socket >= 0) ::close(g_socket);
    g_socket = -1;
}

} // namespace SingleInstance
