#include "platform/mci_win32.h"

// windows.h must come before mmsystem.h.
#include <windows.h>

#include <mmsystem.h>

namespace mci_win32 {

bool Send(const QString& command) {
    // The wide form takes any path, whatever the system's ANSI code page.
    return mciSendStringW(reinterpret_cast<const wchar_t*>(command.utf16()), nullptr, 0, nullptr) ==
           0;
}

} // namespace mci_win32
