#include "platform/Mci.h"

#ifdef _WIN32
#include "platform/mci_win32.h"
#else
#include "platform/MciModule.h"
#endif

namespace Mci {

namespace {

bool g_soundImpossible = false;

void SendToSystem(const QString& command) {
#ifdef _WIN32
    // Sounds whose file is gone never get here: a play that fails has no way out.
    const bool playable = mci_win32::Send(command) || !command.startsWith(u"play ");
#else
    const bool playable = MciModule::Send(command);
#endif
    if (!playable) SetSoundImpossible(true);
}

Backend& CurrentBackend() {
    static Backend backend = SendToSystem;
    return backend;
}

} // namespace

void Send(const QString& command) {
    CurrentBackend()(command);
}

Backend SetBackend(Backend backend) {
    Backend previous = std::move(CurrentBackend());
    CurrentBackend() = std::move(backend);
    return previous;
}

bool SoundImpossible() {
    return g_soundImpossible;
}

void SetSoundImpossible(bool impossible) {
    g_soundImpossible = impossible;
}

} // namespace Mci
