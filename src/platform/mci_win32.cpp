#include "platform/mci_win32.h"

// windows.h must come before mmsystem.h.
#include <windows.h>

#include <mmsystem.h>

namespace mci_win32 {

void Send(const QString& command) {
    // The wide form takes any path, whatever the system's ANSI code page.
    mciSendStringW(reinterpret_cast<const wchar_t*>(command.utf16()), nullptr, 0, nullptr);
}

} // namespace mci_win32
