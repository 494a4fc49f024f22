#pragma once
// The desktop session's end, where no X session manager tells of it: GNOME's
// session manager over D-Bus (a Wayland session has no X11 one for us).

#include <functional>

class QObject;

#ifdef _WIN32
// Windows ends a session with window messages, which Qt reports itself.
inline void JoinDesktopSession(QObject*, std::function<void()>) {}
#else
// Registers with the session manager, if there is one and no X session
// manager already has us; its end of the session calls onEnd, from context's
// event loop, before the manager is told that we are ready.
void JoinDesktopSession(QObject* context, std::function<void()> onEnd);
#endif
