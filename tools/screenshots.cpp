// Pictures of every window with sample data, for the documentation.
// Run: scripts/screenshots (writes docs/*.png, at 100 % and at 150 % scale)

#include "../tests/TestSupport.h"
#include "advert/frmOshirase.h"
#include "alarm/FireAlarm.h"
#include "app/frmMain.h"
#include "core/Twips.h"
#include "core/mdlMain.h"
#include "dialogs/BoxLayout.h"
#include "dialogs/MessageText.h"
#include "dialogs/VbLabel.h"
#include "dialogs/frm2Message.h"
#include "dialogs/frm3Message.h"
#include "dialogs/frmMessage.h"
#include "dialogs/frmStatus.h"
#include "history/frmRireki.h"
#include "options/frmOption.h"
#include "platform/Clock.h"
#include "platform/Fonts.h"
#include "store/FlexGrid.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cstdio>

using namespace mdlMain;

namespace {

QString g_out;
QString g_suffix;

void Save(QWidget* w, const char* name) {
    QApplication::processEvents();
    const QString path =
        g_out + QLatin1Char('/') + QLatin1String(name) + g_suffix + QStringLiteral(".png");
    w->grab().save(path);
    std::printf("%s\n", qPrintable(path));
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    g_out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    g_suffix = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    AppFixture fixture(QDateTime(QDate(2026, 12, 7), QTime(9, 29, 55)));
    Fonts::RegisterSubstitutes();
    frmMain* main = StartProgram(fixture, {{"2026/12/07/09:30", " 歯医者の予約 & 薬を受け取る"},
                                           {"2026/12/08/14:00", " 企画会議（第3会議室）"},
                                           {"2026/12/10/18:30", " 忘年会の店を予約する"},
                                           {"2026/12/24/19:00", " クリスマスの食事"},
                                           {"2027/01/01/00:00", " 新年のあいさつ"}});
    main->Text1->setText("10");
    main->Text2->setText("15");
    main->Text3->setText("ゴミ出し");
    Save(main, "main-window");

    frmMessage* alarm = FormSlot<frmMessage>::Get();
    alarm->SetLabel2Text("本日のお知らせがあります。");
    alarm->FitWidth(Twips::Width(alarm->Label2) + 1500, Twips::Width(alarm->Command1) / 2);
    alarm->show();
    Save(alarm, "startup-notice");
    alarm->hide();

    frm2Message* notice = FormSlot<frm2Message>::Load();
    notice->show();
    BoxLayout::ShowText(notice, notice->lblM, "２分以上未来の予定を入力して下さい。");
    Save(notice, "box-notice");
    BoxLayout::ShowText(notice, notice->lblM,
                        "2026/12/08/14:00の時間が重複しています、テキストファイルを操作した場合は"
                        "日付時間の重複行を削除するか変更しておいて下さい。");
    Save(notice, "box-notice-long");
    notice->Unload();
    frm3Message* question = FormSlot<frm3Message>::Load();
    question->show();
    BoxLayout::ShowText(question, question->lblMM, "選択した行を削除しますがよろしいですか？");
    Save(question, "box-question");
    BoxLayout::ShowText(question, question->lblMM,
                        "すべてをリセットします、データは初期状態になりますがよろしいですか？");
    Save(question, "box-question-long");
    question->Unload();

    frmStatus* status = FormSlot<frmStatus>::Load();
    status->show();
    Save(status, "status-window");
    status->Unload();

    Clock::Set(QDateTime(QDate(2026, 12, 7), QTime(9, 30, 0)));
    main->Timer1_Timer();
    Save(FormSlot<frmMessage>::Get(), "alarm-window");
    FormSlot<frmMessage>::Get()->Command1->click();

    // A hand-edited schedule far longer than the screen is wide.
    FillGrid(main->MSFlexGrid1,
             {{"2026/12/07/09:31", " " + QString("長い予定のテキスト").repeated(12)}});
    Clock::Set(QDateTime(QDate(2026, 12, 7), QTime(9, 31, 0)));
    main->Timer1_Timer();
    Save(FormSlot<frmMessage>::Get(), "alarm-window-long");
    FormSlot<frmMessage>::Get()->Command1->click();

    HistoryText = "2026/12/07/09:30/ 歯医者の予約 & 薬を受け取る\r\n2026/12/06/21:00/ 読書会\r\n"
                  "2026/12/05/08:15/ 燃えるゴミの日";
    main->Command6->setEnabled(true);
    main->Command6->click();
    Save(FormSlot<frmRireki>::Get(), "history-window");
    FormSlot<frmRireki>::Unload();

    SoundIndex = 4;
    SoundFilePath =
        "C:\\Users\\user\\Music\\" + QString("お気に入りのフォルダ\\").repeated(6) + "チャイム.mp3";
    main->Command8->click();
    Save(FormSlot<frmOption>::Get(), "options-window");
    FormSlot<frmOption>::Unload();

    frmOshirase* ad = FormSlot<frmOshirase>::Load();
    ad->show();
    Save(ad, "advert-window");
    return 0;
}
