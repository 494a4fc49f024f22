#include "platform/Mci.h"

namespace Mci {

namespace {

bool g_soundImpossible = false;

UnplayableHandler& CurrentUnplayableHandler() {
    static UnplayableHandler handler;
    return handler;
}

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

void SetUnplayableHandler(UnplayableHandler handler) {
    CurrentUnplayableHandler() = std::move(handler);
}

void ReportUnplayable(const QString& alias) {
    if (CurrentUnplayableHandler()) CurrentUnplayableHandler()(alias);
}

} // namespace Mci
