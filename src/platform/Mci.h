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

// The system's own player (Mci_win32.cpp, Mci_posix.cpp); false when a play
// finds that no sound can play.
bool SendToSystem(const QString& command);

} // namespace Mci
