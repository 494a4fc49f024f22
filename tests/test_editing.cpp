// Editing on the main window, driven through the real fields and buttons:
// cleaning of the fields, Add with every check, Delete, Reset all, the
// remaining-time conversion, the row selection and the mask frame.

#include "TestSupport.h"
#include "app/frmMain.h"
#include "core/Twips.h"
#include "core/mdlMain.h"
#include "dialogs/frmMessage.h"
#include "platform/Clock.h"
#include "store/FlexGrid.h"

#include <QClipboard>
#include <QDateEdit>
#include <QFrame>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace mdlMain;

namespace {

const QString Tomorrow0930 = QStringLiteral("2026/12/08/09:30");
const QString Tomorrow1000 = QStringLiteral("2026/12/08/10:00");

void Click(QPushButton* b) {
    QTest::mouseClick(b, Qt::LeftButton);
}

void EnterSchedule(frmMain* m, int pickerDay, const QString& hour, const QString& minute,
                   const QString& text) {
    m->DTPicker1->setDate(QDate(2026, 12, pickerDay));
    m->Text1->clear();
    m->Text2->clear();
    m->Text3->clear();
    TypeText(m->Text1, hour);
    TypeText(m->Text2, minute);
    TypeText(m->Text3, text);
}

} // namespace

class TestEditing : public QObject {
    Q_OBJECT
  private slots:
    void fieldsCleanWhatIsTyped_data();
    void fieldsCleanWhatIsTyped();
    void fieldsSwitchTheButtons();
    void textFieldKeepsOnlyWhatTheFileCanHold_data();
    void textFieldKeepsOnlyWhatTheFileCanHold();
    void pasteKeepsTheFirstLine_data();
    void pasteKeepsTheFirstLine();
    void textFieldStopsAtTheLimit();
    void addThroughClicksWritesTheFile();
    void addChecks_data();
    void addChecks();
    void selectAndDelete();
    void deleteRefusals();
    void rowDrawnSelectedOnlyWhileSelected();
    void deleteOnlySchedule();
    void imminentFollowsRowOne_data();
    void imminentFollowsRowOne();
    void resetAll_data();
    void resetAll();
    void conversion_data();
    void conversion();
    void maskFrameTable_data();
    void maskFrameTable();
};

void TestEditing::fieldsCleanWhatIsTyped_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("left");
    QTest::newRow("hour 2 then 4") << 1 << "24"
                                   << "";
    QTest::newRow("hour 2") << 1 << "2"
                            << "2";
    QTest::newRow("hour 07") << 1 << "07"
                             << "07";
    QTest::newRow("hour 23") << 1 << "23"
                             << "23";
    QTest::newRow("minute 0 then 7") << 2 << "07"
                                     << "07";
    QTest::newRow("minute 6 then 0") << 2 << "60"
                                     << "";
    QTest::newRow("minute 59") << 2 << "59"
                               << "59";
    QTest::newRow("hours 00") << 5 << "00"
                              << "00";
    QTest::newRow("hours 24") << 5 << "24"
                              << "";
    QTest::newRow("minutes 60") << 6 << "60"
                                << "";
    QTest::newRow("days 99") << 4 << "99"
                             << "99";
    QTest::newRow("days 42") << 4 << "42"
                             << "42";
    QTest::newRow("days 1 then letter") << 4 << "1a"
                                        << "1a";
    QTest::newRow("days letter") << 4 << "a"
                                 << "";
    QTest::newRow("days 9 then letter") << 4 << "9a"
                                        << "";
    QTest::newRow("days 9 then hyphen") << 4 << "9-"
                                        << "9-";
    QTest::newRow("hour letter") << 1 << "a"
                                 << "";
}

void TestEditing::fieldsCleanWhatIsTyped() {
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(QString, left);
    AppFixture app;
    frmMain* m = StartProgram(app, {});
    QLineEdit* fields[] = {nullptr, m->Text1, m->Text2, m->Text3, m->Text4, m->Text5, m->Text6};
    TypeText(fields[field], typed);
    QCOMPARE(fields[field]->text(), left);
}

void TestEditing::fieldsSwitchTheButtons() {
    AppFixture app;
    frmMain* m = StartProgram(app, {});
    TypeText(m->Text1, "7");
    QVERIFY(m->Command1->isEnabled());
    QVERIFY(m->Command8->isEnabled());
    QTest::keyClick(m->Text1, Qt::Key_Backspace);
    QVERIFY(!m->Command1->isEnabled());
    QVERIFY(!m->Command8->isEnabled()); // both fields empty after an edit
    TypeText(m->Text6, "5");
    QVERIFY(m->Command5->isEnabled());
    TypeText(m->Text4, "1");
    QTest::keyClick(m->Text6, Qt::Key_Backspace);
    QVERIFY(m->Command5->isEnabled());
    m->Text4->clear();
    QVERIFY(!m->Command5->isEnabled());
    // Full-width digits are not digits here.
    m->Text4->setText(QStringLiteral("１"));
    QCOMPARE(m->Text4->text(), QString());
    // Enter in the text field adds nothing.
    TypeText(m->Text1, "9");
    TypeText(m->Text2, "0");
    TypeText(m->Text3, "x");
    QTest::keyClick(m->Text3, Qt::Key_Return);
    QCOMPARE(ScheduleCount, 0);
}

void TestEditing::textFieldKeepsOnlyWhatTheFileCanHold_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("half-width katakana pairs") << "ﾐｰﾃｨﾝｸ"
                                               << "ﾐｰﾃｨﾝｸ";
    QTest::newRow("half-width pair") << "ﾃｽ"
                                     << "ﾃｽ";
    QTest::newRow("kanji pair") << "闃冢"
                                << "闃冢";
    QTest::newRow("wave dash") << "10時〜11時"
                               << "10時～11時";
    QTest::newRow("lookalikes") << "−‖—¢£¬¦¥"
                                << "－∥―￠￡￢￤\\";
    QTest::newRow("not in CP932") << "会議😀だ café"
                                  << "会議?だ caf?";
    QTest::newRow("private use, one way") << QString(QChar(0xF86F)) << "№";
}

// What is typed is what the file holds, over two exits and starts.
void TestEditing::textFieldKeepsOnlyWhatTheFileCanHold() {
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    AppFixture app(At(10, 0, 30));
    frmMain* m = StartProgram(app, {});
    EnterSchedule(m, 8, "9", "30", typed);
    QCOMPARE(m->Text3->text(), kept);
    Click(m->Command1);
    for (int run = 0; run < 2; ++run) {
        Click(m->Command3);
        QCOMPARE(app.ReadFile("velsokura.txt"),
                 Cp932::Encode("1\r\n" + ScheduleLine(Tomorrow0930, " " + kept) + "\r\n"));
        m = RestartProgram(app);
        QCOMPARE(m->MSFlexGrid1->TextMatrix(1, 2), " " + kept);
    }
}

void TestEditing::textFieldStopsAtTheLimit() {
    AppFixture app;
    frmMain* m = StartProgram(app, {});
    TypeText(m->Text3, QString(50, QChar(0x3042)));
    QCOMPARE(m->Text3->text().size(), 43);
}

void TestEditing::pasteKeepsTheFirstLine_data() {
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("stored");
    QTest::newRow("CR LF") << "打合せ\r\n10分前に集合"
                           << " 打合せ";
    QTest::newRow("LF") << "打合せ\n10分前に集合\n"
                        << " 打合せ";
    QTest::newRow("CR") << "打合せ\r10分前"
                        << " 打合せ";
    QTest::newRow("tab") << "会議\t3F"
                         << " 会議 3F";
}

// A single-line box: a pasted text ends at its first line break.
void TestEditing::pasteKeepsTheFirstLine() {
    QFETCH(QString, pasted);
    QFETCH(QString, stored);
    AppFixture app;
    frmMain* m = StartProgram(app, {{Tomorrow1000, " 後"}});
    EnterSchedule(m, 8, "9", "30", "");
    QGuiApplication::clipboard()->setText(pasted);
    QTest::keySequence(m->Text3, QKeySequence::Paste);
    Click(m->Command1);
    QCOMPARE(ScheduleCount, 2);
    QCOMPARE(app.ReadFile("velsokura.txt"), Cp932::Encode(ScheduleLine(Tomorrow0930, stored) + "\r\n" +
                                                  ScheduleLine(Tomorrow1000, " 後") + "\r\n\r\n"));
}

void TestEditing::addThroughClicksWritesTheFile() {
    AppFixture app(At(10, 0, 30));
    frmMain* m = StartProgram(app, {});
    BoxAnswerer boxes;
    EnterSchedule(m, 8, "9", "30", "歯医者");
    Click(m->Command1);
    QVERIFY(boxes.texts.isEmpty());
    QCOMPARE(ScheduleCount, 1);
    QCOMPARE(m->MSFlexGrid1->Rows(), 2);
    QCOMPARE(app.ReadFile("velsokura.txt"), Cp932::Encode(ScheduleLine(Tomorrow0930, " 歯医者") + "\r\n"));
    QCOMPARE(Twips::Height(m->Frame1), 4560.0);
    QCOMPARE(Twips::Top(m->Frame1), 575.0);
    QVERIFY(m->Command4->isEnabled());
    QVERIFY(!m->Command2->isEnabled());
    QVERIFY(!m->Command7->isEnabled());

    // A text that already begins with a space keeps just that one.
    EnterSchedule(m, 8, "10", "0", " 会議");
    Click(m->Command1);
    QCOMPARE(app.ReadFile("velsokura.txt"),
             Cp932::Encode(ScheduleLine(Tomorrow0930, " 歯医者") + "\r\n" +
                   ScheduleLine(Tomorrow1000, " 会議") + "\r\n\r\n"));
    QCOMPARE(Twips::Height(m->Frame1), 4560.0 - m->MSFlexGrid1->RowHeightTw(0));
    QCOMPARE(m->MSFlexGrid1->TextMatrix(2, 1), Tomorrow1000);
}

void TestEditing::addChecks_data() {
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<int>("day");
    QTest::addColumn<QString>("hour");
    QTest::addColumn<QString>("minute");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("stored");
    const QDateTime ten = At(10, 0, 59);
    QTest::newRow("this minute") << ten << 7 << "10"
                                 << "0"
                                 << "x"
                                 << "２分以上未来の予定を入力して下さい。"
                                 << "";
    QTest::newRow("next minute") << ten << 7 << "10"
                                 << "1"
                                 << "x"
                                 << "２分以上未来の予定を入力して下さい。"
                                 << "";
    QTest::newRow("two minutes") << ten << 7 << "10"
                                 << "2"
                                 << "x"
                                 << ""
                                 << " x";
    QTest::newRow("past time") << ten << 7 << "9"
                               << "59"
                               << "x"
                               << "時間が過去の値になっています、未来の時間を入力して下さい。"
                               << "";
    QTest::newRow("before midnight") << At(23, 58, 10) << 7 << "23"
                                     << "59"
                                     << "x"
                                     << "２分以上未来の予定を入力して下さい。"
                                     << "";
    QTest::newRow("past date") << ten << 6 << "11"
                               << "0"
                               << "x"
                               << "日付が過去の値になっています、未来の日付を指定して下さい。"
                               << "";
    QTest::newRow("later day, any time") << ten << 8 << "0"
                                         << "0"
                                         << "x"
                                         << ""
                                         << " x";
    QTest::newRow("no hour") << ten << 8 << ""
                             << "0"
                             << "x"
                             << "時間が入力されていません。"
                             << "";
    QTest::newRow("no minute") << ten << 8 << "1"
                               << ""
                               << "x"
                               << "分が入力されていません。"
                               << "";
    QTest::newRow("spaces only") << ten << 8 << "1"
                                 << "0"
                                 << "   "
                                 << "予定にスペースのみが入力されています。"
                                 << "";
    QTest::newRow("ideographic spaces") << ten << 8 << "1"
                                        << "0"
                                        << "　　"
                                        << "予定にスペースのみが入力されています。"
                                        << "";
    QTest::newRow("empty text") << ten << 8 << "1"
                                << "0"
                                << ""
                                << ""
                                << " 予定の時間です";
    QTest::newRow("ampersand") << ten << 8 << "1"
                               << "0"
                               << "A&B"
                               << ""
                               << " A&B";
}

void TestEditing::addChecks() {
    QFETCH(QDateTime, now);
    QFETCH(int, day);
    QFETCH(QString, hour);
    QFETCH(QString, minute);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(QString, stored);
    AppFixture app(now);
    frmMain* m = StartProgram(app, {});
    BoxAnswerer boxes;
    EnterSchedule(m, day, hour, minute, text);
    Click(m->Command1);
    QCOMPARE(boxes.texts, message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(m->MSFlexGrid1->TextMatrix(1, 2), stored);
    QCOMPARE(ScheduleCount, stored.isEmpty() ? 0 : 1);
    if (message.startsWith("日付が過去")) QCOMPARE(m->PickerDate(), QString("2026/12/07"));
    QCOMPARE(CommandBusy, std::uint8_t(0));
}

void TestEditing::selectAndDelete() {
    AppFixture app(At(10, 0, 0));
    frmMain* m = StartProgram(
        app,
        {{"2026/12/08/09:00", " 一"}, {"2026/12/09/09:00", " 二"}, {"2026/12/10/09:00", " 三"}});
    app.soundCommands.clear();
    ClickCell(m->MSFlexGrid1, 2, 2);
    QCOMPARE(app.soundCommands.first(), QString("stop Sound1")); // a click silences
    QVERIFY(m->Command2->isEnabled());
    QVERIFY(m->Command7->isEnabled());
    QCOMPARE(m->MSFlexGrid1->Col(), 1);
    QCOMPARE(m->MSFlexGrid1->ColSel(), 2);

    {
        BoxAnswerer no(BoxAnswerer::No);
        Click(m->Command2);
        QCOMPARE(no.texts, QStringList{"選択した行を削除しますがよろしいですか？"});
        QCOMPARE(ScheduleCount, 3);
    }
    ClickCell(m->MSFlexGrid1, 2, 1);
    {
        BoxAnswerer yes;
        Click(m->Command2);
        QCOMPARE(ScheduleCount, 2);
    }
    QCOMPARE(m->MSFlexGrid1->TextMatrix(2, 2), QString(" 三"));
    QCOMPARE(app.ReadFile("velsokura.txt"),
             Cp932::Encode(ScheduleLine("2026/12/08/09:00", " 一") + "\r\n" +
                   ScheduleLine("2026/12/10/09:00", " 三") + "\r\n\r\n"));
    QVERIFY(!m->Command2->isEnabled());
    QVERIFY(m->Command4->isEnabled());

    // Deselect clears the selection.
    ClickCell(m->MSFlexGrid1, 1, 1);
    Click(m->Command7);
    QCOMPARE(m->MSFlexGrid1->Row(), 0);
    QVERIFY(!m->Command2->isEnabled());
}

void TestEditing::rowDrawnSelectedOnlyWhileSelected() {
    AppFixture app(At(10, 29, 0));
    app.WriteDefaults();
    app.WriteText("velsokura.txt", "1\r\n" + ScheduleLine("2026/12/07/10:30", " 一") + "\r\n" +
                                       ScheduleLine("2026/12/08/09:00", " 二") + "\r\n\r\n");
    frmMain* m = app.NewMain();
    m->Form_Load();
    m->Timer1->stop();
    FlexGrid* grid = m->MSFlexGrid1;
    const auto drawn = [grid] {
        QCoreApplication::processEvents();
        return grid->selectionModel()->hasSelection();
    };
    QVERIFY(FormSlot<frmMessage>::Get()->isVisible()); // today's notice
    QVERIFY(!drawn());
    QTest::mouseClick(FormSlot<frmMessage>::Get()->Command1, Qt::LeftButton);
    QVERIFY(!m->Command7->isEnabled());
    QVERIFY(!drawn());
    ClickCell(grid, 2, 2);
    QVERIFY(m->Command7->isEnabled());
    QVERIFY(drawn());
    Clock::Set(At(10, 30, 0));
    m->Timer1_Timer();
    QTest::mouseClick(FormSlot<frmMessage>::Get()->Command1, Qt::LeftButton);
    QVERIFY(!m->Command7->isEnabled());
    QVERIFY(!drawn());
}

void TestEditing::deleteRefusals() {
    AppFixture app(At(9, 59, 10, 8));
    frmMain* m = StartProgram(app, {{"2026/12/08/10:00", " 一"}, {"2026/12/09/09:00", " 二"}});
    QCOMPARE(AlarmImminent, std::uint8_t(1)); // the first tick saw row 1's last minute
    BoxAnswerer boxes;
    m->Command2->setEnabled(true);
    Click(m->Command2);
    QCOMPARE(boxes.texts, QStringList{"削除する行を選択して下さい。"});
    boxes.texts.clear();
    ClickCell(m->MSFlexGrid1, 1, 2);
    Click(m->Command2);
    QCOMPARE(boxes.texts, QStringList({"選択した行を削除しますがよろしいですか？",
                                       "タイマー予定時間１分前の予定は削除できません。"}));
    QCOMPARE(ScheduleCount, 2);
    boxes.texts.clear();
    ClickCell(m->MSFlexGrid1, 2, 2); // other rows may go
    Click(m->Command2);
    QCOMPARE(ScheduleCount, 1);
}

void TestEditing::deleteOnlySchedule() {
    AppFixture app(At(10, 0, 0));
    frmMain* m = StartProgram(app, {{Tomorrow0930, " 一"}});
    BoxAnswerer boxes;
    ClickCell(m->MSFlexGrid1, 1, 1);
    Click(m->Command2);
    QCOMPARE(ScheduleCount, 0);
    QCOMPARE(m->MSFlexGrid1->Rows(), 2);
    QVERIFY(m->MSFlexGrid1->TextMatrix(1, 1).isEmpty());
    QVERIFY(!m->Command4->isEnabled());
    QCOMPARE(app.ReadFile("velsokura.txt"), QByteArray("1\r\n"));
    // Clicking the empty row changes nothing but the cursor.
    ClickCell(m->MSFlexGrid1, 1, 1);
    QCOMPARE(m->MSFlexGrid1->Row(), 0);
    QVERIFY(!m->Command2->isEnabled());
    // Delete with no schedule at all says nothing.
    boxes.texts.clear();
    m->Command2->setEnabled(true);
    Click(m->Command2);
    QVERIFY(boxes.texts.isEmpty());
}

void TestEditing::imminentFollowsRowOne_data() {
    QTest::addColumn<QString>("then");
    QTest::newRow("reset all") << "reset";
    QTest::newRow("clock went back") << "clock back";
}

void TestEditing::imminentFollowsRowOne() {
    QFETCH(QString, then);
    AppFixture app(At(10, 29, 10));
    frmMain* m = StartProgram(app, {{"2026/12/07/10:30", " 一"}, {"2026/12/14/09:00", " 来週"}});
    QCOMPARE(AlarmImminent, std::uint8_t(1));
    if (then == "reset") {
        BoxAnswerer yes;
        Click(m->Command4);
        EnterSchedule(m, 14, "9", "0", "来週");
        Click(m->Command1);
    } else {
        Clock::Set(At(10, 20, 0));
        m->Timer1_Timer();
    }
    // Row 1 is now days away, or minutes: it may go.
    const QByteArray before = app.ReadFile("velsokura.txt");
    ClickCell(m->MSFlexGrid1, 1, 2);
    BoxAnswerer boxes;
    Click(m->Command2);
    QCOMPARE(boxes.texts, QStringList{"選択した行を削除しますがよろしいですか？"});
    QVERIFY(app.ReadFile("velsokura.txt") != before);
    QCOMPARE(ScheduleCount, then == "reset" ? 0 : 1);
}

void TestEditing::resetAll_data() {
    QTest::addColumn<int>("answer");
    QTest::newRow("yes") << int(BoxAnswerer::Yes);
    QTest::newRow("no") << int(BoxAnswerer::No);
    QTest::newRow("cancel") << int(BoxAnswerer::Cancel);
}

void TestEditing::resetAll() {
    QFETCH(int, answer);
    AppFixture app(At(10, 0, 0));
    frmMain* m = StartProgram(app, {{Tomorrow0930, " 一"}, {Tomorrow1000, " 二"}});
    const QByteArray before = app.ReadFile("velsokura.txt");
    TypeText(m->Text1, "5");
    TypeText(m->Text4, "1");
    m->DTPicker1->setDate(QDate(2026, 12, 20));
    BoxAnswerer boxes{BoxAnswerer::Answer(answer)};
    Click(m->Command4);
    QCOMPARE(boxes.texts,
             QStringList{"すべてをリセットします、データは初期状態になりますがよろしいですか？"});
    if (answer != BoxAnswerer::Yes) {
        QCOMPARE(ScheduleCount, 2);
        QCOMPARE(app.ReadFile("velsokura.txt"), before);
        return;
    }
    FlexGrid* g = m->MSFlexGrid1;
    QCOMPARE(g->Rows(), 2);
    QCOMPARE(ScheduleCount, 0);
    QVERIFY(g->TextMatrix(1, 1).isEmpty());
    QCOMPARE(g->TextMatrix(0, 1), QString("   日付時間"));
    QCOMPARE(g->ColWidthTw(1), 1600.0);
    QCOMPARE(app.ReadFile("velsokura.txt"), QByteArray("1\r\n"));
    for (QLineEdit* f : {m->Text1, m->Text2, m->Text3, m->Text4, m->Text5, m->Text6})
        QVERIFY(f->text().isEmpty());
    QCOMPARE(m->PickerDate(), QString("2026/12/07"));
    for (QPushButton* b : {m->Command1, m->Command5, m->Command2, m->Command7, m->Command4})
        QVERIFY(!b->isEnabled());
    QVERIFY(m->Command8->isEnabled());
    QCOMPARE(Twips::Height(m->Frame1), 4560.0);
    QCOMPARE(Twips::Top(m->Frame1), 575.0);
}

void TestEditing::conversion_data() {
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QString>("days");
    QTest::addColumn<QString>("hours");
    QTest::addColumn<QString>("minutes");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("hour");
    QTest::addColumn<QString>("minute");
    const QDateTime ten = At(10, 0, 59);
    QTest::newRow("2 minutes") << ten << ""
                               << ""
                               << "2"
                               << "３分以上の値を入力して下さい。"
                               << ""
                               << ""
                               << "";
    QTest::newRow("3 minutes") << ten << ""
                               << ""
                               << "3"
                               << ""
                               << "2026/12/07"
                               << "10"
                               << "3";
    QTest::newRow("1 hour, 0 minutes") << ten << "0"
                                       << "1"
                                       << "0"
                                       << ""
                                       << "2026/12/07"
                                       << "11"
                                       << "0";
    QTest::newRow("past midnight") << At(23, 30, 0) << ""
                                   << ""
                                   << "45"
                                   << ""
                                   << "2026/12/08"
                                   << "0"
                                   << "15";
    QTest::newRow("to midnight") << At(23, 0, 0) << ""
                                 << "1"
                                 << ""
                                 << ""
                                 << "2026/12/08"
                                 << "0"
                                 << "0";
    QTest::newRow("2 days") << ten << "2"
                            << ""
                            << ""
                            << ""
                            << "2026/12/09"
                            << "10"
                            << "0";
    QTest::newRow("days 1a") << ten << "1a"
                             << ""
                             << "5"
                             << ""
                             << "2026/12/08"
                             << "10"
                             << "5";
}

void TestEditing::conversion() {
    QFETCH(QDateTime, now);
    QFETCH(QString, days);
    QFETCH(QString, hours);
    QFETCH(QString, minutes);
    QFETCH(QString, message);
    QFETCH(QString, date);
    QFETCH(QString, hour);
    QFETCH(QString, minute);
    AppFixture app(now);
    frmMain* m = StartProgram(app, {});
    TypeText(m->Text4, days);
    TypeText(m->Text5, hours);
    TypeText(m->Text6, minutes);
    BoxAnswerer boxes;
    Click(m->Command5);
    QCOMPARE(boxes.texts, message.isEmpty() ? QStringList() : QStringList{message});
    QVERIFY(!m->Text5->text().isEmpty()); // an empty field became 0
    QCOMPARE(m->Text1->text(), hour);
    QCOMPARE(m->Text2->text(), minute);
    if (!date.isEmpty()) QCOMPARE(m->PickerDate(), date);
    if (hour == "10" && minute == "3") {
        // At 10:00:59 the converted 10:03 passes the two-minute check.
        TypeText(m->Text3, "x");
        Click(m->Command1);
        QCOMPARE(ScheduleCount, 1);
    }
}

void TestEditing::maskFrameTable_data() {
    QTest::addColumn<int>("rows");
    QTest::addColumn<double>("height");
    QTest::addColumn<double>("top");
    QTest::newRow("2") << 2 << 4560.0 << 575.0;
    QTest::newRow("3") << 3 << 4340.0 << 795.0;
    QTest::newRow("21") << 21 << 290.0 << 4845.0;
    QTest::newRow("22") << 22 << 65.0 << 5070.0;
    QTest::newRow("40") << 40 << 65.0 << 5070.0;
}

void TestEditing::maskFrameTable() {
    QFETCH(int, rows);
    QFETCH(double, height);
    QFETCH(double, top);
    AppFixture app;
    frmMain* m = app.NewMain();
    QCOMPARE(m->MSFlexGrid1->RowHeightTw(0), 225.0);
    m->MSFlexGrid1->SetRows(rows);
    m->prcFrameMask();
    m->prcFrameMask();
    QCOMPARE(Twips::Height(m->Frame1), height);
    QCOMPARE(Twips::Top(m->Frame1), top);
}

QTEST_MAIN(TestEditing)
#include "test_editing.moc"
