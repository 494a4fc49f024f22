#pragma once
// AppData.txt: one line "SoundOn,SoundIndex,SaveHistoryAtExit,SoundFilePath".

// Reads the options; false when the program is ending instead.
bool LoadSettings();
// False when the file could not be written.
bool WriteSettingsFile();
