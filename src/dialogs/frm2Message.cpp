#include "dialogs/frm2Message.h"

#include "app/MainLock.h"
#include "core/Controls.h"
#include "core/mdlMain.h"
#include "dialogs/BoxLayout.h"

#include "dialogs/MessageText.h"
#include <QPushButton>

using namespace mdlMain;

frm2Message::frm2Message() : VbForm(QStringLiteral("frm2Message"), Qt::WindowStaysOnTopHint) {
    BoxLayout::SetUp(this, 6132, 1704);
    lblM = BoxLayout::MessageLabel(this, 240, 360, 5655, 615);
    cmdMessage = GreyButton(this, QStringLiteral("ＯＫ(&J)"), 2160, 1080, 1815, 495);
    connect(cmdMessage, &QPushButton::clicked, this, [this] { Unload(); });
    NoticeClosed = 0;
    DisableMainControls();
}

void frm2Message::Form_QueryUnload(int& /*Cancel*/, int /*UnloadMode*/) {
    NoticeClosed = 1;
    BoxLayout::GiveMainBack();
}
