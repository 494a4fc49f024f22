#include "platform/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace AppPaths {

namespace {
QString g_folderOverride;
QString g_userDataOverride;
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

} // namespace AppPaths
