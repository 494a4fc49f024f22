#pragma once
#include <QString>

// One program per data folder, whatever the environment (temporary folder,
// working folder): a lock named after the folder and held by the system for
// the process, so that it leaves no file behind and dies with a crashed program.
namespace SingleInstance {

enum class Result { Acquired, AlreadyRunning, Unavailable };

// Takes the lock of the folder; held until Release or the end of the process.
Result Acquire(const QString& dataFolder);
void Release();

// The lock's name for a path that spells the folder one way only.
QString LockName(const QString& folderKey);
// The folder's path as every spelling of it resolves; a folder not made yet
// is named by its clean absolute path.
QString FolderKey(const QString& dataFolder);

} // namespace SingleInstance
