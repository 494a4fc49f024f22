#include "platform/WindowAttention.h"

// Windows keeps a top-most window above the others and shows it without
// taking the keyboard.
void KeepInSight(QWidget*, const QString&, const QString&) {}
void HoldStrayKeys(QWidget*) {}
