#include "platform/AppPaths.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <memory>

namespace AppPaths {

namespace {
QString g_folderOverride;
QString g_userDataOverride;
std::unique_ptr<QLockFile> g_lock;
} // namespace

QString ExecutableFolder() {
    return g_folderOverride.isEmpty() ? QCoreApplication::applicationDirPath() : g_folderOverride;
}

void SetExecutableFolder(const QString& folder) {
    g_folderOverride = folder;
}

QString UserDataFolder() {
    return g_userDataOverride.isEmpty()
               ? QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)
               : g_userDataOverride;
}

void SetUserDataFolder(const QString& folder) {
    g_userDataOverride = folder;
}

QString InstalledDefaultsFolder() {
    return QDir::cleanPath(ExecutableFolder() + QStringLiteral("/" VELSOKURA_DEFAULTS_FROM_BIN));
}

QString DataFolder() {
    const QString own = ExecutableFolder();
    // An installed copy's folder is shared by every user, even one who may write there.
    if (!QFileInfo::exists(InstalledDefaultsFolder()) && QFileInfo(own).isWritable()) return own;
    return UserDataFolder();
}

void CopyDefaultsOnFirstStart() {
    const QString user = UserDataFolder();
    if (DataFolder() != user || QFileInfo::exists(user) || !QDir().mkpath(user)) return;
    const QDir defaults(InstalledDefaultsFolder());
    // QFile::copy refuses an existing target and never leaves a part-copied file.
    for (const QString& name : defaults.entryList(QDir::Files))
        QFile::copy(defaults.filePath(name), QDir(user).filePath(name));
}

Instance AcquireSingleInstance() {
    // One lock per data folder: copies with folders of their own, or other
    // users of an installed copy, may run side by side.
    const QByteArray id =
        QCryptographicHash::hash(DataFolder().toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
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
