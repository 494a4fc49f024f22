#pragma once
#include <QString>

namespace AppPaths {

// The folder of the running executable; tests put a folder of their own here.
QString ExecutableFolder();
void SetExecutableFolder(const QString& folder);

// Whether this is the one instance running from the executable folder; when
// Acquired, holds the lock until ReleaseSingleInstance or the end of the process.
enum class Instance { Acquired, AlreadyRunning, LockUnavailable };
Instance AcquireSingleInstance();
void ReleaseSingleInstance();
// Where the lock lives, for telling the user.
QString LockFolder();

} // namespace AppPaths
