#pragma once
// Termination signals (SIGTERM, SIGHUP, SIGINT) handled on the event loop.

#include <functional>

class QObject;

// From now on each of those signals, instead of ending the process, calls
// onSignal from context's event loop (never from inside the signal handler).
void CatchQuitSignals(QObject* context, std::function<void()> onSignal);
