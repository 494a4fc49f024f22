#include "platform/mci_win32.h"

// windows.h must come before mmsystem.h.
#include <windows.h>

#include <mmsystem.h>

namespace mci_win32 {

void Send(const char* command) {
    mciSendStringA(command, nullptr, 0, nullptr);
}

} // namespace mci_win32
