#include "platform/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

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

QString DefaultsFolder() {
    const QString installed = InstalledDefaultsFolder();
    return installed.isEmpty() ? ExecutableFolder() : installed;
}

QString ProgramFile(const QString& name) {
    const QString own = QDir(DataFolder()).filePath(name);
    return QFileInfo::exists(own) ? own : QDir(DefaultsFolder()).filePath(name);
}

namespace {

const char* const kDefaultFiles[] = {"velsokura.txt", "AppData.txt",   "RirekiData.dat",
                                     "Mirato1.mp3",   "blackout4.mp3", "blackout5.mp3",
                                     "blackout8.mp3"};
const char* const kExportFolder = "Rireki";

// QFile::copy refuses an existing target and never leaves a part-copied file.
bool CopyMissing(const QDir& from, const QDir& to, const QStringList& names) {
    bool copied = true;
    for (const QString& name : names)
        if (from.exists(name) && !to.exists(name))
            copied = QFile::copy(from.filePath(name), to.filePath(name)) && copied;
    return copied;
}

// The defaults, or a copy's own data with its history and exports.
bool CopyDefaults(const QString& to) {
    const QDir from(DefaultsFolder());
    QStringList names;
    for (const char* name : kDefaultFiles)
        names << QLatin1String(name);
    bool copied = CopyMissing(from, QDir(to), names);
    const QDir exports(from.filePath(QLatin1String(kExportFolder)));
    if (exports.exists()) {
        const QDir target(QDir(to).filePath(QLatin1String(kExportFolder)));
        copied = QDir().mkpath(target.path()) &&
                 CopyMissing(exports, target, exports.entryList(QDir::Files)) && copied;
    }
    return copied;
}

bool HoldsData(const QDir& folder) {
    return folder.exists(QStringLiteral("velsokura.txt")) ||
           folder.exists(QStringLiteral("AppData.txt"));
}

QString Native(const QString& path) {
    return QDir::toNativeSeparators(QDir::cleanPath(path));
}

// Why a folder cannot be made: the nearest folder that exists, unwritable.
QString WhyNotMade(const QString& folder) {
    QFileInfo ancestor(folder);
    while (!ancestor.exists() && !ancestor.isRoot())
        ancestor = QFileInfo(ancestor.absolutePath());
    if (!ancestor.isWritable())
        return QStringLiteral("「%1」に書き込む権限がありません。").arg(Native(ancestor.filePath()));
    return QStringLiteral("空き容量と書き込み権限を確認して下さい。");
}

QString CannotWrite(const QString& folder) {
    return QStringLiteral("データフォルダ「%1」に書き込めません。書き込む権限がありません。")
        .arg(Native(folder));
}

} // namespace

QString PrepareDataFolder(QString& moved) {
    moved.clear();
    if (DataFolder() != UserDataFolder()) return {};
    const QString user = QDir::cleanPath(UserDataFolder());
    QDir folder(user);
    const QString cannotMake = QStringLiteral("データフォルダ「%1」を作成できません。").arg(Native(user));
    if (!folder.exists()) {
        // Made whole beside its place, then renamed there: no start leaves an
        // empty or half-filled folder behind.
        const QString parent = QFileInfo(user).absolutePath();
        if (!QDir().mkpath(parent)) return cannotMake + WhyNotMade(parent);
        QTemporaryDir staging(QDir(parent).filePath(QStringLiteral("velsokura-new-XXXXXX")));
        if (!staging.isValid()) return cannotMake + WhyNotMade(user);
        if (!HoldsData(QDir(DefaultsFolder()))) return {}; // reading says which file is missing
        if (!CopyDefaults(staging.path()) || !QDir().rename(staging.path(), user))
            return cannotMake + QStringLiteral("空き容量と書き込み権限を確認して下さい。");
        staging.setAutoRemove(false);
    } else if (!HoldsData(folder)) {
        // A folder an earlier start left empty gets its defaults now.
        CopyDefaults(user);
    } else {
        return QFileInfo(user).isWritable() ? QString() : CannotWrite(user);
    }
    if (!QFileInfo(user).isWritable()) return CannotWrite(user);
    // The user of a copy finds its data elsewhere from now on.
    if (InstalledDefaultsFolder().isEmpty())
        moved = QStringLiteral("「%1」には書き込めないため、データを「%2」にコピーしました。"
                               "これからはこちらに保存します。")
                    .arg(Native(DefaultsFolder()), Native(user));
    return {};
}

} // namespace AppPaths
