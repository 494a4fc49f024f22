#pragma once
#include <QString>

namespace AppPaths {

// The folder of the running executable; tests put a folder of their own here.
QString ExecutableFolder();
void SetExecutableFolder(const QString& folder);

// True when no other instance runs from the same executable folder; holds the
// lock until ReleaseSingleInstance or the end of the process.
bool AcquireSingleInstance();
void ReleaseSingleInstance();

} // namespace AppPaths
