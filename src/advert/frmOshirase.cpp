#include "advert/frmOshirase.h"

#include "advert/AdvertPage.h"
#include "app/frmMain.h"
#include "core/Colors.h"
#include "core/Controls.h"
#include "core/Resources.h"
#include "core/Twips.h"
#include "core/mdlMain.h"
#include "platform/Fonts.h"

#include <QDesktopServices>
#include <QEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>

using namespace mdlMain;

namespace {

frmOshirase::PageOpener& Opener() {
    static frmOshirase::PageOpener opener = [](const QUrl& url) {
        return QDesktopServices::openUrl(url);
    };
    return opener;
}

QLabel* Text(QWidget* parent, const QString& text, double l, double t, double w, double h) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Twips::Place(label, l, t, w, h);
    return label;
}

} // namespace

frmOshirase::PageOpener frmOshirase::SetPageOpener(PageOpener opener) {
    PageOpener previous = std::move(Opener());
    Opener() = std::move(opener);
    return previous;
}

frmOshirase::frmOshirase() : VbForm(QStringLiteral("frmOshirase")) {
    InitResources();
    setWindowTitle(QStringLiteral("広告"));
    setFont(QFont(Fonts::Gothic, 9));
    SetClientSizeTw(9492, 5004);
    setMouseTracking(true);

    Label1 = Text(this,
                  QStringLiteral("このソフトウェアはフリーでお使い頂けますが、お気が向きましたら"
                                 "下記の作者ホームページも訪れて頂けるとありがたいです。"),
                  120, 240, 9135, 615);
    Frame1 = new QGroupBox(QStringLiteral("ホームページ"), this);
    Twips::Place(Frame1, 240, 960, 9015, 2895);
    Image1 = new QLabel(Frame1);
    Image1->setPixmap(QPixmap(QStringLiteral(":/advert.png")));
    Image1->setScaledContents(true);
    Image1->setCursor(Qt::PointingHandCursor);
    MoveImage(240, 360);
    Label2 =
        Text(Frame1,
             QStringLiteral("ポイントを貯めるって聞くと大したこと\nないね。って思いますか？\n\n"
                            "それが意外とそうでもないんですよ。\n"
                            "知らない人は驚いちゃうかも知れません。\n\nよかったら見てね。"),
             4200, 360, 4575, 2295);
    Label3 = Text(this, QString(), 480, 3840, 5055, 375);
    Label4 = Text(this,
                  QStringLiteral("※このウインドウは初回起動時にのみ表示されます。"
                                 "次回は表示されないのでヨロシクね！"),
                  240, 4560, 8775, 255);
    Command1 = GreyButton(this, QStringLiteral("閉じる(&A)"), 7800, 3960, 1455, 495);
    connect(Command1, &QPushButton::clicked, this, [this] { Unload(); });

    for (QWidget* w : {static_cast<QWidget*>(Image1), static_cast<QWidget*>(Frame1),
                       static_cast<QWidget*>(Label2), static_cast<QWidget*>(Command1),
                       static_cast<QWidget*>(this)}) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
    if (Main()) Main()->hide();
}

void frmOshirase::MoveImage(double left, double top) {
    Twips::Place(Image1, left, top, 3000, 1800);
}

bool frmOshirase::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseMove || type == QEvent::Enter) {
        if (watched == Image1) {
            MoveImage(190, 410);
            Label3->setText(QStringLiteral("わーいﾟ+｡:.ﾟヽ(=´▽`=)ﾉﾟ.:｡+ﾟ"));
        } else if (watched == Command1) {
            if (ImageClicked == 0) Label3->setText(QStringLiteral("(ｐ＿・ｑ)　見てくれないの？ "));
        } else {
            MoveImage(240, 360);
            Label3->clear();
        }
        // A move the picture or the button ignores would reach the frame or
        // the window behind it and undo the effect.
        if (type == QEvent::MouseMove && (watched == Image1 || watched == Command1)) return true;
    } else if (watched == Image1 && type == QEvent::MouseButtonRelease) {
        Image1_Click();
    }
    return VbForm::eventFilter(watched, event);
}

void frmOshirase::Image1_Click() {
    if (!Opener()(QUrl(QString::fromLatin1(kAdvertPageUrl)))) {
        QMessageBox::warning(this, QStringLiteral("velsokura"),
                             QStringLiteral("Webページを開けませんでした。"));
        return;
    }
    ImageClicked = 1;
    MoveImage(240, 360);
}

void frmOshirase::Form_QueryUnload(int& Cancel, int UnloadMode) {
    if (UnloadMode == vbFormControlMenu) Cancel = 1;
}

// The window stood in for the main window; a main window kept in the
// notification area stays there.
void frmOshirase::Form_Unload() {
    if (Main() && MainHidden != 1) Main()->show();
}
