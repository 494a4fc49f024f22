#include "platform/Mci.h"

namespace Mci {

namespace {

bool g_soundImpossible = false;

void SendAndNote(const QString& command) {
    if (!SendToSystem(command)) SetSoundImpossible(true);
}

Backend& CurrentBackend() {
    static Backend backend = SendAndNote;
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
