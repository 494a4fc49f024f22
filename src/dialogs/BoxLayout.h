#pragma once
// What the two message boxes share: a white top-most window, its centred
// text, and giving the main window back when one closes.

class QLabel;
class VbForm;

namespace BoxLayout {

void SetUp(VbForm* box, double clientWidth, double clientHeight);
QLabel* MessageLabel(VbForm* box, double left, double top, double width, double height);
// Unlocks the main window unless another dialog holds it, then recomputes its
// buttons.
void GiveMainBack();

} // namespace BoxLayout
