#include "dialogs/BoxLayout.h"

#include "app/MainLock.h"
#include "core/Colors.h"
#include "core/Twips.h"
#include "core/VbForm.h"
#include "dialogs/MessageText.h"
#include "dialogs/MessageWaits.h"
#include "platform/Fonts.h"

#include <QPushButton>

namespace BoxLayout {

void SetUp(VbForm* box, double clientWidth, double clientHeight) {
    box->setFont(QFont(Fonts::Gothic, 9));
    Colors::SetBackColor(box, Colors::White);
    box->SetClientSizeTw(clientWidth, clientHeight);
}

MessageText* MessageLabel(VbForm* box, double left, double top, double width, double height) {
    auto* label = new MessageText(box);
    label->setTextFormat(Qt::PlainText);
    Twips::Place(label, left, top, width, height);
    return label;
}

void ShowText(VbForm* box, MessageText* label, const QString& text) {
    label->setText(text);
    // A text of more lines than designed pushes the buttons and the window's
    // bottom down; a shorter one brings them back.
    const int change = label->FitHeight(Twips::ToPxY(Twips::Height(label)));
    if (change == 0) return;
    const auto buttons = box->findChildren<QPushButton*>();
    for (QPushButton* b : buttons)
        b->move(b->x(), b->y() + change);
    box->setFixedHeight(box->height() + change);
    box->CentreOnScreen();
}

void GiveMainBack() {
    EnableMainControls();
    RestoreMainButtons(RestoreCaller::MessageBox);
}

} // namespace BoxLayout
