#include "options/frmOption.h"

#include "alarm/Sounds.h"
#include "app/MainLock.h"
#include "app/frmMain.h"
#include "core/Colors.h"
#include "core/Controls.h"
#include "core/Twips.h"
#include "core/mdlMain.h"
#include "dialogs/MessageWaits.h"
#include "platform/Fonts.h"
#include "platform/Mci.h"
#include "platform/TextFile.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

using namespace mdlMain;

namespace {

frmOption::FileChooser& Chooser() {
    static frmOption::FileChooser chooser = [](QWidget* parent) {
        QFileDialog dialog(parent);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setNameFilters(
            {QStringLiteral("MP3ファイル(*.mp3)"), QStringLiteral("WAVEファイル(*.wav)"),
             QStringLiteral("AIFファイル(*.aif)"), QStringLiteral("AIFFファイル(*.aiff)")});
        // Names match whatever their case, as on Windows.
        dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
    return chooser;
}

// Check boxes and option buttons are as wide as their captions need.
void PlaceChoice(QWidget* w, double left, double top, double width) {
    Twips::Place(w, left, top, width, Twips::FromPxY(w->sizeHint().height()));
    if (w->width() < w->sizeHint().width()) w->resize(w->sizeHint().width(), w->height());
}

// Room between two controls of a row, and around a button's caption.
int Gap() {
    return Twips::ToPxX(105);
}

// The sound choices keep their designed places while their captions fit;
// otherwise they share the row up to `right` evenly.
void SpreadChoices(const std::array<QRadioButton*, 5>& row, int right) {
    bool fits = row.back()->geometry().right() < right;
    for (size_t i = 1; i < row.size(); ++i)
        fits = fits && row[i]->x() >= row[i - 1]->geometry().right() + Gap();
    if (fits) return;
    int widths = 0;
    for (const QRadioButton* r : row)
        widths += r->width();
    const int gap = (right - row.front()->x() - widths) / static_cast<int>(row.size() - 1);
    int x = row.front()->x();
    for (QRadioButton* r : row) {
        r->move(x, r->y());
        x += r->width() + gap;
    }
}

// A button too narrow for its caption grows to the right.
void FitCaption(QPushButton* b) {
    b->resize(std::max(b->width(), b->sizeHint().width() + Gap()), b->height());
}

// A row of buttons, given right to left, keeps its right edge and its gaps.
void FitCaptions(std::initializer_list<QPushButton*> rightToLeft) {
    int right = (*rightToLeft.begin())->geometry().right() + 1;
    for (QPushButton* b : rightToLeft) {
        FitCaption(b);
        b->move(right - b->width(), b->y());
        right = b->x() - Gap();
    }
}

} // namespace

frmOption::FileChooser frmOption::SetFileChooser(FileChooser chooser) {
    FileChooser previous = std::move(Chooser());
    Chooser() = std::move(chooser);
    return previous;
}

frmOption::frmOption() : VbForm(QStringLiteral("frmOption"), Qt::WindowStaysOnTopHint) {
    setWindowTitle(QStringLiteral("オプション"));
    BuildLayout();

    if (Main()) Main()->hide();
    Check1->setChecked(SoundOn == 1);
    Command2->setEnabled(false);
    if (SoundIndex <= 3) {
        Option1[SoundIndex]->setChecked(true);
    } else {
        Option1[4]->setChecked(true);
        Command2->setEnabled(true);
    }
    if (!SoundFilePath.isEmpty()) Text1->setPlainText(SoundFilePath);
    ShowFileNote();
    if (SaveHistoryAtExit == 1) Check2->setChecked(true);
    SoundTestOn = 0;

    connect(Check1, &QCheckBox::clicked, this, [this] {
        StopAllSounds();
        SoundOn = Check1->isChecked() ? 1 : 0;
    });
    connect(Check2, &QCheckBox::clicked, this,
            [this] { SaveHistoryAtExit = Check2->isChecked() ? 1 : 0; });
    // A choice is made where the button itself takes it: a left click let go
    // over it, its access key or the arrow keys. So the option shown and the
    // sound chosen never differ.
    for (int i = 0; i < 5; ++i)
        connect(Option1[i], &QRadioButton::clicked, this, [this, i] { Option1_MouseUp(i); });
    connect(Command2, &QPushButton::clicked, this, &frmOption::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmOption::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &frmOption::Command4_Click);
    connect(Command1, &QPushButton::clicked, this, [this] { Unload(); });
    connect(Text1, &QPlainTextEdit::textChanged, this, [this] {
        if (Text1->toPlainText() != SoundFilePath) Text1->setPlainText(SoundFilePath);
    });
}

void frmOption::BuildLayout() {
    setFont(QFont(Fonts::Gothic, 9));
    Colors::SetBackColor(this, Colors::White);
    SetClientSizeTw(9600, 4584);

    Frame1 = new QGroupBox(QStringLiteral("サウンド"), this);
    Twips::Place(Frame1, 120, 120, 9375, 2655);
    Check1 = new QCheckBox(QStringLiteral("サウンドを鳴らす(&K)"), Frame1);
    PlaceChoice(Check1, 240, 240, 1815);
    const char16_t* captions[] = {u"♪サウンド1(&L)", u"♪サウンド2(&M)", u"♪サウンド3(&N)",
                                  u"♪サウンド4(O)", u"♪ファイルから(P)"};
    const double lefts[] = {600, 2160, 3840, 5520, 7200};
    for (int i = 0; i < 5; ++i) {
        Option1[i] = new QRadioButton(QString::fromUtf16(captions[i]), Frame1);
        PlaceChoice(Option1[i], lefts[i], 600, 1500);
    }
    SpreadChoices(Option1, Frame1->width() - Twips::ToPxX(120));
    Command2 =
        GreyButton(Frame1, QStringLiteral("♪サウンドファイルを開く(&Q)"), 600, 960, 2535, 495);
    Label1 = new QLabel(Frame1);
    Colors::SetBackColor(Label1, Qt::black);
    Twips::Place(Label1, 600, 1560, 135, 975);
    // The whole path shows, wrapped anywhere over the box's lines.
    Text1 = new QPlainTextEdit(Frame1);
    Colors::SetBackColor(Text1, Colors::LightGreen);
    Text1->setWordWrapMode(QTextOption::WrapAnywhere);
    Twips::Place(Text1, 720, 1560, 8535, 975);
    lblSoundNote = new QLabel(Frame1);
    QPalette warning = lblSoundNote->palette();
    warning.setColor(QPalette::WindowText, Qt::red);
    lblSoundNote->setPalette(warning);
    lblSoundNote->setWordWrap(true);

    Frame2 = new QGroupBox(QStringLiteral("履歴の保存"), this);
    Twips::Place(Frame2, 120, 2880, 9375, 855);
    Check2 = new QCheckBox(QStringLiteral("終了時に履歴がある場合は保存する(&R)"), Frame2);
    PlaceChoice(Check2, 240, 360, 3855);

    Command4 = GreyButton(this, QStringLiteral("サウンドストップ(&V)"), 4440, 3840, 1695, 615);
    Command3 = GreyButton(this, QStringLiteral("サウンドプレイ(&U)"), 6240, 3840, 1575, 615);
    Command1 = GreyButton(this, QStringLiteral("閉じる(&T)"), 7920, 3840, 1575, 615);
    FitCaption(Command2);
    // The note sits beside the open-file button, however wide its caption made it.
    const int noteLeft = Command2->geometry().right() + 1 + Gap();
    lblSoundNote->setGeometry(noteLeft, Command2->y(), Text1->geometry().right() + 1 - noteLeft,
                              Command2->height());
    FitCaptions({Command1, Command3, Command4});
}

void frmOption::Option1_MouseUp(int index) {
    StopAllSounds();
    SoundIndex = static_cast<std::uint8_t>(index);
    if (index == 4) Command2->setEnabled(true);
}

void frmOption::Command2_Click() {
    if (CommandBusy == 1) return;
    CommandBusy = 1;
    StopAllSounds();
    setEnabled(false);
    ChooseSoundFile();
    setEnabled(true);
    CommandBusy = 0;
}

void frmOption::ChooseSoundFile() {
    const QString path = Chooser()(this);
    if (path.isEmpty()) return;
    const QFileInfo file(path);
    if (!file.isFile()) {
        ShowNotice(QStringLiteral("サウンドファイルを開けませんでした。"));
    } else if (file.size() == 0) {
        ShowNotice(QStringLiteral("サウンドファイルが見つかりませんでした。"));
    } else if (path.size() > 255) {
        ShowNotice(QStringLiteral("サウンドファイルのパスが長すぎます。"));
    } else if (!TextFile::CanEncode(path)) {
        // The settings file would keep a path that names another file.
        ShowNotice(
            QStringLiteral("このサウンドファイルのパスには保存できない文字が含まれています。"));
    } else {
        SoundFilePath = path;
        Text1->setPlainText(path);
        ShowFileNote();
        if (Quitting == 1 && Main()) Main()->Unload(vbFormCode);
    }
}

void frmOption::ReopenUserSound() {
    Mci::Send(QStringLiteral("stop Sound5"));
    Mci::Send(QStringLiteral("close Sound5"));
    if (!SoundFilePath.isEmpty()) OpenSound(SoundFilePath, 5);
}

void frmOption::ShowFileNote() {
    lblSoundNote->setText(QStringLiteral("このファイルが見つかりません。サウンド1を鳴らします。"));
    lblSoundNote->setVisible(UserSoundMissing());
}

void frmOption::Command3_Click() {
    if (CommandBusy == 1) return;
    CommandBusy = 1;
    if (SoundIndex == 4) ReopenUserSound();
    SoundTestOn = 1;
    PlayAlarmSound([note = QPointer<QLabel>(lblSoundNote)](const QString& line) {
        if (!note) return;
        note->setText(line);
        note->show();
    });
    CommandBusy = 0;
}

void frmOption::Command4_Click() {
    if (CommandBusy == 1) return;
    CommandBusy = 1;
    Command3->setText(QStringLiteral("サウンドプレイ(&S)"));
    StopAllSounds();
    SoundTestOn = 0;
    CommandBusy = 0;
}

void frmOption::Form_QueryUnload(int& /*Cancel*/, int /*UnloadMode*/) {
    // The play test ends with the window, or alarms would ring with sound off.
    StopAllSounds();
    SoundTestOn = 0;
    SettleData();
    ReopenUserSound();
    EnableMainControls();
    RestoreMainButtons(RestoreCaller::OptionsWindow);
}

void frmOption::SettleData() {
    if (!Option1[4]->isChecked() || !Text1->toPlainText().isEmpty()) return;
    ShowNotice(
        QStringLiteral("サウンドファイルのパスが選択されていません、サウンド1に設定します。"));
    SoundIndex = 0;
    // Settled once: the close that follows the exit's settling tells no more.
    Option1[0]->setChecked(true);
}
