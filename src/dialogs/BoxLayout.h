#pragma once
// What the two message boxes share: a white top-most window, its centred
// text, and giving the main window back when one closes.

#include <QString>

class MessageText;
class VbForm;

namespace BoxLayout {

void SetUp(VbForm* box, double clientWidth, double clientHeight);
MessageText* MessageLabel(VbForm* box, double left, double top, double width, double height);
// Puts the message into the box, which grows or shrinks to hold every line.
void ShowText(VbForm* box, MessageText* label, const QString& text);
// Unlocks the main window unless another dialog holds it, then recomputes its
// buttons.
void GiveMainBack();

} // namespace BoxLayout
