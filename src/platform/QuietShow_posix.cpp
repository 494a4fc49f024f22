#include "platform/QuietShow.h"

// Qt maps such a window with _NET_WM_USER_TIME 0, which X window managers take
// for "do not focus"; nothing more is needed.
void PrepareQuietShow(QWidget*) {}
