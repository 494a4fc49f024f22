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
#include "history/frmRireki.h"
#include "platform/Fonts.h"
#include "platform/WindowAttention.h"

#include <QLabel>
#include <QPushButton>
#include <algorithm>

using namespace mdlMain;

frmMessage::frmMessage() : VbForm(QStringLiteral("frmMessage"), Qt::WindowStaysOnTopHint) {
    // It comes up while the user may be typing elsewhere: kept above, it
    // takes no keystroke meant for another window, and a click answers it.
    setAttribute(Qt::WA_ShowWithoutActivating);
    HoldStrayKeys(this);
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

    Command1 = GreyButton(this, QStringLiteral("OK(&I)"), 240, 1200, 1455, 615);
    connect(Command1, &QPushButton::clicked, this, &frmMessage::Command1_Click);
    SetLabel2Text(QString());
}

void frmMessage::SetLabel2Text(const QString& caption) {
    Label2->SetCaption(caption);
    // A text wider than the screen allows wraps, and the window grows down.
    Label2->setWordWrap(false);
    int width = Label2->sizeHint().width();
    int height = Label2->sizeHint().height();
    const int widest = MaxClientWidth() - Twips::ToPxX(kAlarmMargin);
    if (width > widest) {
        Label2->setWordWrap(true);
        width = widest;
        height = Label2->heightForWidth(widest);
    }
    Twips::Place(Label2, Twips::Left(Label2), Twips::Top(Label2), Twips::FromPxX(width),
                 Twips::FromPxY(height));
    ArrangeRows();
}

void frmMessage::KeepInSight() {
    const auto shown = [](QString caption) {
        return caption.replace(QStringLiteral("&&"), QStringLiteral("&"));
    };
    const QString when = shown(Label1->Caption());
    ::KeepInSight(this, when.isEmpty() ? windowTitle() : when, shown(Label2->Caption()));
}

void frmMessage::ArrangeRows() {
    // The start-up notice has no date: its row is left out, not shown empty.
    const bool dated = !Label1->Caption().isEmpty();
    Label1->setVisible(dated);
    Twips::SetTop(Label2, dated ? 600 : 120);
    const double buttonTop = Twips::Top(Label2) + Twips::Height(Label2) + 345;
    Twips::SetTop(Command1, buttonTop);
    setFixedHeight(Twips::ToPxY(buttonTop + Twips::Height(Command1) + 129));
}

void frmMessage::FitWidth(double width, double buttonHalfWidth) {
    setFixedWidth(std::min(Twips::ToPxX(width), MaxClientWidth()));
    const double shown = WidthTw();
    Twips::SetLeft(Label2, shown / 2 - Twips::Width(Label2) / 2);
    Twips::SetLeft(Command1, shown / 2 - buttonHalfWidth);
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
        if (frmRireki* shown = FormSlot<frmRireki>::Get()) shown->DropNewEntry(HistoryText);
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
