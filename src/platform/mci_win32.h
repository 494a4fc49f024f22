#pragma once
#include <QString>

// The Windows multimedia string interface.
namespace mci_win32 {

// Sends one command; false when it failed.
bool Send(const QString& command);

} // namespace mci_win32
