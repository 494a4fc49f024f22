// Start-up from the real files: missed schedules, notices, the lock, the
// refusals, Cancel, and the exit that writes the files back.

#include "TestSupport.h"
#include "app/frmMain.h"
#include "core/Colors.h"
#include "core/Twips.h"
#include "core/mdlMain.h"
#include "dialogs/MessageWaits.h"
#include "dialogs/VbLabel.h"
#include "dialogs/frm2Message.h"
#include "dialogs/frmMessage.h"
#include "dialogs/frmStatus.h"
#include "history/frmRireki.h"
#include "platform/AppPaths.h"
#include "platform/SingleInstance.h"
#include "store/FlexGrid.h"
#include "store/ScheduleFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryFile>
#include <QtTest>
#include <memory>
#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cstddef>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace mdlMain;

namespace {

// Now is 2026/12/07 10:00:30.
const QString Past1 = QStringLiteral("2026/12/06/08:00");
const QString Past2 = QStringLiteral("2026/12/07/09:59");
const QString ThisMinute = QStringLiteral("2026/12/07/10:00");
const QString LaterToday = QStringLiteral("2026/12/07/18:30");
const QString Tomorrow = QStringLiteral("2026/12/08/09:00");

frmMain* Start(AppFixture& app) {
    frmMain* main = app.NewMain();
    main->Form_Load();
    return main;
}

// An installed copy: the program in BIN and its defaults in DEFAULTS, both
// under the fixture's folder, and a user data folder of its own. Without
// DEFAULTS, the Debian package's layout: share/velsokura beside BIN.
void Install(const AppFixture& app, const QString& bin, QString defaultsFolder = {}) {
    if (defaultsFolder.isEmpty()) defaultsFolder = bin + "/../share/velsokura";
    AppPaths::SetExecutableFolder(app.Folder() + bin);
    AppPaths::SetUserDataFolder(app.Folder() + "home/velsokura");
    const QString defaults = QDir::cleanPath(app.Folder() + defaultsFolder) + '/';
    const QList<QPair<QString, QByteArray>> files = {
        {"velsokura.txt", "0\r\n"}, {"AppData.txt", "1,0,0,\r\n"}, {"Mirato1.mp3", "ID3 chime"}};
    QDir().mkpath(app.Folder() + bin);
    QDir().mkpath(defaults);
    for (const auto& [name, bytes] : files) {
        QFile f(defaults + name);
        if (f.open(QIODevice::WriteOnly)) f.write(bytes);
    }
}

QString NoticeText() {
    frmMessage* alarm = FormSlot<frmMessage>::Get();
    return alarm && alarm->isVisible() ? alarm->Label2->Caption() : QString();
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
  private slots:
    void freshInstallShowsEmptyGrid();
    void missedSchedulesGoToHistoryNewestFirst();
    void onlyScheduleMissedLeavesEmptyRow();
    void noticeTexts_data();
    void noticeTexts();
    void missedEntriesGoInFrontOfStoredHistory();
    void storedHistoryAloneLightsHistoryButton();
    void maskFrameFollowsRows_data();
    void maskFrameFollowsRows();
    void secondInstanceIsRefused();
    void saveLeftoversGoOnceTheLockIsHeld();
    void folderPathLimit();
    void installedCopyUsesUserDataFolder_data();
    void installedCopyUsesUserDataFolder();
    void dataFolderMadeWithItsDefaults_data();
    void dataFolderMadeWithItsDefaults();
    void installedCopiesShareOneLockPerUser();
    void installedPathLimit();
    void missingFilesEndWithoutWriting_data();
    void missingFilesEndWithoutWriting();
    void cancelWhileReadingEndsWithoutWriting_data();
    void cancelWhileReadingEndsWithoutWriting();
    void exitWritesEveryFile();
    void closeBoxRefusedWhileAlarmWindowWaits();
    void tickDuringStartupWaitFiresNothing();
    void lockHoldsWhileNoticeIsUp_data();
    void lockHoldsWhileNoticeIsUp();
    void oneProgramPerFolderWhateverTheEnvironment_data();
    void oneProgramPerFolderWhateverTheEnvironment();
    void noOtherUserKeepsTheProgramFromStarting();
};

void TestStartup::freshInstallShowsEmptyGrid() {
    AppFixture app;
    app.WriteFile("velsokura.txt", "0\r\n");
    app.WriteFile("AppData.txt", "1,0,0,\r\n");
    BoxAnswerer boxes;
    frmMain* main = Start(app);
    QVERIFY(boxes.texts.isEmpty());
    QCOMPARE(ProgramEnded, std::uint8_t(0));
    QCOMPARE(AdShown, std::uint8_t(1));
    QCOMPARE(FirstTickPending, std::uint8_t(1));
    QCOMPARE(MessageWindowUp, std::uint8_t(0));
    FlexGrid* g = main->MSFlexGrid1;
    QCOMPARE(g->Rows(), 2);
    QCOMPARE(g->TextMatrix(0, 1), ScheduleFile::HeaderKey);
    QCOMPARE(g->TextMatrix(0, 2), ScheduleFile::HeaderText);
    QCOMPARE(g->ColWidthTw(0), 0.0);
    QCOMPARE(g->ColWidthTw(2), 8500.0);
    QVERIFY(!main->Command6->isEnabled());
    QCOMPARE(Colors::BackColor(main->Command6), Colors::LightGrey);
    QVERIFY(!main->Command4->isEnabled());
    for (QPushButton* b : {main->Command1, main->Command2, main->Command5, main->Command7})
        QVERIFY(!b->isEnabled());
    for (QPushButton* b : {main->Command3, main->Command8})
        QVERIFY(b->isEnabled());
    QCOMPARE(main->PickerDate(), QString("2026/12/07"));
    QVERIFY(main->windowState() & Qt::WindowMinimized);
    QVERIFY(!FormSlot<frmStatus>::Loaded());
    QVERIFY(FormSlot<frmMessage>::Loaded());
    QCOMPARE(app.soundCommands.size(), 4);
    QCOMPARE(app.soundCommands[1], "open \"" +
                                       QDir::toNativeSeparators(app.Folder() + "blackout4.mp3") +
                                       "\" alias Sound2");
}

void TestStartup::missedSchedulesGoToHistoryNewestFirst() {
    AppFixture app;
    app.WriteDefaults();
    app.WriteText("velsokura.txt", "1\r\n" + ScheduleLine(Past1, " 一") + "\r\n" +
                                       ScheduleLine(Past2, " 二") + "\r\n" +
                                       ScheduleLine(Tomorrow, " 三") + "\r\n\r\n");
    frmMain* main = Start(app);
    QCOMPARE(HistoryText, Past2 + "/ 二\r\n" + Past1 + "/ 一");
    QCOMPARE(ScheduleCount, 1);
    QCOMPARE(main->MSFlexGrid1->Rows(), 2);
    QCOMPARE(main->MSFlexGrid1->TextMatrix(1, 1), Tomorrow);
    QCOMPARE(NoticeText(), QString("流れた予定の履歴があります。"));
    QCOMPARE(MessageWindowUp, std::uint8_t(1));
    // Locked, with History usable and yellow.
    QVERIFY(main->Command6->isEnabled());
    QCOMPARE(Colors::BackColor(main->Command6), Colors::Yellow);
    for (QWidget* w : {static_cast<QWidget*>(main->Command1), static_cast<QWidget*>(main->Command3),
                       static_cast<QWidget*>(main->Command8), static_cast<QWidget*>(main->Text3),
                       static_cast<QWidget*>(main->MSFlexGrid1)})
        QVERIFY(!w->isEnabled());
}

void TestStartup::onlyScheduleMissedLeavesEmptyRow() {
    AppFixture app;
    app.WriteDefaults();
    // Equal minute counts as passed, whatever the seconds.
    app.WriteText("velsokura.txt", "1\r\n" + ScheduleLine(ThisMinute, " 今") + "\r\n");
    frmMain* main = Start(app);
    QCOMPARE(ScheduleCount, 0);
    QCOMPARE(main->MSFlexGrid1->Rows(), 2);
    QVERIFY(main->MSFlexGrid1->TextMatrix(1, 1).isEmpty());
    QCOMPARE(HistoryText, ThisMinute + "/ 今\r\n");
    QVERIFY(!main->Command4->isEnabled());
}

void TestStartup::noticeTexts_data() {
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("notice");
    QTest::newRow("today only") << QStringList{LaterToday, Tomorrow}
                                << "本日のお知らせがあります。";
    QTest::newRow("today and missed")
        << QStringList{Past1, LaterToday} << "本日のお知らせ及び流れた予定の履歴があります。";
    QTest::newRow("missed only") << QStringList{Past1, Tomorrow} << "流れた予定の履歴があります。";
    QTest::newRow("nothing") << QStringList{Tomorrow} << "";
}

void TestStartup::noticeTexts() {
    QFETCH(QStringList, keys);
    QFETCH(QString, notice);
    AppFixture app;
    app.WriteDefaults();
    QString file = "1\r\n";
    for (const QString& k : keys)
        file += ScheduleLine(k, " x") + "\r\n";
    app.WriteText("velsokura.txt", file + "\r\n");
    Shows shows("frmMessage");
    Start(app);
    QCOMPARE(NoticeText(), notice);
    if (notice.isEmpty()) return;
    frmMessage* alarm = FormSlot<frmMessage>::Get();
    // Shown once, at its final size: a window manager may keep a window
    // resized after mapping where it first put it, off centre.
    QCOMPARE(shows.count, 1);
    QCOMPARE(shows.geometry.size(), alarm->size());
    // The window fits the notice, which sits centred with the OK button.
    const double width = alarm->WidthTw();
    QCOMPARE(width, Twips::FromPxX(Twips::ToPxX(Twips::Width(alarm->Label2) + 1500)));
    QVERIFY(qAbs(Twips::Left(alarm->Label2) + Twips::Width(alarm->Label2) / 2 - width / 2) < 1);
    QVERIFY(qAbs(Twips::Left(alarm->Command1) + Twips::Width(alarm->Command1) / 2 - width / 2) < 1);
    QCOMPARE(OffCentre(alarm), QString());
    // The notice has no date: no empty bold row above it.
    QVERIFY(!alarm->Label1->isVisibleTo(alarm));
    QCOMPARE(alarm->Label2->y(), alarm->Label1->y());
}

void TestStartup::missedEntriesGoInFrontOfStoredHistory() {
    AppFixture app;
    app.WriteDefaults();
    app.WriteText("RirekiData.dat", "2026/11/01/10:00/ 古い\r\n2026/10/01/10:00/ もっと古い\r\n");
    app.WriteText("velsokura.txt", "1\r\n" + ScheduleLine(Past1, " 一") + "\r\n");
    Start(app);
    QCOMPARE(HistoryText, Past1 + "/ 一\r\n2026/11/01/10:00/ 古い\r\n2026/10/01/10:00/ もっと古い");
}

void TestStartup::storedHistoryAloneLightsHistoryButton() {
    AppFixture app;
    app.WriteDefaults();
    app.WriteText("RirekiData.dat", "2026/11/01/10:00/ 古い\r\n");
    frmMain* main = Start(app);
    QCOMPARE(NoticeText(), QString());
    QCOMPARE(HistoryText, QString("2026/11/01/10:00/ 古い"));
    QVERIFY(main->Command6->isEnabled());
    QCOMPARE(Colors::BackColor(main->Command6), Colors::Yellow);
}

void TestStartup::maskFrameFollowsRows_data() {
    QTest::addColumn<int>("schedules");
    QTest::addColumn<double>("top");
    QTest::addColumn<double>("height");
    QTest::newRow("none") << 0 << 575.0 << 4565.0;
    QTest::newRow("one") << 1 << 575.0 << 4565.0;
    QTest::newRow("three") << 3 << 575.0 + 2 * 225 << 4565.0 - 2 * 225;
    QTest::newRow("twenty-five") << 25 << 120.0 + 5015 - 1 << 1.0;
}

void TestStartup::maskFrameFollowsRows() {
    QFETCH(int, schedules);
    QFETCH(double, top);
    QFETCH(double, height);
    AppFixture app;
    app.WriteDefaults();
    QString file = "1\r\n";
    for (int i = 0; i < schedules; ++i)
        file +=
            ScheduleLine(QString("2027/01/%1/10:00").arg(i + 1, 2, 10, QChar('0')), " x") + "\r\n";
    app.WriteText("velsokura.txt", file);
    frmMain* main = Start(app);
    QCOMPARE(Twips::Top(main->Frame1), top);
    QCOMPARE(Twips::Height(main->Frame1), height);
    QCOMPARE(main->Command4->isEnabled(), schedules > 0);
}

void TestStartup::secondInstanceIsRefused() {
    AppFixture app;
    app.WriteDefaults();
    Start(app);
    QCOMPARE(ProgramEnded, std::uint8_t(0));
    // The first instance holds its lock; a second start from the same folder fails.
    BoxAnswerer boxes;
    frmMain* second = app.NewMain();
    second->Form_Load();
    QCOMPARE(boxes.texts, QStringList{"velsokuraはすでに起動されています。"});
    QCOMPARE(ProgramEnded, std::uint8_t(1));
}

// What a save killed before its last step leaves beside a data file is a
// temporary file named as Qt names them; only those go.
void TestStartup::saveLeftoversGoOnceTheLockIsHeld() {
    AppFixture app;
    app.WriteDefaults();
    Start(app); // holds the lock
    QStringList leftovers;
    for (const QString name : {"velsokura.txt", "AppData.txt", "RirekiData.dat"}) {
        QTemporaryFile temp(app.Folder() + name);
        temp.setAutoRemove(false);
        QVERIFY(temp.open());
        temp.write("1\r\n");
        leftovers << QFileInfo(temp.fileName()).fileName();
    }
    const QStringList others = {"velsokura.txt.bak",     "velsokura.txt.Ab1dEf",
                                "velsokura.txt.AbcdE",   "velsokura.txt.AbcdEfG",
                                "notes.txt.AbcdEf",      "AppData.txt.AbcdEf.txt",
                                "xRirekiData.dat.AbcdEf"};
    for (const QString& name : others)
        app.WriteFile(name, "keep");
    QVERIFY(QDir(app.Folder()).mkdir("velsokura.txt.FolDer"));
    const QStringList all = QDir(app.Folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    BoxAnswerer boxes;
    app.NewMain()->Form_Load(); // a second instance touches nothing
    QCOMPARE(boxes.texts, QStringList{"velsokuraはすでに起動されています。"});
    QCOMPARE(QDir(app.Folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), all);

    app.NewRun();
    Start(app);
    QStringList left = all;
    for (const QString& name : leftovers)
        left.removeOne(name);
    QCOMPARE(QDir(app.Folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), left);
}

void TestStartup::folderPathLimit() {
    {
        AppFixture app;
        // AppFolder gets one separator more than the folder.
        QString folder = app.Folder() + "p";
        folder += QString(230 - folder.size(), QChar('x'));
        QVERIFY(QDir().mkpath(folder));
        AppPaths::SetExecutableFolder(folder);
        QFile f1(folder + "/velsokura.txt");
        QVERIFY(f1.open(QIODevice::WriteOnly));
        f1.write("1\r\n");
        f1.close();
        QFile f2(folder + "/AppData.txt");
        QVERIFY(f2.open(QIODevice::WriteOnly));
        f2.write("1,0,0,\r\n");
        f2.close();
        BoxAnswerer boxes;
        Start(app);
        QCOMPARE(AppFolder.size(), 231);
        QCOMPARE(ProgramEnded, std::uint8_t(0));
        QVERIFY(boxes.texts.isEmpty());
    }
    AppFixture app;
    app.WriteDefaults();
    const QString tooLong = app.Folder() + QString(231 - app.Folder().size(), QChar('y'));
    QVERIFY(QDir().mkpath(tooLong));
    AppPaths::SetExecutableFolder(tooLong);
    BoxAnswerer boxes;
    Start(app);
    QCOMPARE(AppFolder.size(), 232);
    QCOMPARE(boxes.texts, QStringList{"velsokuraのパスが長すぎます。"});
    QCOMPARE(ProgramEnded, std::uint8_t(1));
}

void TestStartup::installedCopyUsesUserDataFolder_data() {
    QTest::addColumn<QString>("bin");
    QTest::addColumn<QString>("defaults");
    QTest::addColumn<QByteArray>("userSchedules"); // empty: no user data folder yet
    QTest::addColumn<QByteArray>("userSettings");
    QTest::addColumn<QByteArray>("schedulesAtExit");
    const QByteArray own = Cp932::Encode("1\r\n" + ScheduleLine(Tomorrow, " 明日") + "\r\n");
    // The Debian package, and the Windows installer (a folder the user may write to).
    const QStringList layouts[] = {{"usr/bin", "usr/share/velsokura"},
                                   {"Programs/velsokura", "Programs/velsokura/defaults"}};
    for (const QStringList& layout : layouts) {
        const QByteArray where = layout[0].toUtf8();
        QTest::newRow(where + ": first start copies the defaults")
            << layout[0] << layout[1] << QByteArray() << QByteArray("1,0,0,\r\n")
            << QByteArray("1\r\n");
        QTest::newRow(where + ": the user's files stay")
            << layout[0] << layout[1] << own << QByteArray("0,2,1,\r\n") << own;
    }
}

void TestStartup::installedCopyUsesUserDataFolder() {
    QFETCH(QString, bin);
    QFETCH(QString, defaults);
    QFETCH(QByteArray, userSchedules);
    QFETCH(QByteArray, userSettings);
    QFETCH(QByteArray, schedulesAtExit);
    AppFixture app;
    Install(app, bin, defaults);
    const QString user = app.Folder() + "home/velsokura/";
    if (!userSchedules.isEmpty()) {
        QVERIFY(QDir().mkpath(user));
        app.WriteFile("home/velsokura/velsokura.txt", userSchedules);
        app.WriteFile("home/velsokura/AppData.txt", userSettings);
    }
    BoxAnswerer boxes;
    frmMain* main = Start(app);
    QCOMPARE(AppFolder, user);
    QCOMPARE(ProgramEnded, std::uint8_t(0));
    QVERIFY(boxes.texts.isEmpty());
    QCOMPARE(app.ReadFile("home/velsokura/Mirato1.mp3"),
             userSchedules.isEmpty() ? QByteArray("ID3 chime") : QByteArray());
    QTest::mouseClick(main->Command3, Qt::LeftButton);
    QCOMPARE(app.ReadFile("home/velsokura/velsokura.txt"), schedulesAtExit);
    QCOMPARE(app.ReadFile("home/velsokura/AppData.txt"), userSettings);
    QCOMPARE(app.ReadFile("home/velsokura/RirekiData.dat"), QByteArray("\r\n"));
    QVERIFY(QDir(app.Folder() + bin).entryList(QDir::Files).isEmpty());
    QCOMPARE(QDir(app.Folder() + defaults).entryList(QDir::Files),
             QStringList({"AppData.txt", "Mirato1.mp3", "velsokura.txt"}));
}

void TestStartup::dataFolderMadeWithItsDefaults_data() {
    QTest::addColumn<QString>("before"); // the user data folder: none, empty, by hand
    QTest::addColumn<bool>("shareWritable");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("sound1"); // where sound 1 plays from
    const QString moved = "「%1copy」には書き込めないため、データを「%1home/velsokura」に"
                          "コピーしました。これからはこちらに保存します。";
    QTest::newRow("first start") << "none" << true << moved << "home/velsokura/";
    QTest::newRow("left empty by an earlier start")
        << "empty" << true << moved << "home/velsokura/";
    QTest::newRow("made by hand, without sounds") << "by hand" << true << "" << "copy/";
    QTest::newRow("a share folder the user cannot write")
        << "none" << false
        << "データフォルダ「%1home/velsokura」を作成できません。「%1home」に書き込む権限がありません。"
        << "";
}

// A copy in a folder the user may not write keeps its data in the user's
// folder, made together with the copy's own data, its history and exports
// too; the user is told once where the data now is. A folder the user made
// keeps its own.
void TestStartup::dataFolderMadeWithItsDefaults() {
#ifndef Q_OS_UNIX
    QSKIP("file modes cannot refuse a folder here");
#else
    RUN_AS_ORDINARY_USER();
    QFETCH(QString, before);
    QFETCH(bool, shareWritable);
    QFETCH(QString, message);
    QFETCH(QString, sound1);
    AppFixture app;
    const QString copy = app.Folder() + "copy/";
    const QString user = app.Folder() + "home/velsokura/";
    QDir().mkpath(copy);
    const QByteArray history = Cp932::Encode("2026/11/01/10:00/ 古い\r\n");
    const QString exported = "Rireki/2026_11_01_10_05_00_0001.txt";
    app.WriteFile("copy/velsokura.txt", "1\r\n");
    app.WriteFile("copy/AppData.txt", "1,2,1,\r\n");
    app.WriteFile("copy/Mirato1.mp3", "ID3 chime");
    app.WriteFile("copy/RirekiData.dat", history);
    QDir().mkpath(copy + "Rireki");
    app.WriteFile("copy/" + exported, history);
    if (before != "none") QDir().mkpath(user);
    if (before == "by hand") {
        app.WriteFile("home/velsokura/velsokura.txt", "1\r\n");
        app.WriteFile("home/velsokura/AppData.txt", "1,0,0,\r\n");
    }
    QDir().mkpath(app.Folder() + "home");
    const auto readOnly = QFileDevice::ReadOwner | QFileDevice::ExeOwner;
    QVERIFY(QFile::setPermissions(copy, readOnly));
    if (!shareWritable) QVERIFY(QFile::setPermissions(app.Folder() + "home", readOnly));
    AppPaths::SetExecutableFolder(copy);
    AppPaths::SetUserDataFolder(user);
    BoxAnswerer boxes;
    frmMain* main = Start(app);
    const auto writable = readOnly | QFileDevice::WriteOwner;
    QFile::setPermissions(copy, writable);
    QFile::setPermissions(app.Folder() + "home", writable);
    const QString folder = QDir::toNativeSeparators(app.Folder());
    QCOMPARE(boxes.texts.join("/"), message.isEmpty() ? QString() : message.arg(folder));
    if (!shareWritable) {
        QCOMPARE(ProgramEnded, std::uint8_t(1));
        QCOMPARE(QDir(app.Folder() + "home").entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
        return;
    }
    QCOMPARE(ProgramEnded, std::uint8_t(0));
    QCOMPARE(app.soundCommands.filter("alias Sound1").value(0),
             "open \"" + QDir::toNativeSeparators(app.Folder() + sound1 + "Mirato1.mp3") +
                 "\" alias Sound1");
    const bool taken = before != "by hand";
    QCOMPARE(app.ReadFile("home/velsokura/RirekiData.dat"), taken ? history : QByteArray());
    QCOMPARE(app.ReadFile("home/velsokura/" + exported), taken ? history : QByteArray());
    QCOMPARE(HistoryText, taken ? QString("2026/11/01/10:00/ 古い") : QString());
    QTest::mouseClick(main->Command3, Qt::LeftButton);
    QCOMPARE(app.ReadFile("home/velsokura/velsokura.txt"), QByteArray("1\r\n"));
    QCOMPARE(app.ReadFile("home/velsokura/AppData.txt"),
             QByteArray(taken ? "1,2,1,\r\n" : "1,0,0,\r\n"));
    QCOMPARE(app.ReadFile("home/velsokura/RirekiData.dat"), taken ? history : QByteArray("\r\n"));
    // Told once: the next start finds the folder as it is.
    QFile::setPermissions(copy, readOnly);
    boxes.texts.clear();
    RestartProgram(app);
    QFile::setPermissions(copy, writable);
    QCOMPARE(AppFolder, user);
    QCOMPARE(boxes.texts, QStringList());
    QCOMPARE(app.ReadFile("copy/RirekiData.dat"), history);
#endif
}

void TestStartup::installedCopiesShareOneLockPerUser() {
    AppFixture app;
    Install(app, "usr/bin");
    BoxAnswerer boxes;
    Start(app);
    QCOMPARE(ProgramEnded, std::uint8_t(0));
    // Another installed copy on the same user data folder.
    Install(app, "opt/bin");
    app.NewMain()->Form_Load();
    QCOMPARE(boxes.texts, QStringList{"velsokuraはすでに起動されています。"});
    QCOMPARE(ProgramEnded, std::uint8_t(1));
}

void TestStartup::installedPathLimit() {
    AppFixture app;
    Install(app, "usr/bin");
    const QString user = app.Folder() + QString(231 - app.Folder().size(), QChar('u'));
    AppPaths::SetUserDataFolder(user);
    BoxAnswerer boxes;
    Start(app);
    QCOMPARE(AppFolder.size(), 232);
    QCOMPARE(boxes.texts, QStringList{"velsokuraのパスが長すぎます。"});
    QVERIFY(!QFileInfo::exists(user));
}

void TestStartup::missingFilesEndWithoutWriting_data() {
    QTest::addColumn<QString>("missing");
    QTest::addColumn<QString>("message");
    QTest::newRow("schedule file") << "velsokura.txt"
                                   << "「velsokura.txt」が見つかりません。";
    QTest::newRow("settings file") << "AppData.txt"
                                   << "「AppData.txt」が見つかりません。";
}

void TestStartup::missingFilesEndWithoutWriting() {
    QFETCH(QString, missing);
    QFETCH(QString, message);
    AppFixture app;
    app.WriteDefaults();
    app.WriteText("RirekiData.dat", "2026/11/01/10:00/ 古い\r\n");
    QVERIFY(QFile::remove(app.Folder() + missing));
    const QStringList before = QDir(app.Folder()).entryList(QDir::Files);
    BoxAnswerer boxes;
    Start(app);
    QCOMPARE(boxes.texts, QStringList{message});
    QCOMPARE(ProgramEnded, std::uint8_t(1));
    QCOMPARE(QDir(app.Folder()).entryList(QDir::Files), before);
    QCOMPARE(app.ReadFile("RirekiData.dat"), Cp932::Encode("2026/11/01/10:00/ 古い\r\n"));
}

void TestStartup::cancelWhileReadingEndsWithoutWriting_data() {
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("clickAtPump");
    QTest::newRow("small file") << 50 << 1;
    QTest::newRow("large file, mid-way") << 20000 << 4;
}

void TestStartup::cancelWhileReadingEndsWithoutWriting() {
    QFETCH(int, lines);
    QFETCH(int, clickAtPump);
    AppFixture app;
    app.WriteDefaults();
    QString file = "1\r\n";
    for (int i = 0; i < lines; ++i)
        file += ScheduleLine(QString("2027/02/%1/10:00").arg(i % 28 + 1, 2, 10, QChar('0')), " x") +
                "\r\n";
    app.WriteText("velsokura.txt", file);
    // A zero timer runs once in every round of pending events.
    int pumps = 0;
    QTimer clicker;
    clicker.setInterval(0);
    connect(&clicker, &QTimer::timeout, [&] {
        if (++pumps != clickAtPump) return;
        if (frmStatus* status = FormSlot<frmStatus>::Get()) {
            QTest::mouseClick(status->Command1, Qt::LeftButton);
            QTest::mouseClick(status->Command1, Qt::LeftButton);
        }
    });
    clicker.start();
    BoxAnswerer boxes;
    Start(app);
    QCOMPARE(StatusCancelled, std::uint8_t(1));
    QCOMPARE(ProgramEnded, std::uint8_t(1));
    QVERIFY(boxes.texts.isEmpty());
    QCOMPARE(app.ReadFile("velsokura.txt"), Cp932::Encode(file));
    QVERIFY(!app.Exists("RirekiData.dat"));
}

void TestStartup::exitWritesEveryFile() {
    AppFixture app;
    app.WriteFile("velsokura.txt", "0\r\n");
    app.WriteFile("AppData.txt", "1,2,0,\r\n");
    app.WriteText("RirekiData.dat", "2026/11/01/10:00/ 古い\r\n");
    frmMain* main = Start(app);
    // A run's edit adds a schedule; the exit writes it with the first-run line.
    main->MSFlexGrid1->SetTextMatrix(1, 1, Tomorrow);
    main->MSFlexGrid1->SetTextMatrix(1, 2, " 明日");
    ScheduleCount = 1;
    app.soundCommands.clear();
    QTest::mouseClick(main->Command3, Qt::LeftButton);
    QCOMPARE(ProgramEnded, std::uint8_t(1));
    QCOMPARE(Quitting, std::uint8_t(1));
    QCOMPARE(app.ReadFile("velsokura.txt"),
             Cp932::Encode("1\r\n" + ScheduleLine(Tomorrow, " 明日") + "\r\n"));
    QCOMPARE(app.ReadFile("AppData.txt"), QByteArray("1,2,0,\r\n"));
    QCOMPARE(app.ReadFile("RirekiData.dat"), Cp932::Encode("2026/11/01/10:00/ 古い\r\n"));
    QCOMPARE(app.soundCommands,
             QStringList({"stop Sound1", "close Sound1", "stop Sound2", "close Sound2",
                          "stop Sound3", "close Sound3", "stop Sound4", "close Sound4",
                          "stop Sound5", "close Sound5"}));
}

void TestStartup::closeBoxRefusedWhileAlarmWindowWaits() {
    AppFixture app;
    app.WriteDefaults();
    app.WriteText("velsokura.txt", "1\r\n" + ScheduleLine(LaterToday, " x") + "\r\n");
    frmMain* main = Start(app);
    QCOMPARE(MessageWindowUp, std::uint8_t(1));
    const QByteArray before = app.ReadFile("velsokura.txt");
    main->close();
    QCOMPARE(ProgramEnded, std::uint8_t(0));
    QVERIFY(!main->IsUnloaded());
    QCOMPARE(app.ReadFile("velsokura.txt"), before);
    // The alarm window refuses its close box too; OK acknowledges.
    frmMessage* alarm = FormSlot<frmMessage>::Get();
    alarm->close();
    QVERIFY(FormSlot<frmMessage>::Loaded());
    QTest::mouseClick(alarm->Command1, Qt::LeftButton);
    QCOMPARE(MessageWindowUp, std::uint8_t(0));
    QCOMPARE(StartupNoticePending, std::uint8_t(0));
    QVERIFY(main->Command3->isEnabled());
    main->close();
    QCOMPARE(ProgramEnded, std::uint8_t(1));
    QCOMPARE(app.ReadFile("velsokura.txt"),
             Cp932::Encode("1\r\n" + ScheduleLine(LaterToday, " x") + "\r\n"));
}

void TestStartup::tickDuringStartupWaitFiresNothing() {
    // Saved during a run, not at exit: start-up warns of an unsaved exit and
    // waits; a missed schedule lies behind the warning.
    const QString savedInRun = ScheduleLine(Past1, " 昨日") + "\r\n";
    QMap<QString, QByteArray> orderly;
    for (bool tick : {false, true}) {
        AppFixture app;
        app.WriteDefaults();
        app.WriteText("velsokura.txt", savedInRun);
        frmMain* main = app.NewMain();
        main->Timer1->stop();
        QTimer warningUp;
        connect(&warningUp, &QTimer::timeout, [main, tick] {
            frm2Message* warning = FormSlot<frm2Message>::Get();
            if (!warning || !warning->isVisible()) return;
            if (tick) main->Timer1_Timer(); // second 30: a firing second
            if (FormSlot<frm2Message>::Loaded())
                QTest::mouseClick(warning->cmdMessage, Qt::LeftButton);
        });
        warningUp.start(5);
        main->Form_Load();
        warningUp.stop();
        QCOMPARE(NoticeText(), QString("流れた予定の履歴があります。"));
        if (tick) QCOMPARE(main->windowTitle(), QString("velsokura　2026/12/07/10:00:30"));
        QTest::mouseClick(FormSlot<frmMessage>::Get()->Command1, Qt::LeftButton);
        QTest::mouseClick(main->Command3, Qt::LeftButton);
        if (!tick)
            orderly = app.Files();
        else
            QCOMPARE(app.Files(), orderly);
    }
    QVERIFY(orderly.value("RirekiData.dat").startsWith(Cp932::Encode(Past1 + "/ 昨日\r\n")));
}

void TestStartup::lockHoldsWhileNoticeIsUp_data() {
    QTest::addColumn<QString>("meanwhile");
    QTest::newRow("notice alone") << "";
    QTest::newRow("question box answered") << "question";
    QTest::newRow("history window closed") << "history";
    QTest::newRow("alarm window close box") << "close box";
}

void TestStartup::lockHoldsWhileNoticeIsUp() {
    QFETCH(QString, meanwhile);
    AppFixture app;
    app.WriteDefaults();
    const QString file = "1\r\n" + ScheduleLine(Past1, " 一") + "\r\n" +
                         ScheduleLine(LaterToday, " 二") + "\r\n" + ScheduleLine(Tomorrow, " 三") +
                         "\r\n";
    app.WriteText("velsokura.txt", file);
    frmMain* main = Start(app);
    frmMessage* notice = FormSlot<frmMessage>::Get();
    QVERIFY(notice->isVisible());
    if (meanwhile == "question") {
        BoxAnswerer no(BoxAnswerer::No);
        QVERIFY(!AskQuestion("よろしいですか？"));
    } else if (meanwhile == "history") {
        QTest::mouseClick(main->Command6, Qt::LeftButton);
        QTest::mouseClick(FormSlot<frmRireki>::Get()->Command1, Qt::LeftButton);
    } else if (meanwhile == "close box") {
        notice->close();
    }
    QVERIFY(notice->isVisible());
    for (QWidget* w : LockedControls(main))
        QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
    QVERIFY(main->Command6->isEnabled());
    {
        // Reset cannot empty the file behind the notice.
        BoxAnswerer yes;
        QTest::mouseClick(main->Command4, Qt::LeftButton);
        QVERIFY(yes.texts.isEmpty());
    }
    QTest::mouseClick(notice->Command1, Qt::LeftButton);
    QVERIFY(main->Command3->isEnabled());
    QVERIFY(main->Command4->isEnabled());
    QCOMPARE(ScheduleCount, 2);
}

void TestStartup::oneProgramPerFolderWhateverTheEnvironment_data() {
    QTest::addColumn<QString>("way");
    QTest::newRow("another temporary folder") << "temporary folder";
    QTest::newRow("another spelling of the folder") << "spelling";
#ifdef Q_OS_WIN
    QTest::newRow("another letter case") << "letter case";
    QTest::newRow("the folder's short name") << "short name";
#else
    QTest::newRow("a link to the folder") << "link";
    QTest::newRow("a bind mount of the folder") << "bind mount";
#endif
}

// The second start sees the first, in this process and in another, whatever
// its temporary folder or its way to the folder, and neither start leaves a
// file there; once the first has ended, the same way starts, and the lock
// leaves nothing behind.
void TestStartup::oneProgramPerFolderWhateverTheEnvironment() {
    QFETCH(QString, way);
    AppFixture app;
    app.WriteDefaults();
    QVERIFY(QDir(app.Folder()).mkdir("sub"));
    QTemporaryDir temp;
    QVERIFY(temp.isValid());
    QString folder = app.Folder();
    if (way == "spelling") folder += "sub/../";
    if (way == "letter case") folder = folder.toUpper();
#ifdef Q_OS_WIN
    if (way == "short name") {
        const std::wstring native = QDir::toNativeSeparators(folder).toStdWString();
        wchar_t shortName[MAX_PATH] = {};
        QVERIFY(::GetShortPathNameW(native.c_str(), shortName, MAX_PATH) > 0);
        folder = QDir::fromNativeSeparators(QString::fromWCharArray(shortName));
    }
#endif
    if (way == "link") {
        folder = temp.path() + "/link/";
        QVERIFY(QFile::link(app.Folder(), temp.path() + "/link"));
    }
    const QString mountPoint = temp.path() + "/mount";
    const auto unmount = qScopeGuard([&] {
        if (way != "bind mount") return;
        app.NewRun(); // nothing may stay open under the mount point
        QProcess::execute("umount", {mountPoint});
    });
    if (way == "bind mount") {
        folder = mountPoint + '/';
        QVERIFY(QDir().mkdir(mountPoint));
        if (QProcess::execute("mount", {"--bind", app.Folder(), mountPoint}) != 0)
            QSKIP("a bind mount cannot be made here: only root may mount");
    }
    QVERIFY2(way == "temporary folder" || folder != app.Folder(), qPrintable(folder));
    QVERIFY(QFileInfo::exists(folder + "velsokura.txt"));

    Start(app);
    QCOMPARE(ProgramEnded, std::uint8_t(0));
    const auto before = app.Files();
    QMap<QByteArray, QByteArray> saved;
    for (const char* name : {"TMPDIR", "TMP", "TEMP"}) {
        saved[name] = qgetenv(name);
        if (way == "temporary folder") qputenv(name, QFile::encodeName(temp.path()));
    }
    const auto restore = qScopeGuard([&] {
        for (auto it = saved.cbegin(); it != saved.cend(); ++it)
            qputenv(it.key().constData(), it.value());
    });
    AppPaths::SetExecutableFolder(folder);
    BoxAnswerer boxes;
    app.NewMain()->Form_Load();
    QCOMPARE(boxes.texts, QStringList{"velsokuraはすでに起動されています。"});
    QCOMPARE(ProgramEnded, std::uint8_t(1));
    // A program of its own, which says "ready" only once it holds the lock.
    QProcess second;
    second.start(QCoreApplication::applicationDirPath() + "/crash_child", {folder});
    const bool ran = second.waitForReadyRead(30000);
    second.kill();
    second.waitForFinished();
    QVERIFY2(!ran, "a second process took the lock");
    QCOMPARE(second.exitCode(), 3);
    QCOMPARE(app.Files(), before);

    app.NewRun();
    boxes.texts.clear();
    Start(app);
    QCOMPARE(boxes.texts, QStringList());
    QCOMPARE(ProgramEnded, std::uint8_t(0));
    app.NewRun(); // and the lock's file goes with the lock
    QVERIFY(!QFileInfo::exists(SingleInstance::LockFile(app.Folder())));
}

// Another user does all it can to keep the owner's program from starting,
// after a run of it was killed: it holds a socket named after the folder's
// path (as a lock by name would be), a lock on the folder itself, and a lock
// on every file of the folder it may open.
void TestStartup::noOtherUserKeepsTheProgramFromStarting() {
#ifndef Q_OS_UNIX
    QSKIP("no other user to be had here");
#else
    if (::geteuid() != 0) QSKIP("only root can act as another user");
    const passwd* user = OrdinaryUser();
    if (!user) QSKIP("cannot make an unprivileged user here");
    const uid_t uid = user->pw_uid;
    const gid_t gid = user->pw_gid;
    AppFixture app;
    app.WriteDefaults();
    // A folder others may read, as a program folder usually is.
    QVERIFY(QFile::setPermissions(app.Folder(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                    QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                                    QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                                    QFileDevice::ExeOther));
    {
        QProcess killed;
        killed.start(QCoreApplication::applicationDirPath() + "/crash_child", {app.Folder()});
        QVERIFY(killed.waitForReadyRead(30000));
        killed.kill();
        killed.waitForFinished();
    }
    const QString canonical = QDir(app.Folder()).canonicalPath();
    const QByteArray folder = QFile::encodeName(canonical);
    QList<QByteArray> files;
    for (const QString& name : QDir(canonical).entryList(QDir::Files | QDir::Hidden))
        files << QFile::encodeName(canonical + '/' + name);
    const QByteArray name =
        "velsokura-" +
        QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex().left(32);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.constData(), size_t(name.size()));
    const auto length = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + size_t(name.size()));

    int ready[2], hold[2];
    QVERIFY(::pipe(ready) == 0 && ::pipe(hold) == 0);
    const pid_t other = ::fork();
    if (other == 0) {
        // Only system calls from here: the other user's process.
        ::close(ready[0]);
        ::close(hold[1]);
        char held = 0;
        if (::setgroups(0, nullptr) == 0 && ::setgid(gid) == 0 && ::setuid(uid) == 0) {
            const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
            if (::bind(sock, reinterpret_cast<const sockaddr*>(&address), length) == 0) held |= 1;
            const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY);
            if (::flock(dir, LOCK_EX | LOCK_NB) == 0) held |= 2;
            for (const QByteArray& file : std::as_const(files))
                ::flock(::open(file.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK), LOCK_EX | LOCK_NB);
        }
        [[maybe_unused]] const ssize_t told = ::write(ready[1], &held, 1);
        char end;
        [[maybe_unused]] const ssize_t ended = ::read(hold[0], &end, 1); // holds until the test ends
        ::_exit(0);
    }
    QVERIFY(other > 0);
    ::close(ready[1]);
    ::close(hold[0]);
    const auto letGo = qScopeGuard([&] {
        ::close(hold[1]);
        ::waitpid(other, nullptr, 0);
        ::close(ready[0]);
    });
    char held = 0;
    QCOMPARE(::read(ready[0], &held, 1), ssize_t(1));
    QCOMPARE(int(held), 3); // it holds the socket's name and the folder's lock

    BoxAnswerer boxes;
    Start(app);
    QCOMPARE(boxes.texts, QStringList());
    QCOMPARE(ProgramEnded, std::uint8_t(0));
#endif
}

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
