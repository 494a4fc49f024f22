#pragma once
// AppData.txt: one line "SoundOn,SoundIndex,SaveHistoryAtExit,SoundFilePath".

struct ReadResult;

// Reads the options.
ReadResult ReadSettings();
// False when the file could not be written.
bool WriteSettingsFile();
