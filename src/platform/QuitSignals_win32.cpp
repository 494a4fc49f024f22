#include "platform/QuitSignals.h"

#include <QObject>
#include <QWindow>

// Windows tells the top-level windows of a program that the session ends
// (WM_QUERYENDSESSION, WM_ENDSESSION), and Qt reports it as the application
// about to quit. A program that has only ever been an icon in the
// notification area has no such window: Windows would end it unheard. A
// window that is never shown keeps one there for as long as context lives.
void CatchQuitSignals(QObject* context, std::function<void()>) {
    auto* listener = new QWindow();
    listener->create();
    QObject::connect(context, &QObject::destroyed, [listener] { delete listener; });
}
