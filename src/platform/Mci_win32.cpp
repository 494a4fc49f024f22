#include "platform/Mci.h"

// windows.h must come before mmsystem.h.
#include <windows.h>

#include <mmsystem.h>

bool Mci::SendToSystem(const QString& command) {
    // The wide form takes any path, whatever the system's ANSI code page.
    const bool sent =
        mciSendStringW(reinterpret_cast<const wchar_t*>(command.utf16()), nullptr, 0, nullptr) == 0;
    // winmm refuses a play whose file it could not open or cannot decode.
    if (!sent && command.startsWith(u"play "))
        Mci::ReportUnplayable(command.section(QLatin1Char(' '), 1, 1));
    return true;
}
