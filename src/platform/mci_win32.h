#pragma once
// The Windows multimedia string interface; no Qt here, so that a cross
// compiler can check this pair alone.

namespace mci_win32 {

// Sends one command (in the ANSI code page); the result is not examined.
void Send(const char* command);

} // namespace mci_win32
