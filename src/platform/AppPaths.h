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

// Where a new data folder takes its defaults from, and the built-in sounds
// come from when the data folder has none: an installed copy's defaults,
// else the program's own folder.
QString DefaultsFolder();
// A file of the program: from the data folder when it is there, else from
// the defaults folder.
QString ProgramFile(const QString& name);

// Makes the user's data folder, when that is the data folder, together with
// its defaults, and fills one an earlier start left empty; never writes over a
// file. A copy the user cannot write to gives its own data too: schedules,
// settings, history and exports. Empty when the folder is ready, else what
// the user is told: which folder and why not. moved: set, on the start that
// took a copy's data into the user's folder, to what the user is told once.
QString PrepareDataFolder(QString& moved);

} // namespace AppPaths
