#include "platform/SingleInstance.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace SingleInstance {

namespace {

struct Held {
    int fd = -1;
    QByteArray path;
    ~Held() { Release(); } // a normal end of the process takes the file away too
};
Held g_held;

bool StillNamed(int fd, const QByteArray& path) {
    struct stat held = {}, named = {};
    return ::fstat(fd, &held) == 0 && ::stat(path.constData(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

} // namespace

// flock on a file of the folder: every way to the folder (links, mounts,
// spellings) reaches the same file, and the kernel frees the lock with the
// process. The file is the owner's alone (0600): no other user can open it to
// hold the lock, as anyone who may read the folder could hold a lock on the
// folder itself.
Result Acquire(const QString& dataFolder) {
    const QByteArray path = QFile::encodeName(LockFile(dataFolder));
    // A program that ends removes the file; one opened just before is no lock.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const int fd = ::open(path.constData(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0) return Result::Unavailable;
        ::fchmod(fd, S_IRUSR | S_IWUSR);
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(fd);
            return error == EWOULDBLOCK ? Result::AlreadyRunning : Result::Unavailable;
        }
        if (StillNamed(fd, path)) {
            Release();
            g_held.fd = fd;
            g_held.path = path;
            return Result::Acquired;
        }
        ::close(fd);
    }
    return Result::Unavailable;
}

void Release() {
    if (g_held.fd < 0) return;
    // Removed while still locked: a start that opens it now finds it gone.
    ::unlink(g_held.path.constData());
    ::close(g_held.fd);
    g_held.fd = -1;
}

} // namespace SingleInstance
