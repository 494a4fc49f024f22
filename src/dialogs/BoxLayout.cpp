#include "dialogs/BoxLayout.h"

#include "app/MainLock.h"
#include "core/Colors.h"
#include "core/Twips.h"
#include "core/VbForm.h"
#include "dialogs/MessageWaits.h"
#include "platform/Fonts.h"

#include <QLabel>
#include <QPushButton>

namespace BoxLayout {

void SetUp(VbForm* box, double clientWidth, double clientHeight) {
    box->setFont(QFont(Fonts::Gothic, 9));
    Colors::SetBackColor(box, Colors::White);
    box->SetClientSizeTw(clientWidth, clientHeight);
}

QLabel* MessageLabel(VbForm* box, double left, double top, double width, double height) {
    auto* label = new QLabel(box);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    Twips::Place(label, left, top, width, height);
    return label;
}

void GiveMainBack() {
    EnableMainControls();
    RestoreMainButtons(RestoreCaller::MessageBox);
}

} // namespace BoxLayout
