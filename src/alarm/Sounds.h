#pragma once
// The five sound channels Sound1..Sound5: four built-in sounds and the user's file.

#include <QString>
#include <functional>

// Opens a file under an alias, the path quoted.
void OpenSound(const QString& path, int channel);
// Opens the four built-in sounds beside the executable.
void OpenBuiltInSounds();
// What a play tells the user, in one line: which sound could not play and
// why, or that none can. Told again when a later finding changes it.
using SoundTold = std::function<void(const QString& line)>;
// Plays the chosen sound. One that cannot play (its file gone, a file the
// player cannot read) gives way to the next that can, in the order Sound1 to
// Sound4; a user's file without a path plays Sound1 untold.
void PlayAlarmSound(SoundTold tell = {});
// Whether the user's sound file is set but not there.
bool UserSoundMissing();
void StopAllSounds();
// Stops and closes every channel (exit).
void CloseAllSounds();
