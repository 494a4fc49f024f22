#include "dialogs/frm3Message.h"

#include "app/MainLock.h"
#include "core/Controls.h"
#include "core/mdlMain.h"
#include "dialogs/BoxLayout.h"

#include "dialogs/MessageText.h"
#include <QPushButton>

using namespace mdlMain;

frm3Message::frm3Message() : VbForm(QStringLiteral("frm3Message"), Qt::WindowStaysOnTopHint) {
    BoxLayout::SetUp(this, 6384, 1476);
    lblMM = BoxLayout::MessageLabel(this, 240, 240, 5775, 495);
    Command1 = GreyButton(this, QStringLiteral("はい(&X)"), 840, 840, 1455, 495);
    Command2 = GreyButton(this, QStringLiteral("いいえ(&Y)"), 2400, 840, 1455, 495);
    Command3 = GreyButton(this, QStringLiteral("キャンセル(&Z)"), 3960, 840, 1455, 495);
    connect(Command1, &QPushButton::clicked, this, [this] {
        AnswerCode = 1;
        Unload();
    });
    connect(Command2, &QPushButton::clicked, this, [this] { Unload(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Unload(); });
    AnswerCode = 0;
    DisableMainControls();
}

void frm3Message::Form_QueryUnload(int& /*Cancel*/, int /*UnloadMode*/) {
    if (AnswerCode != 1) AnswerCode = 2;
    BoxLayout::GiveMainBack();
}
