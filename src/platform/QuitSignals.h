#pragma once
// The ways the system asks the program to end, handled on the event loop:
// termination signals (SIGTERM, SIGHUP, SIGINT) on Linux; on Windows the end
// of the session, whose window messages Qt reports itself as the application
// about to quit, heard whatever the program shows.

#include <functional>

class QObject;

// From now on each of those requests, instead of ending the process, calls
// onSignal from context's event loop (never from inside a signal handler),
// for as long as context lives.
void CatchQuitSignals(QObject* context, std::function<void()> onSignal);
