// What survives a restart: exact bytes of every file at exit, the settings
// and history readers, files a person saved as UTF-8, broken files, a full
// disk, and kills in the middle of saving.

#include "TestSupport.h"
#include "app/frmMain.h"
#include "core/mdlMain.h"
#include "dialogs/MessageText.h"
#include "dialogs/frm2Message.h"
#include "dialogs/frm3Message.h"
#include "dialogs/frmMessage.h"
#include "history/frmRireki.h"
#include "platform/AppPaths.h"
#include "platform/Clock.h"
#include "platform/TextFile.h"
#include "store/FlexGrid.h"
#include "store/HistoryFile.h"
#include "store/ScheduleFile.h"
#include "store/SettingsFile.h"

#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QtTest>

using namespace mdlMain;

namespace {

const QString A = QStringLiteral("2026/12/08/09:00");
const QString B = QStringLiteral("2026/12/24/19:00");
const QString C = QStringLiteral("2027/01/01/00:00");

void Exit(frmMain* main) {
    QTest::mouseClick(main->Command3, Qt::LeftButton);
}

// A new run on the same folder.
frmMain* Restart(AppFixture& app) {
    app.NewRun();
    return LoadProgram(app);
}

// What a Japanese user writes, by kind: half-width katakana, kana, the NEC
// and IBM extensions, ASCII, full-width symbols.
const QString pools[] = {
    "ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜｦﾝｧｨｩｪｫｬｭｮｯｰﾞﾟ｡｢｣､･",
    "あいうえおがぎぐげごぁぃっゃゎをんアイウエオヴヵヶー・",
    "①②③⑳ⅠⅡⅩ㍉㌔㌢㍍№℡㈱㈲㈹㍾㍽㍼∮∑∟⊿≒≡∫",
    "ⅰⅱⅲⅹ￢￤＇＂纊褜鍈銈蓜俉炻昱棈鋹曻彅丨仡仼伀伃伹佖侒侊侚侔",
    " !\"#$%&'()*+,-./0123456789:;<=>?@ABCXYZ[\\]^_`abcxyz{|}~",
    "＃：；＊＄＝＼～－∥―￠￡￣〒〓※",
};

QChar FirstLevelKanji(QRandomGenerator& rng) {
    const char pair[] = {char(0x89 + rng.bounded(15)), char(0x80 + rng.bounded(0x7d))};
    return Cp932::Decode(QByteArrayView(pair, 2)).at(0);
}

// A text CP932 holds, drawn from the kinds a Japanese user writes: runs of
// half-width katakana, kana, kanji, the NEC and IBM extensions, ASCII
// symbols, and the schedule file's own separator.
// With a kind, one short run of it: a file of nothing else.
QString RandomCp932Text(QRandomGenerator& rng, int only = -1) {
    QString text;
    const int runs = only < 0 ? 1 + int(rng.bounded(6)) : 1;
    for (int r = 0; r < runs; ++r) {
        const int kind = only < 0 ? int(rng.bounded(8)) : only;
        const int length = 1 + int(rng.bounded(6));
        for (int i = 0; i < length; ++i) {
            if (kind < 6) {
                const QString& pool = pools[kind];
                text += pool.at(rng.bounded(int(pool.size())));
            } else if (kind == 6) {
                text += FirstLevelKanji(rng);
            } else {
                text += ScheduleFile::FieldSeparator;
            }
        }
    }
    // The readers drop spaces at either end of a text.
    text = text.trimmed();
    return text.isEmpty() ? QStringLiteral("x") : text;
}

// A Japanese text of that many characters as people write one: runs of
// kanji, hiragana, katakana, half-width katakana, ASCII and punctuation.
QString RandomJapaneseText(QRandomGenerator& rng, int length) {
    static const QString punctuation = QStringLiteral("、。「」・ー！？（）０１２３４５");
    QString text;
    while (text.size() < length) {
        const int kind = int(rng.bounded(10));
        const int run = 1 + int(rng.bounded(6));
        for (int i = 0; i < run; ++i) {
            if (kind < 3)
                text += FirstLevelKanji(rng);
            else if (kind < 6)
                text += QChar(0x3041 + rng.bounded(0x53)); // ぁ to ん
            else if (kind == 6)
                text += QChar(0x30A1 + rng.bounded(0x53)); // ァ to ン
            else if (kind == 7)
                text += pools[0].at(rng.bounded(int(pools[0].size())));
            else if (kind == 8)
                text += pools[4].at(rng.bounded(int(pools[4].size())));
            else
                text += punctuation.at(rng.bounded(int(punctuation.size())));
        }
    }
    return text.left(length);
}

} // namespace

class TestPersistence : public QObject {
    Q_OBJECT
  private slots:
    void exitWritesExactBytes_data();
    void exitWritesExactBytes();
    void exitKeepsTextsWhole_data();
    void exitKeepsTextsWhole();
    void settingsSurviveRestart_data();
    void settingsSurviveRestart();
    void settingsRefuseOtherEndings();
    void strayNulInSettingsIsToldAndRead();
    void historyRoundTrips_data();
    void historyRoundTrips();
    void exportAtExit_data();
    void exportAtExit();
    void logOffSavesEvenWhileAlarmWaits();
    void exportFolderFailure_data();
    void exportFolderFailure();
    void sessionEndDuringExitDoesNotRepeatIt();
    void tickDuringExitLosesNothing();
    void savesWithoutTheExit_data();
    void savesWithoutTheExit();
    void questionAnsweredDuringExitIsNotActedOn_data();
    void questionAnsweredDuringExitIsNotActedOn();
    void readersTakeEachEncoding_data();
    void readersTakeEachEncoding();
    void unmarkedTextsReadAsWritten();
    void brokenFilesLoseNothing();
    void unreadableHistoryIsKeptAside();
    void fullDiskKeepsEveryFile_data();
    void fullDiskKeepsEveryFile();
    void killsNeverLeaveDamagedFiles();
    void anyCp932TextSurvivesRestarts();
};

void TestPersistence::exitWritesExactBytes_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<QByteArray>("file");
    const QString l1 = ScheduleLine(A, " 歯医者");
    const QString l2 = ScheduleLine(B, " 会議 & 打ち合わせ");
    const QString l3 = ScheduleLine(C, " 新年");
    QTest::newRow("none") << 0 << QByteArray("1\r\n");
    QTest::newRow("one") << 1 << Cp932::Encode("1\r\n" + l1 + "\r\n");
    QTest::newRow("three") << 3 << Cp932::Encode("1\r\n" + l1 + "\r\n" + l2 + "\r\n" + l3 + "\r\n\r\n");
}

void TestPersistence::exitWritesExactBytes() {
    QFETCH(int, count);
    QFETCH(QByteArray, file);
    AppFixture app;
    app.WriteDefaults();
    const QList<QPair<QString, QString>> all = {
        {C, " 新年"}, {A, " 歯医者"}, {B, " 会議 & 打ち合わせ"}};
    // Written as a run leaves it: the next start warns, the exit cleans it.
    QString run;
    for (int i = 0; i < count; ++i)
        run += ScheduleLine(all[i].first, all[i].second) + "\r\n";
    if (count == 1) run = ScheduleLine(A, " 歯医者") + "\r\n";
    if (count > 0) app.WriteText("velsokura.txt", run);
    BoxAnswerer boxes;
    frmMain* main = LoadProgram(app);
    QCOMPARE(boxes.texts.size(), count > 0 ? 1 : 0);
    Exit(main);
    QCOMPARE(app.ReadFile("velsokura.txt"), file);
    QCOMPARE(app.ReadFile("RirekiData.dat"), QByteArray("\r\n"));
    QCOMPARE(app.ReadFile("AppData.txt"), QByteArray("1,0,0,\r\n"));

    boxes.texts.clear();
    main = Restart(app);
    QVERIFY(boxes.texts.isEmpty()); // a clean exit: no warning
    QCOMPARE(ScheduleCount, count);
    QCOMPARE(HistoryText, QString());
    Exit(main);
    QCOMPARE(app.ReadFile("velsokura.txt"), file);
}

void TestPersistence::exitKeepsTextsWhole_data() {
    QTest::addColumn<QString>("file");
    const QString trailing = ScheduleLine(B, " 歯医者   ");
    const QString tab = ScheduleLine(B, " 会議\t3F\t田中");
    QTest::newRow("trailing spaces, only schedule") << "1\r\n" + trailing + "\r\n";
    QTest::newRow("trailing spaces, last of two")
        << "1\r\n" + ScheduleLine(A, " a") + "\r\n" + trailing + "\r\n\r\n";
    QTest::newRow("tab, second row") << "1\r\n" + ScheduleLine(A, " a") + "\r\n" + tab + "\r\n\r\n";
}

// A start and an orderly exit give back the file as it was.
void TestPersistence::exitKeepsTextsWhole() {
    QFETCH(QString, file);
    AppFixture app;
    app.WriteDefaults();
    app.WriteText("velsokura.txt", file);
    Exit(LoadProgram(app));
    QCOMPARE(app.ReadFile("velsokura.txt"), Cp932::Encode(file));
}

void TestPersistence::settingsSurviveRestart_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("on");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("exportAtExit");
    QTest::addColumn<QString>("path");
    QTest::newRow("all off") << QByteArray("0,0,0,\r\n") << 0 << 0 << 0 << "";
    QTest::newRow("user file") << Cp932::Encode("1,4,1,C:\\a b\\音.wav\r\n") << 1 << 4 << 1
                               << "C:\\a b\\音.wav";
    QTest::newRow("last line counts") << QByteArray("1,1,1,\r\n0,3,0,\r\n") << 0 << 3 << 0 << "";
    QTest::newRow("trailing empty line") << QByteArray("1,2,1,\r\n\r\n") << 1 << 2 << 1 << "";
    QTest::newRow("trailing blank lines")
        << QByteArray("1,4,0,/a/b.wav\r\n\r\n \r\n") << 1 << 4 << 0 << "/a/b.wav";
    // A number no sound has is the first sound, and is saved so.
    QTest::newRow("sound out of range") << QByteArray("1,7,0,\r\n") << 1 << 0 << 0 << "";
}

void TestPersistence::settingsSurviveRestart() {
    QFETCH(QByteArray, line);
    QFETCH(int, on);
    QFETCH(int, index);
    QFETCH(int, exportAtExit);
    QFETCH(QString, path);
    AppFixture app;
    app.WriteDefaults();
    app.WriteFile("AppData.txt", line);
    frmMain* main = LoadProgram(app);
    QCOMPARE(int(SoundOn), on);
    QCOMPARE(int(SoundIndex), index);
    QCOMPARE(int(SaveHistoryAtExit), exportAtExit);
    QCOMPARE(SoundFilePath, path);
    const QStringList opens = app.soundCommands.filter("alias Sound5");
    QCOMPARE(opens,
             path.isEmpty() ? QStringList()
                            : QStringList{"open \"" + QDir::toNativeSeparators(path) + "\" alias Sound5"});
    Exit(main);
    const QByteArray written = app.ReadFile("AppData.txt");
    QCOMPARE(written,
             Cp932::Encode(QString("%1,%2,%3,%4\r\n").arg(on).arg(index).arg(exportAtExit).arg(path)));
    Restart(app);
    QCOMPARE(SoundFilePath, path);
    QCOMPARE(int(SoundIndex), index);
}

// One stray byte in the settings is told with the file's message, and the
// program goes on with the rest of the line: no alarm is silenced for good.
void TestPersistence::strayNulInSettingsIsToldAndRead() {
    AppFixture app(At(10, 29, 0));
    app.WriteDefaults();
    app.WriteText("velsokura.txt", "1\r\n" + ScheduleLine("2026/12/07/10:30", " 会議") + "\r\n");
    app.WriteFile("AppData.txt", QByteArray("1,2,\0" "1,\r\n", 9));
    BoxAnswerer boxes;
    frmMain* main = ShowProgram(app);
    QCOMPARE(boxes.texts, QStringList{"ファイル2オープンエラー。"});
    QCOMPARE(ProgramEnded, std::uint8_t(0));
    QCOMPARE(int(SoundIndex), 2);
    QCOMPARE(int(SaveHistoryAtExit), 1);
    app.soundCommands.clear();
    Clock::Set(At(10, 30, 0));
    main->Timer1_Timer();
    QVERIFY(app.soundCommands.contains("play Sound3 from 0"));
    QTest::mouseClick(FormSlot<frmMessage>::Get()->Command1, Qt::LeftButton);
    QTest::mouseClick(main->Command3, Qt::LeftButton);
    QCOMPARE(app.ReadFile("AppData.txt"), QByteArray("1,2,1,\r\n"));
}

void TestPersistence::settingsRefuseOtherEndings() {
    AppFixture app;
    app.WriteDefaults();
    app.WriteFile("AppData.txt", "1,4,1,/music/x.Wav\r\n");
    BoxAnswerer boxes;
    LoadProgram(app);
    QCOMPARE(boxes.texts, QStringList{"サウンドファイルが正しくありません。"});
    QCOMPARE(SoundFilePath, QString());
    QCOMPARE(int(SoundOn), 1);
    QCOMPARE(int(SoundIndex), 4);
    QCOMPARE(int(SaveHistoryAtExit), 1);
    QVERIFY(app.soundCommands.filter("Sound5").isEmpty());
}

void TestPersistence::historyRoundTrips_data() {
    QTest::addColumn<QString>("history");
    QTest::newRow("empty") << "";
    QTest::newRow("three lines") << "2026/12/07/10:00/ 一\r\n2026/12/06/10:00/ 二\r\n自由なメモ";
}

void TestPersistence::historyRoundTrips() {
    QFETCH(QString, history);
    AppFixture app;
    app.WriteDefaults();
    frmMain* main = LoadProgram(app);
    HistoryText = history;
    Exit(main);
    QCOMPARE(app.ReadFile("RirekiData.dat"), Cp932::Encode(history + "\r\n"));
    main = Restart(app);
    QCOMPARE(HistoryText, history);
    QCOMPARE(main->Command6->isEnabled(), !history.isEmpty());
}

void TestPersistence::exportAtExit_data() {
    QTest::addColumn<QString>("history");
    QTest::addColumn<int>("files");
    QTest::newRow("with history") << "2026/12/07/09:05/ a\r\n2026/12/07/10:30/ b" << 1;
    QTest::newRow("without history") << "" << 0;
}

void TestPersistence::exportAtExit() {
    QFETCH(QString, history);
    QFETCH(int, files);
    AppFixture app;
    app.WriteDefaults();
    app.WriteFile("AppData.txt", "1,0,1,\r\n");
    frmMain* main = LoadProgram(app);
    HistoryText = history;
    BoxAnswerer boxes;
    Exit(main);
    QVERIFY(boxes.texts.isEmpty()); // no message during the exit
    const QStringList exports = QDir(app.Folder() + "Rireki").entryList(QDir::Files);
    QCOMPARE(exports.size(), files);
    if (files == 1) {
        QCOMPARE(exports[0], QString("2026_12_07_10_00_30_0001.txt"));
        QCOMPARE(app.ReadFile("Rireki/" + exports[0]),
                 Cp932::Encode("2026/12/07/10:30/ b\r\n2026/12/07/09:05/ a\r\n\r\n"));
    }
}

void TestPersistence::logOffSavesEvenWhileAlarmWaits() {
    AppFixture app;
    app.WriteDefaults();
    app.WriteText("velsokura.txt", "1\r\n" + ScheduleLine("2026/12/07/18:00", " 今日") + "\r\n");
    frmMain* main = LoadProgram(app);
    QCOMPARE(MessageWindowUp, std::uint8_t(1));
    app.WriteFile("velsokura.txt", "marker");
    main->close(); // the user's close box: refused
    QCOMPARE(app.ReadFile("velsokura.txt"), QByteArray("marker"));
    // What an X session manager's end of the session sends.
    QEvent quit(QEvent::Quit);
    QCoreApplication::sendEvent(qApp, &quit);
    QCOMPARE(ProgramEnded, std::uint8_t(1));
    QCOMPARE(app.ReadFile("velsokura.txt"),
             Cp932::Encode("1\r\n" + ScheduleLine("2026/12/07/18:00", " 今日") + "\r\n"));
}

void TestPersistence::exportFolderFailure_data() {
    QTest::addColumn<bool>("sessionEnd");
    QTest::addColumn<QStringList>("boxes");
    const QString failed = QStringLiteral("フォルダを作成できませんでした。");
    QTest::newRow("the user's Exit") << false << QStringList{failed};
    QTest::newRow("end of the session") << true << QStringList();
}

// A file holds the export folder's name. The user is told at the Exit; the
// end of a session tells standard error, waits for nobody and still writes
// every file.
void TestPersistence::exportFolderFailure() {
    QFETCH(bool, sessionEnd);
    QFETCH(QStringList, boxes);
    AppFixture app;
    app.WriteDefaults();
    app.WriteFile("AppData.txt", "1,2,1,\n");
    app.WriteFile("RirekiData.dat", "2026/12/06/09:00/ a\n");
    app.WriteFile("Rireki", "");
    frmMain* main = ShowProgram(app);
    BoxAnswerer answerer;
    if (sessionEnd) {
        QTest::ignoreMessage(QtWarningMsg, "velsokura: フォルダを作成できませんでした。");
        main->EndSession();
    } else {
        Exit(main);
    }
    QCOMPARE(ProgramEnded, std::uint8_t(1));
    QCOMPARE(answerer.texts, boxes);
    QCOMPARE(app.ReadFile("AppData.txt"), QByteArray("1,2,1,\r\n"));
    QCOMPARE(app.ReadFile("RirekiData.dat"), QByteArray("2026/12/06/09:00/ a\r\n"));
    QCOMPARE(app.ReadFile("velsokura.txt"), QByteArray("1\r\n"));
}

void TestPersistence::savesWithoutTheExit_data() {
    QTest::addColumn<bool>("displayLost");
    QTest::addColumn<int>("exports");
    // The session's save request: the files now, the program runs on, and
    // the export is left to the exit.
    QTest::newRow("save request") << false << 0;
    // The display gone: the exit's writes, export included, and the end.
    QTest::newRow("display lost") << true << 1;
}

// Files given with LF line ends come back with CR LF once written; what the
// open history window holds is saved with them, and no box waits.
void TestPersistence::savesWithoutTheExit() {
    QFETCH(bool, displayLost);
    QFETCH(int, exports);
    AppFixture app;
    app.WriteDefaults();
    app.WriteFile("velsokura.txt", "1\n");
    app.WriteFile("AppData.txt", "1,0,1,\n");
    app.WriteFile("RirekiData.dat", "2026/12/06/09:00/ a\n");
    frmMain* main = ShowProgram(app);
    QTest::mouseClick(main->Command6, Qt::LeftButton); // 履歴(&E)
    frmRireki* history = FormSlot<frmRireki>::Get();
    QVERIFY(history);
    history->Text1->moveCursor(QTextCursor::End);
    QTest::keyClicks(history->Text1, " edited");
    const bool ticking = main->Timer1->isActive();
    BoxAnswerer boxes;
    if (displayLost)
        main->SaveWithoutDisplay();
    else
        main->SaveForSession();
    QVERIFY(boxes.texts.isEmpty());
    QCOMPARE(app.ReadFile("velsokura.txt"), QByteArray("1\r\n"));
    QCOMPARE(app.ReadFile("AppData.txt"), QByteArray("1,0,1,\r\n"));
    QCOMPARE(app.ReadFile("RirekiData.dat"), QByteArray("2026/12/06/09:00/ a edited\r\n"));
    QCOMPARE(QDir(app.Folder() + "Rireki").entryList(QDir::Files).size(), exports);
    QCOMPARE(Quitting, std::uint8_t(displayLost ? 1 : 0));
    QCOMPARE(ProgramEnded, std::uint8_t(0));
    if (!displayLost) {
        // Still running: the clock as it was, and the exit saves as before.
        QCOMPARE(main->Timer1->isActive(), ticking);
        QCOMPARE(SavingAtExit, std::uint8_t(0));
        QCOMPARE(SessionEnding, std::uint8_t(0));
        Exit(main);
        QCOMPARE(ProgramEnded, std::uint8_t(1));
        QCOMPARE(QDir(app.Folder() + "Rireki").entryList(QDir::Files).size(), 1);
    }
}

void TestPersistence::sessionEndDuringExitDoesNotRepeatIt() {
    AppFixture app;
    app.WriteDefaults();
    app.WriteText("velsokura.txt",
                  "1\r\n" + ScheduleLine(A, " 一") + "\r\n" + ScheduleLine(B, " 二") + "\r\n");
    frmMain* main = LoadProgram(app);
    // The exit's first schedule write fails, and the exit waits on its notice.
    QVERIFY(QFile::remove(app.Folder() + "velsokura.txt"));
    QVERIFY(QDir(app.Folder()).mkdir("velsokura.txt"));
    QStringList texts;
    bool sessionEnded = false;
    QTimer noticeUp;
    connect(&noticeUp, &QTimer::timeout, [&texts, &sessionEnded, main] {
        frm2Message* notice = FormSlot<frm2Message>::Get();
        if (!notice || !notice->isVisible()) return;
        if (!sessionEnded) {
            sessionEnded = true; // the session ends while the notice waits
            QTimer::singleShot(0, main, [main] { main->Unload(VbForm::vbAppWindows); });
            return;
        }
        texts << notice->lblM->text();
        QTest::mouseClick(notice->cmdMessage, Qt::LeftButton);
    });
    noticeUp.start(5);
    app.soundCommands.clear();
    Exit(main);
    noticeUp.stop();
    QCOMPARE(ProgramEnded, std::uint8_t(1));
    QCOMPARE(texts, QStringList{"データ書き込みに失敗しました。"});
    QCOMPARE(app.soundCommands.count("close Sound1"), 1);
}

void TestPersistence::tickDuringExitLosesNothing() {
    QMap<QString, QByteArray> orderly;
    for (bool ticking : {false, true}) {
        AppFixture app(QDateTime(QDate(2026, 12, 8), QTime(8, 58, 0)));
        app.WriteDefaults();
        app.WriteText("velsokura.txt",
                      "1\r\n" + ScheduleLine(A, " 一") + "\r\n" + ScheduleLine(B, " 二") + "\r\n");
        frmMain* main = LoadProgram(app);
        QTest::mouseClick(FormSlot<frmMessage>::Get()->Command1, Qt::LeftButton); // today's notice
        // Exit is pressed at the very second row 1 falls due.
        Clock::Set(QDateTime(QDate(2026, 12, 8), QTime(9, 0, 0)));
        if (ticking) main->Timer1->start(0); // a tick at every chance
        Exit(main);
        if (!ticking)
            orderly = app.Files();
        else
            QCOMPARE(app.Files(), orderly);
    }
    QVERIFY(orderly.value("velsokura.txt").startsWith(Cp932::Encode("1\r\n" + ScheduleLine(A, " 一"))));
}

void TestPersistence::questionAnsweredDuringExitIsNotActedOn_data() {
    QTest::addColumn<bool>("sessionEnd");
    QTest::newRow("the close box") << false;
    QTest::newRow("end of the session") << true;
}

// The Delete question is up when the program is closed; the user's Yes comes
// while the exit writes. The exit's files stay as it wrote them.
void TestPersistence::questionAnsweredDuringExitIsNotActedOn() {
    QFETCH(bool, sessionEnd);
    AppFixture app;
    app.WriteDefaults();
    app.WriteText("velsokura.txt",
                  "1\r\n" + ScheduleLine(A, " 一") + "\r\n" + ScheduleLine(B, " 二") + "\r\n");
    frmMain* main = ShowProgram(app);
    // Two hands: a timer does not run again inside its own handler, where the exit runs.
    QTimer closer, answerer;
    bool answered = false;
    connect(&closer, &QTimer::timeout, [&] {
        const frm3Message* question = FormSlot<frm3Message>::Get();
        if (!question || !question->isVisible()) return;
        closer.stop();
        if (sessionEnd)
            main->EndSession();
        else
            main->close();
    });
    connect(&answerer, &QTimer::timeout, [&] {
        frm3Message* question = FormSlot<frm3Message>::Get();
        if (SavingAtExit != 1 || !question || !question->isVisible()) return;
        answered = true;
        QTest::mouseClick(question->Command1, Qt::LeftButton);
    });
    closer.start(0);
    answerer.start(0);
    ClickCell(main->MSFlexGrid1, 2, 1);
    QTest::mouseClick(main->Command2, Qt::LeftButton);
    answerer.stop();
    QVERIFY(answered);
    QCOMPARE(ProgramEnded, std::uint8_t(1));
    QCOMPARE(app.ReadFile("velsokura.txt"),
             Cp932::Encode("1\r\n" + ScheduleLine(A, " 一") + "\r\n" + ScheduleLine(B, " 二") +
                           "\r\n\r\n"));
}

void TestPersistence::readersTakeEachEncoding_data() {
    QTest::addColumn<int>("encoding");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("tail"); // raw bytes at the end of the text
    QTest::addColumn<QString>("shown");
    QTest::newRow("CP932 half-width pairs") << 0 << "ﾐｰﾃｨﾝｸ ﾃｽ" << QByteArray() << "ﾐｰﾃｨﾝｸ ﾃｽ";
    QTest::newRow("CP932 kanji pair") << 0 << "闃冢" << QByteArray() << "闃冢";
    QTest::newRow("UTF-8 with a mark") << 1 << "歯医者" << QByteArray() << "歯医者";
    QTest::newRow("UTF-8 that is no CP932") << 2 << "予定" << QByteArray() << "予定";
    QTest::newRow("UTF-16 LE with a mark") << 3 << "歯医者" << QByteArray() << "歯医者";
    QTest::newRow("UTF-16 BE with a mark") << 4 << "歯医者" << QByteArray() << "歯医者";
    QTest::newRow("UTF-8 lookalikes")
        << 1 << "〜−‖—¢£¬¦¥ café" << QByteArray() << "～－∥―￠￡￢￤\\ caf?";
    // Their bytes are valid CP932 too, which reads 莨夊ｭｰ縺ｮ貅門ｙ and the like.
    for (const QString text : {"会議の準備", "会議", "明日の会議", "薬を飲む", "誕生日"})
        QTest::addRow("UTF-8 that is CP932 too: %s", qPrintable(text))
            << 2 << text << QByteArray() << text;
    QTest::newRow("no CP932 character")
        << 0 << "a" << QByteArray("\x80\xa0\xfd\xfe\xff\x85\x40\x81") << "a???????";
}

// A schedule and a history entry in each kind of file: read as meant, and
// written back as CP932 that reads the same.
void TestPersistence::readersTakeEachEncoding() {
    QFETCH(int, encoding);
    QFETCH(QString, text);
    QFETCH(QByteArray, tail);
    QFETCH(QString, shown);
    const auto encode = [encoding](const QString& t) {
        if (encoding == 0) return Cp932::Encode(t);
        const auto to = encoding <= 2   ? QStringConverter::Utf8
                        : encoding == 3 ? QStringConverter::Utf16LE
                                        : QStringConverter::Utf16BE;
        QStringEncoder encoder(to, encoding == 2 ? QStringConverter::Flag::Default
                                                 : QStringConverter::Flag::WriteBom);
        return QByteArray(encoder.encode(t));
    };
    const QString entry = "2026/12/01/10:00/ ";
    AppFixture app;
    app.WriteDefaults();
    const auto file = [&](const QString& line) {
        return tail.isEmpty() ? encode(line + "\r\n") : encode(line) + tail + "\r\n";
    };
    app.WriteFile("velsokura.txt", file("1\r\n" + ScheduleLine(A, " " + text)));
    app.WriteFile("RirekiData.dat", file(entry + text));
    BoxAnswerer boxes;
    frmMain* main = LoadProgram(app);
    for (int run = 0; run < 2; ++run) {
        QCOMPARE(boxes.texts, QStringList());
        QCOMPARE(main->MSFlexGrid1->TextMatrix(1, 2), " " + shown);
        QCOMPARE(HistoryText, entry + shown);
        Exit(main);
        QCOMPARE(app.ReadFile("velsokura.txt"),
                 Cp932::Encode("1\r\n" + ScheduleLine(A, " " + shown) + "\r\n"));
        QCOMPARE(app.ReadFile("RirekiData.dat"), Cp932::Encode(entry + shown + "\r\n"));
        main = Restart(app);
    }
}

// Texts saved without a mark, in either encoding, read as written: a file
// valid both ways is read the way that gives Japanese rather than mojibake.
void TestPersistence::unmarkedTextsReadAsWritten() {
    QRandomGenerator rng(20261208);
    const int texts = 20000;
    QStringList misses;
    for (int i = 0; i < texts; ++i) {
        const QString text = RandomJapaneseText(rng, 2 + int(rng.bounded(39)));
        if (TextFile::DecodeFile(text.toUtf8()) != text) misses << "UTF-8 " + text;
        if (TextFile::DecodeFile(Cp932::Encode(text)) != text) misses << "CP932 " + text;
    }
    qInfo("%d of %d readings missed: %s", int(misses.size()), 2 * texts,
          qPrintable(misses.join(" | ")));
    QVERIFY2(misses.size() * 1000 <= 2 * texts, qPrintable(misses.first()));
}

void TestPersistence::brokenFilesLoseNothing() {
    AppFixture app;
    app.WriteDefaults();
    QByteArray noise(600, '\0');
    QRandomGenerator rng(20261207);
    for (char& c : noise)
        c = char(rng.bounded(256));
    noise.replace('\r', 'x').replace('\n', 'y').replace('\0', 'z');
    noise += ".bin";
    app.WriteFile("AppData.txt", noise);
    QVERIFY(QDir(app.Folder()).mkdir("RirekiData.dat")); // the history file is a folder
    BoxAnswerer boxes;
    frmMain* main = LoadProgram(app);
    QCOMPARE(ProgramEnded, std::uint8_t(0));
    QCOMPARE(boxes.texts,
             QStringList({"サウンドファイルが正しくありません。", "履歴の読み込みエラー"}));
    Exit(main);
    QVERIFY(QFileInfo(app.Folder() + "RirekiData.dat").isDir());
    QCOMPARE(app.ReadFile("velsokura.txt"), QByteArray("1\r\n"));
}

// The run's history goes to an export file; the file that could not be read
// stays as it was.
void TestPersistence::unreadableHistoryIsKeptAside() {
#ifndef Q_OS_UNIX
    QSKIP("file modes cannot make a file unreadable here");
#else
    RUN_AS_ORDINARY_USER();
    AppFixture app;
    app.WriteFile("RirekiData.dat", "old\r\n");
    QVERIFY(QFile::setPermissions(app.Folder() + "RirekiData.dat", QFileDevice::WriteOwner));
    BoxAnswerer boxes;
    frmMain* main = StartProgram(app, {{"2026/12/06/08:00", " 昨日"}, {A, " 明日"}});
    QCOMPARE(boxes.texts, QStringList{"履歴の読み込みエラー"});
    HistoryText = "2026/12/07/10:00/ 鳴った\r\n" + HistoryText; // an alarm of this run
    Exit(main);
    QVERIFY(QFile::setPermissions(app.Folder() + "RirekiData.dat",
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    QCOMPARE(app.ReadFile("RirekiData.dat"), QByteArray("old\r\n"));
    const QStringList exports = QDir(app.Folder() + "Rireki").entryList(QDir::Files);
    QCOMPARE(exports, QStringList{"2026_12_07_10_00_30_0001.txt"});
    QCOMPARE(app.ReadFile("Rireki/" + exports[0]),
             Cp932::Encode("2026/12/07/10:00/ 鳴った\r\n2026/12/06/08:00/ 昨日\r\n\r\n"));
#endif
}

void TestPersistence::fullDiskKeepsEveryFile_data() {
    QTest::addColumn<int>("bytes");
    QTest::newRow("a few bytes") << 0;
    QTest::newRow("4 KB") << 4096;
    QTest::newRow("16 KB") << 16384;
    QTest::newRow("large") << 100000;
}

// Delete during the run, then the exit: every write fails for want of space,
// whatever its size, and no file is left with less than it held.
void TestPersistence::fullDiskKeepsEveryFile() {
    QFETCH(int, bytes);
    AppFixture app;
    const QString disk = app.Folder() + "disk";
    QVERIFY(QDir().mkpath(disk));
    const QString size = QString("size=%1k").arg(3 * bytes / 1024 + 64);
    if (QProcess::execute("mount", {"-t", "tmpfs", "-o", size, "tmpfs", disk}) != 0)
        QSKIP("cannot mount a small tmpfs here (needs root and mount rights)");
    struct Unmount {
        QString path;
        ~Unmount() { QProcess::execute("umount", {path}); }
    } unmount{disk};
    AppPaths::SetExecutableFolder(disk);
    QString schedules = "1\r\n", history;
    for (int i = 0; i < 2 || Cp932::Encode(schedules).size() < bytes; ++i) {
        const QString key = QString("2027/%1/%2/%3:00")
                                .arg(i / 672 + 1, 2, 10, QChar('0'))
                                .arg(i % 28 + 1, 2, 10, QChar('0'))
                                .arg(i / 28 % 24, 2, 10, QChar('0'));
        schedules += ScheduleLine(key, " 長い予定の説明がここに入ります") + "\r\n";
        history += "2026/12/01/10:00/ 履歴の一行\r\n";
    }
    const QStringList names = {"velsokura.txt", "AppData.txt", "RirekiData.dat"};
    const QList<QByteArray> before = {Cp932::Encode(schedules), "1,0,0,\r\n",
                                      Cp932::Encode(history)};
    for (int i = 0; i < names.size(); ++i)
        app.WriteFile("disk/" + names[i], before[i]);
    frmMain* main = LoadProgram(app);
    main->show();
    emit app.tray->LeftButtonDown();
    main->Timer1_Timer();
    QFile filler(disk + "/filler");
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    while (filler.write(QByteArray(4096, 'x')) > 0) {
    }
    BoxAnswerer boxes;
    ClickCell(main->MSFlexGrid1, 1, 2);
    QTest::mouseClick(main->Command2, Qt::LeftButton);
    QCOMPARE(boxes.texts, QStringList({"選択した行を削除しますがよろしいですか？",
                                       "データ書き込みに失敗しました。"}));
    Exit(main);
    for (int i = 0; i < names.size(); ++i)
        QCOMPARE(app.ReadFile("disk/" + names[i]), before[i]);
}

void TestPersistence::killsNeverLeaveDamagedFiles() {
    // What each file may hold: before the first save, or after any whole save.
    QSet<QByteArray> schedules, histories, settings;
    {
        AppFixture app;
        InitAppFolder();
        frmMain* main = app.NewMain();
        for (const auto& state : {CrashStateA(), CrashStateB()}) {
            FillGrid(main->MSFlexGrid1, state);
            SaveGridSchedules(main->MSFlexGrid1);
            schedules << app.ReadFile("velsokura.txt");
            ScheduleText.clear();
            WriteScheduleFileAtExit();
            schedules << app.ReadFile("velsokura.txt");
        }
        for (const QString& h :
             {QStringLiteral("2026/12/07/10:00/ 履歴A\r\n2026/12/06/10:00/ 古い"),
              QStringLiteral("2026/12/07/11:00/ 履歴B")})
            histories << Cp932::Encode(h + "\r\n");
        settings << Cp932::Encode("1,4,0,/音/a b.wav\r\n") << QByteArray("0,2,0,\r\n");
    }
    AppFixture app;
    app.WriteDefaults();
    app.WriteText("RirekiData.dat", "old\r\n");
    schedules << QByteArray("1\r\n");
    histories << Cp932::Encode("old\r\n");
    settings << QByteArray("1,0,0,\r\n");

    QRandomGenerator rng(7);
#ifdef Q_OS_WIN
    const int kills = 40; // a process start takes about a second under Wine
#else
    const int kills = 220;
#endif
    int damaged = 0;
    for (int k = 0; k < kills; ++k) {
        QProcess child;
        child.start(QCoreApplication::applicationDirPath() + "/crash_child", {app.Folder()});
        QVERIFY2(child.waitForReadyRead(30000), "the child did not start, or found the folder locked");
        QTest::qSleep(int(rng.bounded(25)));
        child.kill(); // SIGKILL: no chance to finish a write
        child.waitForFinished();
        if (!schedules.contains(app.ReadFile("velsokura.txt"))) ++damaged;
        if (!histories.contains(app.ReadFile("RirekiData.dat"))) ++damaged;
        if (!settings.contains(app.ReadFile("AppData.txt"))) ++damaged;
    }
    qInfo("crash safety: %d kills survived, %d damaged files", kills, damaged);
    QCOMPARE(damaged, 0);
}

// Write, read, write: the same rows, the same bytes, in every file.
void TestPersistence::anyCp932TextSurvivesRestarts() {
    QRandomGenerator rng(20261207);
    for (int round = 0; round < 64; ++round) {
        const int only = round < 32 ? round % 8 : -1;
        AppFixture app;
        app.WriteDefaults();
        frmMain* main = LoadProgram(app);
        QList<QPair<QString, QString>> rows;
        QStringList history;
        const int count = 1 + int(rng.bounded(only < 0 ? 10 : 2));
        for (int i = 0; i < count; ++i) {
            rows.append({QString("2027/01/01/10:%1").arg(i, 2, 10, QChar('0')),
                         " " + RandomCp932Text(rng, only)});
            history.append("2026/12/01/10:00/ " + RandomCp932Text(rng, only));
        }
        const QString sound = "/" + RandomCp932Text(rng, only) + ".mp3";
        FillGrid(main->MSFlexGrid1, rows);
        HistoryText = history.join("\r\n");
        SoundFilePath = sound;
        Exit(main);
        const QStringList names = {"velsokura.txt", "RirekiData.dat", "AppData.txt"};
        QList<QByteArray> written;
        for (const QString& name : names)
            written.append(app.ReadFile(name));
        main = Restart(app);
        for (int i = 0; i < count; ++i) {
            QCOMPARE(main->MSFlexGrid1->TextMatrix(i + 1, 1), rows[i].first);
            QCOMPARE(main->MSFlexGrid1->TextMatrix(i + 1, 2), rows[i].second);
        }
        QCOMPARE(HistoryText, history.join("\r\n"));
        QCOMPARE(SoundFilePath, sound);
        Exit(main);
        for (int i = 0; i < names.size(); ++i)
            QCOMPARE(app.ReadFile(names[i]), written[i]);
    }
}

QTEST_MAIN(TestPersistence)
#include "test_persistence.moc"
