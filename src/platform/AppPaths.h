#pragma once
#include <QString>

namespace AppPaths {

// The folder of the running executable; tests put a folder of their own here.
QString ExecutableFolder();
void SetExecutableFolder(const QString& folder);

// The user's own data folder (~/.local/share/velsokura on Linux); tests put a
// folder of their own here.
QString UserDataFolder();
void SetUserDataFolder(const QString& folder);

// The folder of every data file: beside the executable for a portable copy,
// the user's data folder for an installed copy or one the user cannot write to.
// An installed copy is one that finds its defaults where an installer puts
// them: in defaults beside the executable (the Windows installer), or in
// share/velsokura beside bin (the Debian package).
QString DataFolder();

// On the first start in the user's data folder, puts the installed defaults
// there. Never writes over a file.
void CopyDefaultsOnFirstStart();

} // namespace AppPaths
