#pragma once
#include <QString>
#include <functional>

// The multimedia string channel: "open "PATH" alias SoundN", "play SoundN from 0",
// "stop SoundN", "close SoundN". Failures are silent.
namespace Mci {

void Send(const QString& command);

// Replaces where commands go (tests record them); returns the previous one.
using Backend = std::function<void(const QString&)>;
Backend SetBackend(Backend backend);

// Whether a play has found that no sound can play here at all (no sound
// module, no audio output). Where the commands go says so.
bool SoundImpossible();
void SetSoundImpossible(bool impossible);

// A play of an alias found that its sound cannot play (a file the player
// cannot read, a device that refuses it). Reported during the play's Send or
// later, from the event loop; goes to the one handler set.
using UnplayableHandler = std::function<void(const QString& alias)>;
void SetUnplayableHandler(UnplayableHandler handler);
void ReportUnplayable(const QString& alias);

// The system's own player (Mci_win32.cpp, Mci_posix.cpp); false when a play
// finds that no sound can play at all. A play of one sound that cannot play
// is reported to ReportUnplayable.
bool SendToSystem(const QString& command);

} // namespace Mci
