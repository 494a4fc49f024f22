#include "platform/mci_win32.h"

#include <mmsystem.h>
#include <windows.h>

namespace mci_win32 {

void Send(const char* command) {
    mciSendStringA(command, nullptr, 0, nullptr);
}

} // namespace mci_win32
