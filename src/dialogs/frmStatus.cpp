#include "dialogs/frmStatus.h"

#include "core/Colors.h"
#include "core/Twips.h"
#include "core/mdlMain.h"
#include "platform/Fonts.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

using namespace mdlMain;

frmStatus::frmStatus() : VbForm(QStringLiteral("frmStatus")) {
    // A start at login comes while the user types elsewhere: no key meant for
    // another window may press Cancel.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFont(QFont(Fonts::Gothic, 9));
    Colors::SetBackColor(this, Colors::White);
    SetClientSizeTw(6720, 2028);

    Label1 = new QLabel(QStringLiteral("設定中です、しばらくお待ち下さい。"), this);
    QFont bold(Fonts::PGothic, 12);
    bold.setBold(true);
    Label1->setFont(bold);
    Label1->setAlignment(Qt::AlignCenter);
    Twips::Place(Label1, 120, 480, 6495, 375);

    Command1 = new QPushButton(QStringLiteral("キャンセル(&N)"), this);
    Colors::SetBackColor(Command1, Colors::LightYellow);
    Twips::Place(Command1, (WidthTw() - 2415) / 2, 960, 2415, 615);
    connect(Command1, &QPushButton::clicked, this, [] { StatusCancelled = 1; });
}

void frmStatus::Form_QueryUnload(int& Cancel, int UnloadMode) {
    if (UnloadMode == vbFormControlMenu) Cancel = 1;
}

void frmStatus::paintEvent(QPaintEvent* /*event*/) {
    // Green bands at the top and bottom, strong at the edge and pale inwards.
    struct Bar {
        double top;
        QColor color;
    };
    static const Bar bars[] = {{0, QColor(0, 255, 0)},        {120, QColor(128, 255, 128)},
                               {240, QColor(192, 255, 192)},  {1680, QColor(192, 255, 192)},
                               {1800, QColor(128, 255, 128)}, {1920, QColor(0, 255, 0)}};
    QPainter painter(this);
    for (const Bar& bar : bars)
        painter.fillRect(0, Twips::ToPxY(bar.top), Twips::ToPxX(6735), Twips::ToPxY(135),
                         bar.color);
}
