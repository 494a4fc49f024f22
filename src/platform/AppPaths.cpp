#include "platform/AppPaths.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QLockFile>
#include <memory>

namespace AppPaths {

namespace {
QString g_folderOverride;
std::unique_ptr<QLockFile> g_lock;
} // namespace

QString ExecutableFolder() {
    return g_folderOverride.isEmpty() ? QCoreApplication::applicationDirPath() : g_folderOverride;
}

void SetExecutableFolder(const QString& folder) {
    g_folderOverride = folder;
}

Instance AcquireSingleInstance() {
    // One lock per executable folder, so two copies in different folders may run.
    const QByteArray id =
        QCryptographicHash::hash(ExecutableFolder().toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    auto lock =
        std::make_unique<QLockFile>(QDir(LockFolder()).filePath("velsokura-" + id + ".lock"));
    lock->setStaleLockTime(0); // only a live owner counts
    if (!lock->tryLock(0)) {
        // A full disk or a folder we may not write is no second instance.
        return lock->error() == QLockFile::LockFailedError ? Instance::AlreadyRunning
                                                           : Instance::LockUnavailable;
    }
    g_lock = std::move(lock);
    return Instance::Acquired;
}

QString LockFolder() {
    return QDir::tempPath();
}

void ReleaseSingleInstance() {
    g_lock.reset();
}

} // namespace AppPaths
