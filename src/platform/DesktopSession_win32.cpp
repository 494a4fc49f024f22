#include "platform/DesktopSession.h"

// Windows ends a session with window messages, which Qt reports itself as the
// application about to quit (see QuitSignals_win32.cpp).
void JoinDesktopSession(QObject*, std::function<void()>) {}
