#include "platform/Mci.h"

#ifdef _WIN32
#include "platform/mci_win32.h"
#else
#include "platform/MciModule.h"
#endif

namespace Mci {

namespace {

bool g_soundImpossible = false;

UnplayableHandler& CurrentUnplayableHandler() {
    static UnplayableHandler handler;
    return handler;
}

void SendToSystem(const QString& command) {
#ifdef _WIN32
    // winmm refuses a play whose file it could not open or cannot decode.
    if (!mci_win32::Send(command) && command.startsWith(u"play "))
        ReportUnplayable(command.section(QLatin1Char(' '), 1, 1));
#else
    if (!MciModule::Send(command)) SetSoundImpossible(true);
#endif
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

void SetUnplayableHandler(UnplayableHandler handler) {
    CurrentUnplayableHandler() = std::move(handler);
}

void ReportUnplayable(const QString& alias) {
    if (CurrentUnplayableHandler()) CurrentUnplayableHandler()(alias);
}

} // namespace Mci
