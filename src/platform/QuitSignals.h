#pragma once
// Termination signals (SIGTERM, SIGHUP, SIGINT), and on Windows the end of
// the session, handled on the event loop.

#include <functional>

class QObject;

#ifdef _WIN32
// Windows ends a session with window messages, which Qt reports itself as
// the application about to quit; this makes sure a window hears them
// whatever is shown, for as long as context lives.
void CatchQuitSignals(QObject* context, std::function<void()>);
#else
// From now on each of those signals, instead of ending the process, calls
// onSignal from context's event loop (never from inside the signal handler).
void CatchQuitSignals(QObject* context, std::function<void()> onSignal);
#endif
