// The program's own boxes and waits, the main-window lock, the alarm
// window's acknowledgement and the status window.

#include "TestSupport.h"
#include "app/MainLock.h"
#include "app/frmMain.h"
#include "core/Colors.h"
#include "core/mdlMain.h"
#include "dialogs/MessageWaits.h"
#include "dialogs/frm2Message.h"
#include "dialogs/frm3Message.h"
#include "dialogs/frmMessage.h"
#include "dialogs/frmStatus.h"
#include "store/FlexGrid.h"

#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace mdlMain;

namespace {

// A main window with n schedules in the grid, not started.
frmMain* MainWith(AppFixture& app, int schedules) {
    frmMain* main = app.NewMain();
    QList<QPair<QString, QString>> rows;
    for (int i = 0; i < schedules; ++i)
        rows.append({QString("2027/01/%1/10:00").arg(i + 1, 2, 10, QChar('0')), " x"});
    FillGrid(main->MSFlexGrid1, rows);
    return main;
}

} // namespace

class TestDialogs : public QObject {
    Q_OBJECT
  private slots:
    void questionAnswers_data();
    void questionAnswers();
    void noticeEndsOnOkOrCloseBox_data();
    void noticeEndsOnOkOrCloseBox();
    void waitsEndWhenQuitting();
    void lockKeepsHistoryUsable_data();
    void lockKeepsHistoryUsable();
    void unlockRecomputesButtons_data();
    void unlockRecomputesButtons();
    void boxClosingKeepsLockWhileAlarmWindowIsUp();
    void isFormLoadedIsCaseSensitive();
    void alarmWindowAcknowledgesNoticeOrAlarm_data();
    void alarmWindowAcknowledgesNoticeOrAlarm();
    void alarmWindowStaysLockedWhileBoxIsUp();
    void statusWindowRefusesCloseBox();
};

void TestDialogs::questionAnswers_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("code");
    QTest::newRow("yes") << int(BoxAnswerer::Yes) << 1;
    QTest::newRow("no") << int(BoxAnswerer::No) << 2;
    QTest::newRow("cancel") << int(BoxAnswerer::Cancel) << 2;
    QTest::newRow("close box") << int(BoxAnswerer::CloseBox) << 2;
}

void TestDialogs::questionAnswers() {
    QFETCH(int, answer);
    QFETCH(int, code);
    AppFixture app;
    frmMain* main = MainWith(app, 3);
    BoxAnswerer boxes{BoxAnswerer::Answer(answer)};
    QCOMPARE(AskQuestion("よろしいですか？"), code == 1);
    QCOMPARE(int(AnswerCode), code);
    QCOMPARE(boxes.texts, QStringList{"よろしいですか？"});
    QVERIFY(!FormSlot<frm3Message>::Loaded());
    // Closing gave the main window back and left the cursor on the header corner.
    QVERIFY(main->Command3->isEnabled());
    QCOMPARE(main->MSFlexGrid1->Row(), 0);
    QCOMPARE(main->MSFlexGrid1->Col(), 0);
    QVERIFY(main->Command4->isEnabled());
}

void TestDialogs::noticeEndsOnOkOrCloseBox_data() {
    QTest::addColumn<int>("answer");
    QTest::newRow("ok") << int(BoxAnswerer::Yes);
    QTest::newRow("close box") << int(BoxAnswerer::CloseBox);
}

void TestDialogs::noticeEndsOnOkOrCloseBox() {
    QFETCH(int, answer);
    AppFixture app;
    frmMain* main = MainWith(app, 1);
    BoxAnswerer boxes{BoxAnswerer::Answer(answer)};
    ShowNotice("お知らせ");
    QCOMPARE(NoticeClosed, std::uint8_t(1));
    QVERIFY(!FormSlot<frm2Message>::Loaded());
    // Two rows: the cursor ends on row 1, column 1 and Reset follows that cell.
    QCOMPARE(main->MSFlexGrid1->Row(), 1);
    QCOMPARE(main->MSFlexGrid1->Col(), 1);
    QVERIFY(main->Command4->isEnabled());
    QVERIFY(!main->Command2->isEnabled());
}

void TestDialogs::waitsEndWhenQuitting() {
    AppFixture app;
    MainWith(app, 0);
    QTimer::singleShot(10, [] { Quitting = 1; });
    QVERIFY(!AskQuestion("終了中"));
    QCOMPARE(AnswerCode, std::uint8_t(0));
    QVERIFY(FormSlot<frm3Message>::Loaded()); // nobody answered; the box is still up
}

void TestDialogs::lockKeepsHistoryUsable_data() {
    QTest::addColumn<QString>("history");
    QTest::newRow("with history") << "2026/12/07/10:00/ x";
    QTest::newRow("without history") << "";
}

void TestDialogs::lockKeepsHistoryUsable() {
    QFETCH(QString, history);
    AppFixture app;
    frmMain* main = MainWith(app, 2);
    HistoryText = history;
    DisableMainControls();
    for (QWidget* w : LockedControls(main))
        QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
    QCOMPARE(main->Command6->isEnabled(), !history.isEmpty());
    QCOMPARE(Colors::BackColor(main->Command6),
             history.isEmpty() ? Colors::ButtonFace() : Colors::Yellow);
}

void TestDialogs::unlockRecomputesButtons_data() {
    QTest::addColumn<int>("schedules");
    QTest::addColumn<bool>("reset");
    QTest::newRow("empty grid") << 0 << false;
    QTest::newRow("one schedule") << 1 << true;
    QTest::newRow("two schedules") << 2 << true;
}

void TestDialogs::unlockRecomputesButtons() {
    QFETCH(int, schedules);
    QFETCH(bool, reset);
    AppFixture app;
    frmMain* main = MainWith(app, schedules);
    DisableMainControls();
    EnableMainControls();
    QCOMPARE(main->Command4->isEnabled(), reset);
    QVERIFY(main->Command1->isEnabled());
    QVERIFY(main->Command3->isEnabled());
    QVERIFY(main->Text1->isEnabled());
    QVERIFY(main->MSFlexGrid1->isEnabled());
    // No row selected: Delete and Deselect stay off; Convert is not touched.
    QVERIFY(!main->Command2->isEnabled());
    QVERIFY(!main->Command7->isEnabled());
    QVERIFY(!main->Command5->isEnabled());
    QVERIFY(!main->Command6->isEnabled());
}

void TestDialogs::boxClosingKeepsLockWhileAlarmWindowIsUp() {
    AppFixture app;
    frmMain* main = MainWith(app, 3);
    frmMessage* alarm = FormSlot<frmMessage>::Load();
    alarm->show();
    DisableMainControls();
    BoxAnswerer boxes;
    ShowNotice("お知らせ");
    // Nothing comes back while the alarm window is up, Reset and Options included.
    for (QWidget* w : LockedControls(main))
        QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
    QCOMPARE(main->MSFlexGrid1->Row(), 0);
}

void TestDialogs::isFormLoadedIsCaseSensitive() {
    AppFixture app;
    MainWith(app, 0);
    FormSlot<frm2Message>::Load()->show();
    QVERIFY(IsFormLoaded("frm2Message"));
    QVERIFY(!IsFormLoaded("frm2message"));
    FormSlot<frm2Message>::Unload();
    QVERIFY(!IsFormLoaded("frm2Message"));
}

void TestDialogs::alarmWindowAcknowledgesNoticeOrAlarm_data() {
    QTest::addColumn<int>("alarmFired");
    QTest::addColumn<QString>("history");
    QTest::addColumn<QString>("historyAfter");
    const QString one = "2026/12/07/10:00/ x";
    const QString two = "2026/12/07/10:05/ y\r\n" + one;
    QTest::newRow("start-up notice keeps history") << 0 << one << one;
    QTest::newRow("alarm, one entry clears it") << 1 << one << "";
    QTest::newRow("alarm, several entries stay") << 1 << two << two;
}

void TestDialogs::alarmWindowAcknowledgesNoticeOrAlarm() {
    QFETCH(int, alarmFired);
    QFETCH(QString, history);
    QFETCH(QString, historyAfter);
    AppFixture app;
    frmMain* main = MainWith(app, 0);
    StartupNoticePending = 1;
    AlarmFired = std::uint8_t(alarmFired);
    HistoryText = history;
    frmMessage* alarm = FormSlot<frmMessage>::Load();
    alarm->show();
    MessageWindowUp = 1;
    DisableMainControls();
    app.soundCommands.clear();
    QTest::mouseClick(alarm->Command1, Qt::LeftButton);
    QVERIFY(!alarm->isVisible());
    QVERIFY(FormSlot<frmMessage>::Loaded());
    QCOMPARE(MessageWindowUp, std::uint8_t(0));
    QCOMPARE(HistoryText, historyAfter);
    QCOMPARE(StartupNoticePending, std::uint8_t(alarmFired == 1 ? 1 : 0));
    QCOMPARE(main->Command6->isEnabled(), !historyAfter.isEmpty());
    if (historyAfter.isEmpty()) QCOMPARE(Colors::BackColor(main->Command6), Colors::LightGrey);
    QCOMPARE(app.soundCommands, QStringList({"stop Sound1", "stop Sound2", "stop Sound3",
                                             "stop Sound4", "stop Sound5"}));
    // Empty grid: Delete and Reset off, cursor on row 1, column 1.
    QVERIFY(!main->Command2->isEnabled());
    QVERIFY(!main->Command4->isEnabled());
    QCOMPARE(main->MSFlexGrid1->Row(), 1);
    QCOMPARE(main->MSFlexGrid1->Col(), 1);
    QVERIFY(main->Command3->isEnabled());
}

void TestDialogs::alarmWindowStaysLockedWhileBoxIsUp() {
    AppFixture app;
    frmMain* main = MainWith(app, 2);
    frmMessage* alarm = FormSlot<frmMessage>::Load();
    alarm->show();
    MessageWindowUp = 1;
    FormSlot<frm3Message>::Load()->show();
    QTest::mouseClick(alarm->Command1, Qt::LeftButton);
    QVERIFY(!alarm->isVisible());
    QVERIFY(!main->Command3->isEnabled());
    // Its close box is refused and gives nothing back.
    alarm->show();
    alarm->close();
    QVERIFY(alarm->isVisible());
    QVERIFY(!main->Command4->isEnabled());
}

void TestDialogs::statusWindowRefusesCloseBox() {
    AppFixture app;
    frmStatus* status = FormSlot<frmStatus>::Load();
    status->show();
    status->close();
    QVERIFY(status->isVisible());
    QVERIFY(FormSlot<frmStatus>::Loaded());
    QTest::mouseClick(status->Command1, Qt::LeftButton);
    QCOMPARE(StatusCancelled, std::uint8_t(1));
    QVERIFY(status->isVisible());
    FormSlot<frmStatus>::Unload();
    QVERIFY(!FormSlot<frmStatus>::Loaded());
}

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
