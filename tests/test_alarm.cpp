// The clock tick and the firing of an alarm, driven by a set clock.

#include "TestSupport.h"
#include "alarm/Sounds.h"
#include "app/frmMain.h"
#include "core/Colors.h"
#include "core/Twips.h"
#include "core/mdlMain.h"
#include "dialogs/MessageWaits.h"
#include "dialogs/VbLabel.h"
#include "dialogs/frmMessage.h"
#include "options/frmOption.h"
#include "platform/Clock.h"
#include "platform/Mci.h"
#include "platform/WallClockWatch.h"
#include "store/FlexGrid.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#endif

using namespace mdlMain;

namespace {

const QString K1030 = QStringLiteral("2026/12/07/10:30");
const QString K1031 = QStringLiteral("2026/12/07/10:31");
const QString K1100 = QStringLiteral("2026/12/07/11:00");

void TickAt(frmMain* main, const QDateTime& t) {
    Clock::Set(t);
    main->Timer1_Timer();
}

frmMessage* Alarm() {
    return FormSlot<frmMessage>::Get();
}

#ifndef Q_OS_WIN
// A private bus standing in for the system bus, on which the test plays
// logind. Set before the first program connects to "the system bus".
struct Login1StandIn {
    ~Login1StandIn() {
        daemon.kill();
        daemon.waitForFinished();
    }
    QProcess daemon;
    QString address;
    void Start() {
        daemon.start(QStringLiteral("dbus-daemon"),
                     {QStringLiteral("--session"), QStringLiteral("--nofork"),
                      QStringLiteral("--print-address=1")});
        if (!daemon.waitForReadyRead(5000)) return;
        address = QString::fromUtf8(daemon.readLine()).trimmed();
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", address.toUtf8());
        QDBusConnection::connectToBus(address, QStringLiteral("login1"))
            .registerService(QStringLiteral("org.freedesktop.login1"));
    }
    void Resumed() const {
        QDBusMessage resumed = QDBusMessage::createSignal(
            QStringLiteral("/org/freedesktop/login1"),
            QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"));
        resumed << false;
        QDBusConnection(QStringLiteral("login1")).send(resumed);
    }
};
std::unique_ptr<Login1StandIn> login1;
#endif

// What the system tells the program after a resume or a new time of day.
void TellClockMoved(frmMain* main, bool resume) {
#ifdef Q_OS_WIN
    // Offscreen windows have no handle of their own: the thread's queue takes
    // the message to the same filter the windows' messages pass.
    Q_UNUSED(main);
    if (resume)
        ::PostThreadMessageW(::GetCurrentThreadId(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    else
        ::PostThreadMessageW(::GetCurrentThreadId(), WM_TIMECHANGE, 0, 0);
    QCoreApplication::processEvents();
#else
    // The kernel's notice of a set time cannot be had without setting the
    // machine's clock; the watcher's signal stands in for it.
    if (resume) {
        QVERIFY2(!login1->address.isEmpty(), "no private bus: dbus-daemon did not start");
        login1->Resumed();
    } else {
        emit main->WallClock->MayHaveMoved();
    }
#endif
}

} // namespace

class TestAlarm : public QObject {
    Q_OBJECT
  private slots:
#ifndef Q_OS_WIN
    void initTestCase() {
        login1 = std::make_unique<Login1StandIn>();
        login1->Start();
    }
    void cleanupTestCase() {
        login1.reset();
    }
#endif
    void captionShowsTheClock();
    void warnsFromOneMinuteBeforeAndFiresOnFiveSeconds();
    void onlyScheduleFiringLeavesEmptyGrid();
    void labelsAndWidthFollowTheText_data();
    void labelsAndWidthFollowTheText();
    void windowWholeOnScreen_data();
    void windowWholeOnScreen();
    void secondAlarmTurnsWindowYellow();
    void alarmDuringQuestionAnswersNo();
    void noSoundIsToldOnceInTheAlarm();
    void soundThatCannotPlayGivesWayAndIsTold_data();
    void soundThatCannotPlayGivesWayAndIsTold();
#ifdef Q_OS_WIN
    void winmmRefusalGivesWay();
#endif
    void clockJumpsLoseNothingAndFireNothingTwice();
    void pickerFollowsTheDayAtFiveSeconds();
    void hiddenTickSleepsUntilSomethingIsDue_data();
    void hiddenTickSleepsUntilSomethingIsDue();
    void hiddenTickWakesWhenTheClockMoves_data();
    void hiddenTickWakesWhenTheClockMoves();
    void pickerShowsTodayWhenShown_data();
    void pickerShowsTodayWhenShown();
};

void TestAlarm::captionShowsTheClock() {
    AppFixture app(At(9, 5, 7));
    frmMain* main = StartProgram(app, {});
    QCOMPARE(main->windowTitle(), QString("velsokura　2026/12/07/09:05:07"));
    QCOMPARE(HistoryText, QString());
}

void TestAlarm::warnsFromOneMinuteBeforeAndFiresOnFiveSeconds() {
    AppFixture app(At(10, 28, 0));
    frmMain* main = StartProgram(app, {{K1030, " 歯医者"}, {K1100, " 会議"}});
    QCOMPARE(SoundOn, std::uint8_t(1));
    TickAt(main, At(10, 28, 59));
    QCOMPARE(AlarmImminent, std::uint8_t(0));
    TickAt(main, At(10, 29, 0));
    QCOMPARE(AlarmImminent, std::uint8_t(1));
    app.soundCommands.clear();
    TickAt(main, At(10, 30, 3));
    QCOMPARE(AlarmFired, std::uint8_t(1));
    QCOMPARE(main->MSFlexGrid1->TextMatrix(1, 1), K1030); // not yet: second 3
    QVERIFY(!Alarm()->isVisible());
    TickAt(main, At(10, 31, 5)); // busy past the minute: the entry carries the firing minute
    QVERIFY(Alarm()->isVisible());
    QCOMPARE(Alarm()->Label1->Caption(), K1030);
    QCOMPARE(Alarm()->Label2->Caption(), QString(" 歯医者"));
    QCOMPARE(HistoryText, K1031 + "/ 歯医者");
    QCOMPARE(main->MSFlexGrid1->TextMatrix(1, 1), K1100);
    QCOMPARE(ScheduleCount, 1);
    QCOMPARE(AlarmImminent, std::uint8_t(0));
    QCOMPARE(MessageWindowUp, std::uint8_t(1));
    QCOMPARE(app.soundCommands, QStringList({"stop Sound1", "play Sound1 from 0"}));
    QVERIFY(!main->Command3->isEnabled());
    QVERIFY(main->Command6->isEnabled());
    QCOMPARE(Colors::BackColor(main->Command6), Colors::Yellow);
    QCOMPARE(Colors::BackColor(Alarm()), Colors::White); // no history before this alarm
}

void TestAlarm::onlyScheduleFiringLeavesEmptyGrid() {
    AppFixture app(At(10, 29, 0));
    frmMain* main = StartProgram(app, {{K1030, " x"}});
    SoundOn = 0;
    app.soundCommands.clear();
    TickAt(main, At(10, 30, 0));
    QVERIFY(app.soundCommands.isEmpty()); // sound off: nothing is sent
    QCOMPARE(ScheduleCount, 0);
    QCOMPARE(main->MSFlexGrid1->Rows(), 2);
    QVERIFY(main->MSFlexGrid1->TextMatrix(1, 1).isEmpty());
    QTest::mouseClick(Alarm()->Command1, Qt::LeftButton);
    for (QPushButton* b : {main->Command2, main->Command4, main->Command7, main->Command6})
        QVERIFY(!b->isEnabled());
    QCOMPARE(HistoryText, QString()); // the one entry goes with the acknowledgement
}

void TestAlarm::labelsAndWidthFollowTheText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shown");
    QTest::newRow("ampersand") << " A&B"
                               << " A&&B"
                               << " A&B";
    QTest::newRow("long") << QString(" ") + QString(40, QChar(0x3042)) << QString() << QString();
}

void TestAlarm::labelsAndWidthFollowTheText() {
    QFETCH(QString, text);
    QFETCH(QString, caption);
    QFETCH(QString, shown);
    AppFixture app(At(10, 29, 0));
    frmMain* main = StartProgram(app, {{K1030, text}});
    TickAt(main, At(10, 30, 0));
    frmMessage* alarm = Alarm();
    const double label = Twips::Width(alarm->Label2);
    if (!caption.isEmpty()) {
        QCOMPARE(alarm->Label2->Caption(), caption);
        QCOMPARE(alarm->Label2->text(), shown);
    }
    const double width = label >= 3015 ? label + 300 : 3435;
    QCOMPARE(alarm->WidthTw(), Twips::FromPxX(Twips::ToPxX(width)));
    QCOMPARE(Twips::Left(alarm->Command1), alarm->WidthTw() / 2 - 737.5);
    if (label < 3015) QCOMPARE(Twips::Left(alarm->Command1), 3435 / 2.0 - 737.5);
}

void TestAlarm::windowWholeOnScreen_data() {
    QTest::addColumn<QStringList>("texts"); // alarms one after another, each acknowledged
    const QString shortText = " 歯医者";
    const QString longText = QString(" ") + QString("長い予定").repeated(25);
    QTest::newRow("short") << QStringList{shortText};
    QTest::newRow("100 characters") << QStringList{longText};
    QTest::newRow("100 characters after a short one") << QStringList{shortText, longText};
    QTest::newRow("short after 100 characters") << QStringList{longText, shortText};
}

// Whole on screen, and shown with the size and place it keeps: a window
// mapped first and sized after may be left where the window manager put it.
void TestAlarm::windowWholeOnScreen() {
    QFETCH(QStringList, texts);
    AppFixture app(At(10, 29, 0));
    QList<QPair<QString, QString>> rows;
    for (int i = 0; i < texts.size(); ++i)
        rows.append({QString("2026/12/07/10:3%1").arg(i), texts[i]});
    frmMain* main = StartProgram(app, rows);
    frmMessage* alarm = Alarm();
    Shows shown(QStringLiteral("frmMessage"));
    for (int i = 0; i < texts.size(); ++i) {
        TickAt(main, At(10, 30 + i, 0));
        QCOMPARE(shown.geometry, alarm->geometry());
        QCOMPARE(OffCentre(alarm), QString());
        // Every line of the text and the OK button lie inside the window.
        const QRect label = alarm->Label2->geometry();
        QVERIFY(alarm->rect().contains(label));
        QVERIFY(label.height() >= alarm->Label2->heightForWidth(label.width()));
        QVERIFY(alarm->Label2->wordWrap() || label.width() >= alarm->Label2->sizeHint().width());
        QVERIFY(alarm->Command1->y() >= label.bottom());
        QVERIFY(alarm->rect().contains(alarm->Command1->geometry()));
        QTest::mouseClick(alarm->Command1, Qt::LeftButton);
    }
}

void TestAlarm::secondAlarmTurnsWindowYellow() {
    AppFixture app(At(10, 29, 0));
    frmMain* main = StartProgram(app, {{K1030, " 一"}, {K1031, " 二"}});
    TickAt(main, At(10, 30, 0));
    QCOMPARE(Colors::BackColor(Alarm()), Colors::White);
    TickAt(main, At(10, 31, 0));
    QCOMPARE(Colors::BackColor(Alarm()), Colors::Yellow);
    QCOMPARE(Alarm()->Label2->Caption(), QString(" 二"));
    QCOMPARE(HistoryText, K1031 + "/ 二\r\n" + K1030 + "/ 一");
    QTest::mouseClick(Alarm()->Command1, Qt::LeftButton);
    QCOMPARE(HistoryText, K1031 + "/ 二\r\n" + K1030 + "/ 一"); // several entries stay
    QVERIFY(main->Command6->isEnabled());
}

// No sound can play here: the first alarm says so itself, shown at once and
// covered by nothing; later alarms do not repeat it.
void TestAlarm::noSoundIsToldOnceInTheAlarm() {
    AppFixture app(At(10, 29, 0));
    frmMain* main = StartProgram(app, {{K1030, " 一"}, {K1031, " 二"}});
    app.soundImpossible = true;
    TickAt(main, At(10, 30, 0));
    QVERIFY(Alarm()->isVisible());
    QCOMPARE(Alarm()->Label2->Caption(), QString(" 一\nこの環境ではサウンドを鳴らせません。"));
    QVERIFY(!IsFormLoaded("frm2Message"));
    QTest::mouseClick(Alarm()->Command1, Qt::LeftButton);
    TickAt(main, At(10, 31, 0));
    QVERIFY(Alarm()->isVisible());
    QCOMPARE(Alarm()->Label2->Caption(), QString(" 二"));
}

void TestAlarm::soundThatCannotPlayGivesWayAndIsTold_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("userFile"); // made in the folder unless it is "gone.mp3"
    QTest::addColumn<QStringList>("removed");
    QTest::addColumn<QStringList>("refused");  // at once, as winmm refuses
    QTest::addColumn<QStringList>("rejected"); // afterwards, as a decoder finds
    QTest::addColumn<QStringList>("played");
    QTest::addColumn<QString>("line");
    const QStringList all{"Mirato1.mp3", "blackout4.mp3", "blackout5.mp3", "blackout8.mp3"};
    const QString none = "この環境ではサウンドを鳴らせません。";
    QTest::newRow("sound 1 deleted")
        << 0 << "" << QStringList{"Mirato1.mp3"} << QStringList() << QStringList()
        << QStringList{"Sound2"} << "サウンド1（Mirato1.mp3）はファイルがないため鳴らせません。";
    QTest::newRow("all four deleted")
        << 0 << "" << all << QStringList() << QStringList() << QStringList() << none;
    QTest::newRow("text file as the user's mp3")
        << 4 << "mine.mp3" << QStringList() << QStringList() << QStringList{"Sound5"}
        << QStringList{"Sound5", "Sound1"}
        << "サウンドファイル（mine.mp3）は再生できない形式のため鳴らせません。";
    QTest::newRow("random bytes as the user's wav, refused")
        << 4 << "noise.wav" << QStringList() << QStringList{"Sound5"} << QStringList()
        << QStringList{"Sound5", "Sound1"}
        << "サウンドファイル（noise.wav）は再生できない形式のため鳴らせません。";
    QTest::newRow("user's file and sound 1 gone")
        << 4 << "gone.mp3" << QStringList{"Mirato1.mp3"} << QStringList() << QStringList()
        << QStringList{"Sound2"} << "サウンドファイル（gone.mp3）はファイルがないため鳴らせません。";
    QTest::newRow("every sound refused")
        << 1 << "" << QStringList() << QStringList{"Sound1", "Sound2"}
        << QStringList{"Sound3", "Sound4"} << QStringList{"Sound2", "Sound1", "Sound3", "Sound4"}
        << none;
}

// An alarm whose sound cannot play rings the next one that can, and says in
// the alarm which could not and why; so does the options window's test play.
void TestAlarm::soundThatCannotPlayGivesWayAndIsTold() {
    QFETCH(int, index);
    QFETCH(QString, userFile);
    QFETCH(QStringList, removed);
    QFETCH(QStringList, refused);
    QFETCH(QStringList, rejected);
    QFETCH(QStringList, played);
    QFETCH(QString, line);
    AppFixture app(At(10, 29, 0));
    frmMain* main = StartProgram(app, {{K1030, " 一"}});
    for (const QString& name : removed)
        QVERIFY(QFile::remove(app.Folder() + name));
    if (!userFile.isEmpty()) {
        if (userFile != "gone.mp3") app.WriteFile(userFile, "not a sound");
        SoundFilePath = app.Folder() + userFile;
    }
    SoundIndex = std::uint8_t(index);
    app.unplayable = refused;
    app.unplayableLater = rejected;
    QStringList commands;
    for (const QString& alias : played)
        commands << "stop " + alias << "play " + alias + " from 0";

    app.soundCommands.clear();
    TickAt(main, At(10, 30, 0));
    QVERIFY(Alarm()->isVisible());
    QTRY_COMPARE(Alarm()->Label2->Caption(), " 一\n" + line);
    QCOMPARE(app.soundCommands.filter(QRegularExpression("^(stop|play) ")), commands);
    QTest::mouseClick(Alarm()->Command1, Qt::LeftButton);

    QTest::mouseClick(main->Command8, Qt::LeftButton);
    frmOption* options = FormSlot<frmOption>::Get();
    QVERIFY(options);
    app.soundCommands.clear();
    QTest::mouseClick(options->Command3, Qt::LeftButton);
    QTRY_COMPARE(options->lblSoundNote->text(), line);
    QVERIFY(!options->lblSoundNote->isHidden());
    QCOMPARE(app.soundCommands.filter(QRegularExpression("^(stop|play) Sound[1-4]")),
             commands.filter(QRegularExpression("Sound[1-4]")));
}

#ifdef Q_OS_WIN
// winmm itself: a text file named as the user's mp3 is refused, and the
// play goes on to the next sound.
void TestAlarm::winmmRefusalGivesWay() {
    AppFixture app;
    QStringList sent;
    Mci::SetBackend([&sent](const QString& c) {
        sent << c;
        if (!Mci::SendToSystem(c)) Mci::SetSoundImpossible(true);
    });
    app.WriteFile("text.mp3", "not a sound at all\r\n");
    SoundFilePath = app.Folder() + "text.mp3";
    SoundIndex = 4;
    SoundOn = 1;
    OpenSound(SoundFilePath, 5);
    QString told;
    PlayAlarmSound([&told](const QString& line) { told = line; });
    QCOMPARE(sent.mid(1, 4),
             QStringList({"stop Sound5", "play Sound5 from 0", "stop Sound1", "play Sound1 from 0"}));
    QVERIFY(!told.isEmpty());
    CloseAllSounds();
    Mci::SetBackend([](const QString&) {});
}
#endif

void TestAlarm::alarmDuringQuestionAnswersNo() {
    AppFixture app(At(10, 29, 0));
    frmMain* main = StartProgram(app, {{K1030, " x"}});
    QTimer::singleShot(10, [main] { TickAt(main, At(10, 30, 0)); });
    QVERIFY(!AskQuestion("よろしいですか？"));
    QCOMPARE(AnswerCode, std::uint8_t(2));
    QVERIFY(Alarm()->isVisible());
    QVERIFY(!main->Command3->isEnabled()); // the alarm window keeps the lock
}

void TestAlarm::clockJumpsLoseNothingAndFireNothingTwice() {
    AppFixture app(At(10, 0, 0));
    frmMain* main = StartProgram(app, {{K1030, " 一"}, {K1031, " 二"}, {K1100, " 三"}});
    // Resume from sleep at 11:20: one appointment a tick, none skipped.
    for (int s : {0, 5, 10})
        TickAt(main, At(11, 20, s));
    QCOMPARE(ScheduleCount, 0);
    QCOMPARE(HistoryText.count("\r\n"), 2);
    QVERIFY(HistoryText.startsWith("2026/12/07/11:20/ 三"));
    QVERIFY(HistoryText.endsWith("/ 一"));
    // Back to 10:00: nothing fires again and nothing is lost.
    const QString history = HistoryText;
    for (int s : {0, 5})
        TickAt(main, At(10, 30, s));
    QCOMPARE(HistoryText, history);
}

void TestAlarm::pickerFollowsTheDayAtFiveSeconds() {
    AppFixture app(At(23, 59, 0, 6));
    frmMain* main = StartProgram(app, {});
    for (int s : {4, 6}) {
        TickAt(main, At(0, 0, s));
        QCOMPARE(main->PickerDate(), QString("2026/12/06"));
    }
    TickAt(main, At(0, 0, 5));
    QCOMPARE(main->PickerDate(), QString("2026/12/07"));
}

void TestAlarm::hiddenTickSleepsUntilSomethingIsDue_data() {
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<QString>("due");
    QTest::addColumn<int>("jumpSecs"); // the clock's jump during the first sleep
    QTest::addColumn<QDateTime>("earliest");
    QTest::addColumn<int>("maxWakes");
    QTest::newRow("alarm in its minute")
        << At(10, 27, 13).addMSecs(400) << K1030 << 0 << At(10, 30, 0) << 4;
    QTest::newRow("picker at midnight")
        << At(23, 58, 30, 6).addMSecs(700) << QString() << 0 << At(0, 0, 5) << 3;
    QTest::newRow("clock jumps ahead") << At(10, 0, 0) << K1100 << 3600 << At(11, 1, 0) << 2;
    QTest::newRow("clock jumps back") << At(10, 59, 50) << K1100 << -3600 << At(11, 0, 0) << 63;
}

// Hidden in the notification area, the program sleeps as long as the timer
// says between ticks; what is due still happens within its first five seconds.
void TestAlarm::hiddenTickSleepsUntilSomethingIsDue() {
    QFETCH(QDateTime, start);
    QFETCH(QString, due);
    QFETCH(int, jumpSecs);
    QFETCH(QDateTime, earliest);
    QFETCH(int, maxWakes);
    AppFixture app(start);
    frmMain* main =
        StartProgram(app, due.isEmpty() ? QList<QPair<QString, QString>>()
                                        : QList<QPair<QString, QString>>{{due, " 歯医者"}});
    main->setWindowState(Qt::WindowMinimized);
    QVERIFY(!main->isVisible());
    const QString startDate = main->PickerDate();
    const QString unseenCaption = main->windowTitle();
    QDateTime now = start;
    TickAt(main, now);
    int wakes = 0;
    while (HistoryText.isEmpty() && main->PickerDate() == startDate && wakes <= maxWakes) {
        QVERIFY(main->Timer1->interval() <= 60020);
        now = now.addMSecs(main->Timer1->interval() + (wakes == 0 ? jumpSecs * 1000LL : 0));
        TickAt(main, now);
        ++wakes;
    }
    QVERIFY2(wakes <= maxWakes, qPrintable(QString::number(wakes)));
    QVERIFY2(now >= earliest && now < earliest.addSecs(5), qPrintable(now.toString()));
    if (!due.isEmpty()) QVERIFY(Alarm()->isVisible());
    QCOMPARE(main->windowTitle(), unseenCaption);
    // Brought back, the caption shows the time at once and ticks every second.
    Clock::Set(now.addSecs(1));
    emit app.tray->LeftButtonDown();
    QCOMPARE(main->windowTitle(), "velsokura　" + Clock::Caption(now.addSecs(1)));
    QCOMPARE(main->Timer1->interval(), 1000);
}

void TestAlarm::hiddenTickWakesWhenTheClockMoves_data() {
    QTest::addColumn<bool>("resume");
    QTest::addColumn<bool>("tickOn"); // off: inside the grid rebuild, or at exit
    QTest::newRow("time set") << false << true;
    QTest::newRow("resume") << true << true;
    QTest::newRow("time set, tick off") << false << false;
}

// The sleeping timer sees neither a suspend nor a new time of day; the
// system's notice wakes the tick, and what is due rings within five seconds.
void TestAlarm::hiddenTickWakesWhenTheClockMoves() {
    QFETCH(bool, resume);
    QFETCH(bool, tickOn);
    AppFixture app(At(10, 0, 0));
    frmMain* main = StartProgram(app, {{K1030, " 歯医者"}});
    main->setWindowState(Qt::WindowMinimized);
    QVERIFY(!main->isVisible());
    QCoreApplication::processEvents(); // what the window system still says of the show
    TickAt(main, At(10, 0, 0));
    const int sleep = main->Timer1->interval();
    QCOMPARE(sleep, 60020);
    if (tickOn) main->Timer1->start(); // a minute away: the test ticks itself
    Clock::Set(At(10, 30, 2));
    TellClockMoved(main, resume);
    if (!tickOn) {
        QCOMPARE(main->Timer1->interval(), sleep);
        QCOMPARE(AlarmFired, std::uint8_t(0));
        return;
    }
    QTRY_VERIFY2(main->Timer1->interval() <= 3020,
                 qPrintable(QString::number(main->Timer1->interval())));
    main->Timer1->stop();
    QCOMPARE(AlarmFired, std::uint8_t(1));
    TickAt(main, At(10, 30, 2).addMSecs(main->Timer1->interval()));
    QVERIFY(Alarm()->isVisible());
    QCOMPARE(HistoryText, K1030 + "/ 歯医者");
}

void TestAlarm::pickerShowsTodayWhenShown_data() {
    QTest::addColumn<int>("chosenDay");
    QTest::addColumn<QString>("shown");
    QTest::newRow("left on the day before") << 6 << "2026/12/07";
    QTest::newRow("a later day chosen") << 9 << "2026/12/09";
}

// The clock passes midnight while the window is hidden: shown again, the
// picker does not offer a past day that Add would refuse.
void TestAlarm::pickerShowsTodayWhenShown() {
    QFETCH(int, chosenDay);
    QFETCH(QString, shown);
    AppFixture app(At(23, 50, 0, 6));
    frmMain* main = StartProgram(app, {});
    main->SetPickerDate(QString("2026/12/%1").arg(chosenDay, 2, 10, QChar('0')));
    main->setWindowState(Qt::WindowMinimized);
    QVERIFY(!main->isVisible());
    TickAt(main, At(8, 0, 0));
    emit app.tray->LeftButtonDown();
    QCOMPARE(main->PickerDate(), shown);
    BoxAnswerer boxes;
    TypeText(main->Text1, "9");
    TypeText(main->Text2, "0");
    QTest::mouseClick(main->Command1, Qt::LeftButton);
    QCOMPARE(boxes.texts, QStringList());
    QCOMPARE(main->MSFlexGrid1->TextMatrix(1, 1), shown + "/09:00");
}

QTEST_MAIN(TestAlarm)
#include "test_alarm.moc"
