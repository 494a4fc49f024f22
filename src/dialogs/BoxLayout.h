#pragma once
// What the two message boxes share: a white top-most window, its centred
// text, and the decision whether closing it may unlock the main window.

#include <QString>

class QLabel;
class VbForm;

namespace BoxLayout {

void SetUp(VbForm* box, double clientWidth, double clientHeight);
QLabel* MessageLabel(VbForm* box, double left, double top, double width, double height);
// Unlocks the main window unless the named dialogs or the alarm window are up,
// then recomputes its buttons.
void GiveMainBack(const QString& otherBox);

} // namespace BoxLayout
