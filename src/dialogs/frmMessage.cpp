#include "dialogs/frmMessage.h"

#include "alarm/Sounds.h"
#include "app/MainLock.h"
#include "app/frmMain.h"
#include "core/Colors.h"
#include "core/Controls.h"
#include "core/Twips.h"
#include "core/mdlMain.h"
#include "dialogs/MessageWaits.h"
#include "dialogs/VbLabel.h"
#include "editing/RowButtons.h"
#include "platform/Fonts.h"

#include <QLabel>
#include <QPushButton>

using namespace mdlMain;

frmMessage::frmMessage() : VbForm(QStringLiteral("frmMessage"), Qt::WindowStaysOnTopHint) {
    setFont(QFont(Fonts::Gothic, 9));
    Colors::SetBackColor(this, Colors::White);
    SetClientSizeTw(3264, 1944);

    Label1 = new VbLabel(this);
    QFont big(Fonts::Gothic, 14);
    big.setBold(true);
    Label1->setFont(big);
    Label1->setAlignment(Qt::AlignCenter);
    Twips::Place(Label1, 120, 120, 3015, 375);

    Label2 = new VbLabel(this);
    Label2->setTextFormat(Qt::PlainText);
    Twips::Place(Label2, 120, 600, 0, 255);
    SetLabel2Text(QString());

    Command1 = GreyButton(this, QStringLiteral("OK(&I)"), 240, 1200, 1455, 615);
    connect(Command1, &QPushButton::clicked, this, &frmMessage::Command1_Click);
}

void frmMessage::SetLabel2Text(const QString& caption) {
    Label2->SetCaption(caption);
    Label2->adjustSize();
    Twips::Place(Label2, Twips::Left(Label2), Twips::Top(Label2),
                 Twips::FromPxX(Label2->sizeHint().width()), Twips::FromPxY(Label2->height()));
}

void frmMessage::FitToLabel2(double margin, double buttonHalfWidth) {
    const double labelWidth = Twips::Width(Label2);
    SetWidthTw(labelWidth + margin);
    const double width = WidthTw();
    Twips::SetLeft(Label2, width / 2 - labelWidth / 2);
    Twips::SetLeft(Command1, width / 2 - buttonHalfWidth);
}

void frmMessage::Command1_Click() {
    hide();
    MessageWindowUp = 0;
    EnableMainControls();
    StopAllSounds();
    if (AlarmFired == 0 && StartupNoticePending == 1) {
        RestoreMainButtons(RestoreCaller::AlarmWindow);
        StartupNoticePending = 0;
        return;
    }
    if (!HistoryText.contains(QStringLiteral("\r\n")) && Main()) {
        HistoryText.clear();
        Colors::SetBackColor(Main()->Command6, Colors::LightGrey);
        Main()->Command6->setEnabled(false);
    }
    UpdateRowButtons();
    RestoreMainButtons(RestoreCaller::AlarmWindow);
}

void frmMessage::Form_QueryUnload(int& Cancel, int UnloadMode) {
    if (UnloadMode == vbFormControlMenu) Cancel = 1;
    if (Main()) UpdateResetButton(true);
}
