#pragma once
// The desktop session's end, where no X session manager tells of it: GNOME's
// session manager over D-Bus (a Wayland session has no X11 one for us).
// Windows ends a session with window messages, which Qt reports itself.

#include <functional>

class QObject;

// Registers with the session manager, if there is one and no X session
// manager already has us; its end of the session calls onEnd, from context's
// event loop, before the manager is told that we are ready. Where an X
// session manager has us, its order to end comes as the application's quit
// event, delivered once the manager's message has been read, and its going
// away after that order does not end the program.
void JoinDesktopSession(QObject* context, std::function<void()> onEnd);
