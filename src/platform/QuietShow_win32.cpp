#include "platform/QuietShow.h"

#include <QTimer>
#include <QWidget>
#include <windows.h>

// Windows shows the window without activating it, as Qt asks. Wine on an X
// desktop leaves that to the window manager, and Wine 8 does not tell it so:
// the manager focuses the new window, and Wine gives it the keyboard. A window
// that cannot be activated is mapped as one to skip the taskbar, which such
// managers do not focus when it maps; once shown, the window loses the style
// again, and a click activates it as any other. WS_EX_APPWINDOW keeps its
// taskbar button meanwhile (Windows gives none to a window that cannot be
// activated).
void PrepareQuietShow(QWidget* window) {
    const auto hwnd = reinterpret_cast<HWND>(window->winId());
    const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    const LONG_PTR added = (WS_EX_NOACTIVATE | WS_EX_APPWINDOW) & ~style;
    if (added == 0) return;
    SetWindowLongPtrW(hwnd, GWL_EXSTYLE, style | added);
    // After the show: the style's change takes effect with SWP_FRAMECHANGED.
    QTimer::singleShot(0, window, [window, hwnd, added] {
        if (reinterpret_cast<HWND>(window->internalWinId()) != hwnd) return;
        SetWindowLongPtrW(hwnd, GWL_EXSTYLE, GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & ~added);
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    });
}
