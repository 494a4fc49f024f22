#pragma once
// A window that comes up by itself (an alarm, a notice) while the user may be
// typing in another program: shown above the others without taking the
// keyboard, and made active, as any window, by the user's click.

class QWidget;

// For a window with Qt::WA_ShowWithoutActivating, from its show event (sent
// before the system shows the window).
void PrepareQuietShow(QWidget* window);
