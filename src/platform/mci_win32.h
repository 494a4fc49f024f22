#pragma once
#include <QString>

// The Windows multimedia string interface.
namespace mci_win32 {

// Sends one command; the result is not examined.
void Send(const QString& command);

} // namespace mci_win32
