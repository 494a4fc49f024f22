#include "app/frmMain.h"

#include "core/Colors.h"
#include "core/Controls.h"
#include "core/Resources.h"
#include "core/Twips.h"
#include "core/mdlMain.h"
#include "editing/RowButtons.h"
#include "platform/Fonts.h"
#include "platform/WallClockWatch.h"
#include "store/FlexGrid.h"

#include <QApplication>
#include <QDateEdit>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>

namespace {

QLineEdit* MakeTextBox(QWidget* parent, const QColor& back, int maxLength) {
    auto* box = new QLineEdit(parent);
    box->setFont(QFont(Fonts::PGothic, 9));
    box->setMaxLength(maxLength);
    box->setFrame(true);
    box->setTextMargins(0, 0, 0, 0);
    Colors::SetBackColor(box, back);
    return box;
}

QLabel* MakeLabel(QWidget* parent, const QString& caption) {
    auto* label = new QLabel(caption, parent);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QPushButton* MakeButton(QWidget* parent, const QString& caption, const QString& tip, double left,
                        double top, double width, double height) {
    QPushButton* button = GreyButton(parent, caption, left, top, width, height);
    button->setToolTip(tip);
    return button;
}

} // namespace

frmMain::frmMain() : VbForm(QStringLiteral("frmMain"), Qt::WindowMinimizeButtonHint) {
    mdlMain::SetMain(this);
    InitResources();
    BuildLayout();
}

frmMain::~frmMain() {
    if (mdlMain::Main() == this) mdlMain::SetMain(nullptr);
}

void frmMain::BuildLayout() {
    using Twips::Place;
    setFont(QFont(Fonts::Gothic, 9));
    SetClientSizeTw(10680, 6384);

    MSFlexGrid1 = new FlexGrid(this);
    Place(MSFlexGrid1, 120, 120, 10440, 5015);
    Frame1 = new QFrame(this);
    Frame1->setFrameShape(QFrame::NoFrame);
    Frame1->setAutoFillBackground(true);
    Place(Frame1, 120, 575, 9720, 4565);

    DTPicker1 = new QDateEdit(this);
    DTPicker1->setCalendarPopup(true);
    DTPicker1->setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    // The weekday must fit the picker's narrow slot: a smaller font, a slim arrow.
    DTPicker1->setDisplayFormat(QStringLiteral("yyyy/MM/dd(ddd)"));
    DTPicker1->setFont(QFont(Fonts::Gothic, 8));
    DTPicker1->setStyleSheet(
        QStringLiteral("QDateEdit { padding: 0px; border: 1px solid #8c8c8c; background: white; }"
                       "QDateEdit:disabled { color: #a0a0a0; background: #f0f0f0; }"
                       "QDateEdit::drop-down { width: 10px; border: none; }"
                       "QDateEdit::down-arrow { image: url(:/arrow.png); }"));
    Place(DTPicker1, 120, 5280, 1335, 255);

    Text1 = MakeTextBox(this, Colors::LightGreen, 2);
    Place(Text1, 1440, 5280, 300, 270);
    Label1 = MakeLabel(this, QStringLiteral("："));
    Place(Label1, 1725, 5325, 255, 255);
    Text2 = MakeTextBox(this, Colors::LightGreen, 2);
    Place(Text2, 1860, 5280, 300, 270);
    Label2 = MakeLabel(this, QStringLiteral("予定"));
    Place(Label2, 2268, 5328, 480, 252);
    Text3 = MakeTextBox(this, Colors::LightGreen, 43);
    Place(Text3, 2760, 5280, 7800, 270);

    Text4 = MakeTextBox(this, Colors::LightYellow, 2);
    Place(Text4, 120, 5640, 300, 270);
    Label3 = MakeLabel(this, QStringLiteral("日と"));
    Place(Label3, 468, 5688, 492, 252);
    Text5 = MakeTextBox(this, Colors::LightYellow, 2);
    Place(Text5, 840, 5640, 300, 270);
    Label4 = MakeLabel(this, QStringLiteral("時間"));
    Place(Label4, 1176, 5688, 492, 252);
    Text6 = MakeTextBox(this, Colors::LightYellow, 2);
    Place(Text6, 1560, 5640, 300, 270);
    Label5 = MakeLabel(this, QStringLiteral("分後"));
    Place(Label5, 1872, 5688, 492, 252);

    Command5 =
        MakeButton(this, QStringLiteral("残り時間から変換(&A)"),
                   QStringLiteral("残り時間を予定の日付時刻に変換します"), 120, 5955, 2055, 300);
    Command8 = MakeButton(this, QStringLiteral("オプション(&B)"), QString(), 2400, 5640, 1575, 615);
    Command7 = MakeButton(this, QStringLiteral("選択解除(&C)"),
                          QStringLiteral("行の選択を解除します"), 3960, 5640, 1215, 615);
    Command1 =
        MakeButton(this, QStringLiteral("追加(&D)"),
                   QStringLiteral("入力した予定をグリッドに追加します"), 5160, 5640, 1095, 615);
    Command6 =
        MakeButton(this, QStringLiteral("履歴(&E)"),
                   QStringLiteral("流れてしまった予定の履歴を確認できます"), 6240, 5640, 1095, 615);
    Command2 = MakeButton(this, QStringLiteral("削除(&F)"),
                          QStringLiteral("選択した行を削除します"), 7320, 5640, 1095, 615);
    Command4 = MakeButton(this, QStringLiteral("リセット(&G)"),
                          QStringLiteral("データをすべてリセットして初期状態にします"), 8400, 5640,
                          1215, 615);
    Command3 = MakeButton(this, QStringLiteral("終了(&H)"),
                          QStringLiteral("アプリケーションを終了します"), 9600, 5640, 990, 615);

    for (QPushButton* b : {Command1, Command2, Command4, Command5, Command7})
        b->setEnabled(false);

    QWidget* order[] = {Text1,    Text2,    Text3,    Text4,    Text5,    Text6,    Command5,
                        Command8, Command7, Command1, Command6, Command2, Command4, Command3};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
    DTPicker1->setFocusPolicy(Qt::ClickFocus);

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    Timer1->start();
    Timer2 = new QTimer(this);
    Timer2->setInterval(1000);
    WallClock = new WallClockWatch(this);

    ConnectHandlers();
    ScrollWhereTooSmall();
}

void frmMain::ScrollWhereTooSmall() {
    const QSize designed = size();
    const QSize room(MaxClientWidth(), MaxClientHeight());
    if (room.isEmpty() || (designed.width() <= room.width() && designed.height() <= room.height()))
        return;
    auto* surface = new QWidget;
    const auto controls = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* w : controls) {
        const QRect place = w->geometry();
        w->setParent(surface);
        w->setGeometry(place);
    }
    surface->setFixedSize(designed);
    auto* scroller = new QScrollArea(this);
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->viewport()->setAutoFillBackground(false);
    scroller->setWidget(surface);
    setFixedSize(designed.boundedTo(room));
    scroller->setGeometry(rect());
}

void frmMain::SetPickerDate(const QString& date) {
    DTPicker1->setDate(QDate::fromString(date, QStringLiteral("yyyy/MM/dd")));
}

QString frmMain::PickerDate() const {
    return DTPicker1->date().toString(QStringLiteral("yyyy/MM/dd"));
}

void frmMain::ConnectHandlers() {
    connect(Text1, &QLineEdit::textChanged, this, &frmMain::Text1_Change);
    connect(Text2, &QLineEdit::textChanged, this, &frmMain::Text2_Change);
    connect(Text3, &QLineEdit::textChanged, this, &frmMain::Text3_Change);
    connect(Text4, &QLineEdit::textChanged, this, &frmMain::Text4_Change);
    connect(Text5, &QLineEdit::textChanged, this, &frmMain::Text5_Change);
    connect(Text6, &QLineEdit::textChanged, this, &frmMain::Text6_Change);
    connect(Command1, &QPushButton::clicked, this, &frmMain::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmMain::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmMain::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &frmMain::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &frmMain::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &frmMain::Command6_Click);
    connect(Command7, &QPushButton::clicked, this, [] { ClearSelection(); });
    connect(Command8, &QPushButton::clicked, this, &frmMain::Command8_Click);
    connect(MSFlexGrid1, &FlexGrid::MouseUp, this, &frmMain::MSFlexGrid1_MouseUp);
    Frame1->installEventFilter(this);
    Command7->installEventFilter(this);
    MSFlexGrid1->installEventFilter(this);
    connect(Timer1, &QTimer::timeout, this, &frmMain::Timer1_Timer);
    connect(Timer2, &QTimer::timeout, this, &frmMain::Timer2_Timer);
    connect(WallClock, &WallClockWatch::MayHaveMoved, this, &frmMain::WallClock_MayHaveMoved);
    // The session's end: an X session manager sends the application a quit
    // event; Windows reports it as the application about to quit. A mere
    // state save (commitDataRequest) does not end the program.
    qApp->installEventFilter(this);
    connect(qApp, &QCoreApplication::aboutToQuit, this, &frmMain::EndSession);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == qApp && event->type() == QEvent::Quit) {
        EndSession();
        return true;
    }
    if (watched == Frame1 && event->type() == QEvent::MouseButtonRelease) Frame1_MouseUp();
    if ((watched == Command7 || watched == MSFlexGrid1) && event->type() == QEvent::EnabledChange)
        QMetaObject::invokeMethod(this, &frmMain::ShowRowSelection, Qt::QueuedConnection);
    return VbForm::eventFilter(watched, event);
}

QList<QWidget*> frmMain::EntryFields() const {
    return {DTPicker1, Text1, Text2, Text3, Text4, Text5, Text6};
}
