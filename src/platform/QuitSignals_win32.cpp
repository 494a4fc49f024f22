#include "platform/QuitSignals.h"

// Windows ends a session with window messages, which Qt reports itself.
void CatchQuitSignals(QObject*, std::function<void()>) {}
