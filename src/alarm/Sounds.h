#pragma once
// The five sound channels Sound1..Sound5: four built-in sounds and the user's file.

#include <QString>

// Opens a file under an alias, the path quoted.
void OpenSound(const QString& path, int channel);
// Opens the four built-in sounds beside the executable.
void OpenBuiltInSounds();
// The user's own file plays only while it is there; else the first sound.
void PlayAlarmSound();
// Once per run, the word that no sound can play here; else empty.
QString NoSoundNotice();
// Whether the user's sound file is set but not there.
bool UserSoundMissing();
void StopAllSounds();
// Stops and closes every channel (exit).
void CloseAllSounds();
