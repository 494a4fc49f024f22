#pragma once
#include <QString>

// One program per data folder, however the folder is reached (another
// temporary folder, a link, another spelling, a mount of it elsewhere; on
// Windows also another letter case or the short name): a lock on a file in
// the folder itself, which the system frees when the process ends, however
// it ends, and which no other user can take first.
namespace SingleInstance {

enum class Result { Acquired, AlreadyRunning, Unavailable };

// Takes the lock of a folder that exists; held until Release or the end of
// the process.
Result Acquire(const QString& dataFolder);
// Frees the lock, and its file goes with it.
void Release();

// The file the lock is held on, present while a program holds it.
QString LockFile(const QString& dataFolder);

} // namespace SingleInstance
