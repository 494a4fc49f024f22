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

namespace {
// Where an installed copy finds its default files; empty for any other copy.
QString InstalledDefaultsFolder() {
    for (const char* relative : {"defaults", VELSOKURA_DEFAULTS_FROM_BIN}) {
        const QString folder = QDir::cleanPath(ExecutableFolder() + '/' + QLatin1String(relative));
        if (QFileInfo(folder).isDir()) return folder;
    }
    return {};
}
} // namespace

QString DataFolder() {
    const QString own = ExecutableFolder();
    // An installed copy's data is the user's own, even where the user may write
    // to the program's folder (the Windows installer's, in the user's profile).
    if (InstalledDefaultsFolder().isEmpty() && QFileInfo(own).isWritable()) return own;
    return UserDataFolder();
}

void CopyDefaultsOnFirstStart() {
    const QString user = UserDataFolder();
    const QString installed = InstalledDefaultsFolder();
    if (DataFolder() != user || QFileInfo::exists(user) || !QDir().mkpath(user) ||
        installed.isEmpty())
        return;
    const QDir defaults(installed);
    // QFile::copy refuses an existing target and never leaves a part-copied file.
    for (const QString& name : defaults.entryList(QDir::Files))
        QFile::copy(defaults.filePath(name), QDir(user).filePath(name));
}

} // namespace AppPaths
