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

} // namespace Mci
