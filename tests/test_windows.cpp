// The history window and the options window, opened from the main window's
// buttons and driven through their own controls.

#include "TestSupport.h"
#include "app/frmMain.h"
#include "core/Colors.h"
#include "core/mdlMain.h"
#include "dialogs/frmMessage.h"
#include "history/frmRireki.h"
#include "options/frmOption.h"
#include "platform/Clock.h"
#include "platform/QtTranslations.h"
#include "store/FlexGrid.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QtTest>

using namespace mdlMain;

namespace {

const QString E1 = QStringLiteral("2026/12/07/09:05/ 歯医者");
const QString E2 = QStringLiteral("2026/12/07/10:30/ 会議");
const QString E3 = QStringLiteral("2026/12/06/08:00/ 散歩");

void Click(QAbstractButton* b) {
    QTest::mouseClick(b, Qt::LeftButton);
}

frmRireki* OpenHistory(frmMain* m) {
    Click(m->Command6);
    return FormSlot<frmRireki>::Get();
}

frmOption* OpenOptions(frmMain* m) {
    Click(m->Command8);
    return FormSlot<frmOption>::Get();
}

QString MakeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

// A chooser that answers the next open-file dialog with this path.
struct ChosenFile {
    explicit ChosenFile(const QString& path)
        : previous(frmOption::SetFileChooser([path](QWidget*) { return path; })) {}
    ~ChosenFile() { frmOption::SetFileChooser(previous); }
    frmOption::FileChooser previous;
};

} // namespace

class TestWindows : public QObject {
    Q_OBJECT
  private slots:
    void historyShowsEditsAndKeepsEditsOnClose();
    void historyEmptiedByHandKeepsButton();
    void historyReset_data();
    void historyReset();
    void historyNeedsHistory();
    void historyKeepsAlarmRungWhileOpen_data();
    void historyKeepsAlarmRungWhileOpen();
    void optionsLoadFromSettings();
    void optionsChooseSound();
    void optionShownIsSoundChosen_data();
    void optionShownIsSoundChosen();
    void openFileDialogIsJapaneseAndIgnoresCase();
    void optionsChooseFile_data();
    void optionsChooseFile();
    void optionsPlayAndStop();
    void optionsCloseWithoutFile();
    void optionsCloseEndsPlayTest_data();
    void optionsCloseEndsPlayTest();
    void closingOneWindowKeepsLockForTheOther_data();
    void closingOneWindowKeepsLockForTheOther();
    void sessionEndKeepsWhatWindowsHold_data();
    void sessionEndKeepsWhatWindowsHold();
};

void TestWindows::historyShowsEditsAndKeepsEditsOnClose() {
    AppFixture app(QDateTime(QDate(2026, 12, 7), QTime(13, 45, 7)));
    frmMain* m = StartProgram(app, {});
    HistoryText = E2 + "\r\n" + E1 + "\r\n" + E3;
    m->Command6->setEnabled(true);
    frmRireki* h = OpenHistory(m);
    QVERIFY(h && h->isVisible());
    QCOMPARE(h->windowTitle(), QString("velsokura 予定の履歴"));
    QVERIFY(!m->isVisible());
    QCOMPARE(MainHidden, std::uint8_t(1));
    QCOMPARE(h->Text1->toPlainText(), E2 + "\n" + E1 + "\n" + E3);
    QVERIFY(h->Command3->isEnabled());
    QVERIFY(h->Command2->isEnabled());

    h->Text1->appendPlainText("メモ〜 café");
    BoxAnswerer boxes;
    Click(h->Command3);
    QCOMPARE(boxes.texts, QStringList{"履歴データを書き込み完了しました。"});
    // The export holds the history as it was opened, newest first.
    QCOMPARE(app.ReadFile("Rireki/2026_12_07_13_45_07_0001.txt"),
             Cp932::Encode(E2 + "\r\n" + E1 + "\r\n" + E3 + "\r\n\r\n"));
    Click(h->Command3);
    QVERIFY(app.Exists("Rireki/2026_12_07_13_45_07_0002.txt"));

    Click(h->Command1);
    QVERIFY(!FormSlot<frmRireki>::Loaded());
    QVERIFY(m->isVisible());
    QCOMPARE(MainHidden, std::uint8_t(0));
    QCOMPARE(HistoryText, E2 + "\r\n" + E1 + "\r\n" + E3 + "\r\nメモ～ caf?");
    QVERIFY(m->Command3->isEnabled());
}

void TestWindows::historyEmptiedByHandKeepsButton() {
    AppFixture app;
    frmMain* m = StartProgram(app, {});
    HistoryText = E1;
    m->Command6->setEnabled(true);
    frmRireki* h = OpenHistory(m);
    h->Text1->clear();
    QVERIFY(!h->Command3->isEnabled());
    QVERIFY(!h->Command2->isEnabled());
    h->close(); // the close box
    QCOMPARE(HistoryText, QString());
    QVERIFY(m->Command6->isEnabled());
    Click(m->Command6); // nothing to show
    QVERIFY(!FormSlot<frmRireki>::Loaded());
}

void TestWindows::historyReset_data() {
    QTest::addColumn<int>("answer");
    QTest::newRow("yes") << int(BoxAnswerer::Yes);
    QTest::newRow("no") << int(BoxAnswerer::No);
    QTest::newRow("cancel") << int(BoxAnswerer::Cancel);
}

void TestWindows::historyReset() {
    QFETCH(int, answer);
    AppFixture app;
    frmMain* m = StartProgram(app, {});
    HistoryText = E2 + "\r\n" + E1;
    m->Command6->setEnabled(true);
    frmRireki* h = OpenHistory(m);
    BoxAnswerer boxes{BoxAnswerer::Answer(answer)};
    Click(h->Command2);
    QCOMPARE(boxes.texts, QStringList{"表示しているテキストをリセットしますがよろしいですか？"});
    if (answer != BoxAnswerer::Yes) {
        QCOMPARE(HistoryText, E2 + "\r\n" + E1);
        QCOMPARE(h->Text1->toPlainText(), E2 + "\n" + E1);
        return;
    }
    QCOMPARE(HistoryText, QString());
    QVERIFY(h->Text1->toPlainText().isEmpty());
    QVERIFY(!h->Command3->isEnabled());
    QCOMPARE(Colors::BackColor(m->Command6), Colors::LightGrey);
    Click(h->Command1);
    QVERIFY(!m->Command6->isEnabled());
    QCOMPARE(HistoryText, QString());
}

void TestWindows::historyNeedsHistory() {
    AppFixture app;
    frmMain* m = StartProgram(app, {});
    m->Command6->setEnabled(true);
    Click(m->Command6);
    QVERIFY(!FormSlot<frmRireki>::Loaded());
    QCOMPARE(MainHidden, std::uint8_t(0));
}

void TestWindows::historyKeepsAlarmRungWhileOpen_data() {
    QTest::addColumn<int>("way");
    QTest::addColumn<bool>("resetFirst");
    QTest::newRow("close button") << 0 << false;
    QTest::newRow("close box") << 1 << false;
    QTest::newRow("session end, alarm acknowledged") << 2 << false;
    QTest::newRow("session end, alarm waiting") << 3 << false;
    QTest::newRow("emptied window, the alarm alone is dropped") << 0 << true;
}

// An alarm that rings while the history is being read joins what the window
// shows, above the user's edits, and leaves with it however the window ends.
void TestWindows::historyKeepsAlarmRungWhileOpen() {
    QFETCH(int, way);
    QFETCH(bool, resetFirst);
    AppFixture app(At(10, 29, 0));
    app.WriteDefaults();
    app.WriteText("RirekiData.dat", E2 + "\r\n" + E3 + "\r\n");
    app.WriteText("velsokura.txt", "1\r\n" + ScheduleLine("2026/12/07/10:30", " 電話"));
    frmMain* m = ShowProgram(app);
    QCOMPARE(HistoryText, E2 + "\r\n" + E3);
    frmRireki* h = OpenHistory(m);
    QVERIFY(h);
    if (resetFirst) {
        BoxAnswerer yes;
        Click(h->Command2);
    } else {
        h->Text1->appendPlainText(" EDITED");
    }
    Clock::Set(At(10, 30, 0));
    m->Timer1_Timer();
    frmMessage* alarm = FormSlot<frmMessage>::Get();
    QVERIFY(alarm->isVisible());
    const QString rung = QStringLiteral("2026/12/07/10:30/ 電話");
    const QString kept = resetFirst ? QString() : E2 + "\n" + E3 + "\n EDITED";
    QCOMPARE(h->Text1->toPlainText(), resetFirst ? rung : rung + "\n" + kept);
    QVERIFY(h->Command3->isEnabled());
    if (way != 3) QTest::mouseClick(alarm->Command1, Qt::LeftButton);
    if (resetFirst) QCOMPARE(h->Text1->toPlainText(), QString());

    const QString expected =
        resetFirst ? QString() : QString(rung + "\n" + kept).replace("\n", "\r\n");
    BoxAnswerer boxes;
    if (way == 0) Click(h->Command1);
    if (way == 1) h->close();
    if (way >= 2) {
        m->EndSession();
        QCOMPARE(app.ReadFile("RirekiData.dat"), Cp932::Encode(expected + "\r\n"));
        return;
    }
    QCOMPARE(HistoryText, expected);
}

void TestWindows::optionsLoadFromSettings() {
    AppFixture app;
    frmMain* m = StartProgram(app, {});
    SoundOn = 0;
    SoundIndex = 4;
    SaveHistoryAtExit = 1;
    SoundFilePath = "/音/a b.wav";
    SoundTestOn = 1;
    frmOption* o = OpenOptions(m);
    QCOMPARE(o->windowTitle(), QString("オプション"));
    QVERIFY(!m->isVisible());
    QVERIFY(!o->Check1->isChecked());
    QVERIFY(o->Option1[4]->isChecked());
    QVERIFY(o->Command2->isEnabled());
    QCOMPARE(o->Text1->toPlainText(), QString("/音/a b.wav"));
    QVERIFY(!o->lblSoundNote->isHidden()); // the file is not there
    QCOMPARE(o->lblSoundNote->text(),
             QString("このファイルが見つかりません。サウンド1を鳴らします。"));
    QVERIFY(o->Check2->isChecked());
    QCOMPARE(SoundTestOn, std::uint8_t(0));
    // The path cannot be typed over.
    o->Text1->setFocus();
    QTest::keyClicks(o->Text1, "xyz");
    QCOMPARE(o->Text1->toPlainText(), QString("/音/a b.wav"));
    Click(o->Check1);
    QCOMPARE(SoundOn, std::uint8_t(1));
    Click(o->Check2);
    QCOMPARE(SaveHistoryAtExit, std::uint8_t(0));
}

void TestWindows::optionsChooseSound() {
    AppFixture app;
    frmMain* m = StartProgram(app, {});
    frmOption* o = OpenOptions(m);
    QVERIFY(!o->Command2->isEnabled());
    app.soundCommands.clear();
    Click(o->Option1[2]);
    QCOMPARE(SoundIndex, std::uint8_t(2));
    QCOMPARE(app.soundCommands, QStringList({"stop Sound1", "stop Sound2", "stop Sound3",
                                             "stop Sound4", "stop Sound5"}));
    Click(o->Option1[4]);
    QCOMPARE(SoundIndex, std::uint8_t(4));
    QVERIFY(o->Command2->isEnabled());
    Click(o->Option1[1]);
    QVERIFY(o->Command2->isEnabled()); // stays enabled
    // The keyboard chooses as the mouse does.
    o->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(o));
    o->Option1[1]->setFocus();
    QTest::keyClick(o->Option1[1], Qt::Key_Right);
    QCOMPARE(SoundIndex, std::uint8_t(2));
    QVERIFY(o->Option1[2]->isChecked());
}

void TestWindows::optionShownIsSoundChosen_data() {
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("pressed");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("dragOff");
    QTest::newRow("left click") << 3 << 0 << Qt::LeftButton << false;
    QTest::newRow("pressed, dragged off") << 3 << 0 << Qt::LeftButton << true;
    QTest::newRow("right click") << 4 << 3 << Qt::RightButton << false;
}

void TestWindows::optionShownIsSoundChosen() {
    QFETCH(int, before);
    QFETCH(int, pressed);
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, dragOff);
    AppFixture app;
    frmMain* m = StartProgram(app, {});
    SoundIndex = static_cast<std::uint8_t>(before);
    frmOption* o = OpenOptions(m);
    QRadioButton* option = o->Option1[pressed];
    const QPoint on(5, option->height() / 2);
    QTest::mousePress(option, button, {}, on);
    QTest::mouseRelease(option, button, {}, dragOff ? on + QPoint(0, 4 * option->height()) : on);
    int shown = 0;
    while (!o->Option1[shown]->isChecked())
        ++shown;
    QCOMPARE(shown, button == Qt::LeftButton && !dragOff ? pressed : before);
    QCOMPARE(int(SoundIndex), shown);
}

void TestWindows::openFileDialogIsJapaneseAndIgnoresCase() {
    AppFixture app;
    frmMain* m = StartProgram(app, {});
    LoadQtTranslations();
    const QString folder = app.Folder() + "sounds";
    for (const char* name : {"A.MP3", "b.mp3", "c.wav", "d.Mp3x"})
        MakeFile(folder + "/" + name, "ID3");
    frmOption* o = OpenOptions(m);
    Click(o->Option1[4]);
    QStringList filters, shown, captions;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        filters = dialog->nameFilters();
        dialog->setDirectory(folder);
        auto* list = dialog->findChild<QListView*>("listView");
        QVERIFY(QTest::qWaitFor([&] { return list->model()->rowCount(list->rootIndex()) > 0; }));
        for (int row = 0; row < list->model()->rowCount(list->rootIndex()); ++row)
            shown << list->model()->index(row, 0, list->rootIndex()).data().toString();
        for (const QLabel* label : dialog->findChildren<QLabel*>())
            if (!label->text().isEmpty()) captions << label->text();
        dialog->reject();
    });
    Click(o->Command2);
    QCOMPARE(filters, QStringList({"MP3ファイル(*.mp3)", "WAVEファイル(*.wav)",
                                   "AIFファイル(*.aif)", "AIFFファイル(*.aiff)"}));
    shown.sort();
    QCOMPARE(shown, QStringList({"A.MP3", "b.mp3"}));
    // "Look in:", "File name:", "Files of type:" in Japanese.
    QVERIFY(!captions.isEmpty());
    for (const QString& caption : captions)
        QVERIFY2(caption.contains(QRegularExpression("[\\x{3040}-\\x{30ff}\\x{4e00}-\\x{9fff}]")),
                 qPrintable(caption));
}

void TestWindows::optionsChooseFile_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("good") << 0 << "";
    QTest::newRow("empty file") << 1 << "サウンドファイルが見つかりませんでした。";
    QTest::newRow("path of 256") << 2 << "サウンドファイルのパスが長すぎます。";
    QTest::newRow("path of 255") << 3 << "";
    QTest::newRow("gone") << 4 << "サウンドファイルを開けませんでした。";
    QTest::newRow("cancel") << 5 << "";
    QTest::newRow("path the settings file cannot hold")
        << 6 << "このサウンドファイルのパスには保存できない文字が含まれています。";
}

void TestWindows::optionsChooseFile() {
    QFETCH(int, kind);
    QFETCH(QString, message);
    AppFixture app;
    frmMain* m = StartProgram(app, {});
    SoundFilePath = "/old.mp3";
    QString path = app.Folder() + "音 sound.mp3";
    if (kind == 2 || kind == 3) {
        const int length = kind == 2 ? 256 : 255;
        QString dir = app.Folder() + "d";
        while (dir.size() + 10 < length)
            dir += (dir.size() % 100 == 0) ? "/" : "x";
        path = dir + "/" + QString(length - dir.size() - 5, 'y') + ".mp3";
        QCOMPARE(path.size(), length);
    }
    if (kind == 6) path = app.Folder() + "café.mp3";
    if (kind != 4) MakeFile(path, kind == 1 ? QByteArray() : QByteArray("ID3"));
    ChosenFile chosen(kind == 5 ? QString() : path);
    frmOption* o = OpenOptions(m);
    Click(o->Option1[4]);
    BoxAnswerer boxes;
    Click(o->Command2);
    QCOMPARE(boxes.texts, message.isEmpty() ? QStringList() : QStringList{message});
    const bool taken = kind == 0 || kind == 3;
    QCOMPARE(SoundFilePath, taken ? path : QString("/old.mp3"));
    QCOMPARE(o->Text1->toPlainText(), taken ? path : QString("/old.mp3"));
    QCOMPARE(o->lblSoundNote->isHidden(), taken); // only the old file is missing
    QVERIFY(o->isEnabled());
    QCOMPARE(CommandBusy, std::uint8_t(0));
}

void TestWindows::optionsPlayAndStop() {
    AppFixture app;
    frmMain* m = StartProgram(app, {});
    SoundOn = 0;
    SoundIndex = 4;
    SoundFilePath = MakeFile(app.Folder() + "a b/x.mp3", "ID3");
    frmOption* o = OpenOptions(m);
    QVERIFY(o->lblSoundNote->isHidden());
    app.soundCommands.clear();
    app.soundImpossible = true;
    Click(o->Command3);
    QCOMPARE(app.soundCommands,
             QStringList({"stop Sound5", "close Sound5",
                          "open \"" + QDir::toNativeSeparators(SoundFilePath) + "\" alias Sound5",
                          "stop Sound5", "play Sound5 from 0"}));
    QCOMPARE(SoundTestOn, std::uint8_t(1));
    QVERIFY(!o->lblSoundNote->isHidden());
    QCOMPARE(o->lblSoundNote->text(), QString("この環境ではサウンドを鳴らせません。"));
    Click(o->Command4);
    QCOMPARE(o->Command3->text(), QString("サウンドプレイ(&S)"));
    QCOMPARE(SoundTestOn, std::uint8_t(0));
    Click(o->Command1);
    QVERIFY(m->isVisible());
    o = OpenOptions(m);
    QCOMPARE(o->Command3->text(), QString("サウンドプレイ(&U)"));
}

void TestWindows::optionsCloseWithoutFile() {
    AppFixture app;
    frmMain* m = StartProgram(app, {});
    SoundFilePath.clear();
    frmOption* o = OpenOptions(m);
    Click(o->Option1[4]);
    BoxAnswerer boxes;
    app.soundCommands.clear();
    o->close();
    QCOMPARE(boxes.texts,
             QStringList{"サウンドファイルのパスが選択されていません、サウンド1に設定します。"});
    QCOMPARE(SoundIndex, std::uint8_t(0));
    QCOMPARE(app.soundCommands,
             QStringList({"stop Sound1", "stop Sound2", "stop Sound3", "stop Sound4", "stop Sound5",
                          "stop Sound5", "close Sound5"}));
    QVERIFY(m->isVisible());
    QVERIFY(m->Command3->isEnabled());
}

void TestWindows::optionsCloseEndsPlayTest_data() {
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("close button") << false;
    QTest::newRow("close box") << true;
}

void TestWindows::optionsCloseEndsPlayTest() {
    QFETCH(bool, closeBox);
    AppFixture app(At(10, 29, 0));
    frmMain* m = StartProgram(app, {{"2026/12/07/10:30", " x"}});
    SoundOn = 0;
    frmOption* o = OpenOptions(m);
    Click(o->Command3);
    app.soundCommands.clear();
    if (closeBox)
        o->close();
    else
        Click(o->Command1);
    QVERIFY(app.soundCommands.contains("stop Sound1")); // the test sound stops
    app.soundCommands.clear();
    Clock::Set(At(10, 30, 0));
    m->Timer1_Timer();
    QVERIFY(FormSlot<frmMessage>::Get()->isVisible());
    QVERIFY2(!app.soundCommands.join(' ').contains("play"), "the alarm rang with sound off");
}

void TestWindows::closingOneWindowKeepsLockForTheOther_data() {
    QTest::addColumn<bool>("optionsFirst");
    QTest::newRow("options closed, then OK") << true;
    QTest::newRow("OK, then options closed") << false;
}

void TestWindows::closingOneWindowKeepsLockForTheOther() {
    QFETCH(bool, optionsFirst);
    AppFixture app(QDateTime(QDate(2026, 12, 7), QTime(10, 29, 0)));
    frmMain* m = StartProgram(app, {{"2026/12/07/10:30", " x"}});
    frmOption* o = OpenOptions(m);
    Clock::Set(QDateTime(QDate(2026, 12, 7), QTime(10, 30, 0)));
    m->Timer1_Timer(); // an alarm while the options window is open
    QVERIFY(FormSlot<frmMessage>::Get()->isVisible());
    const auto closeOptions = [&] { Click(o->Command1); };
    const auto answerAlarm = [] {
        QTest::mouseClick(FormSlot<frmMessage>::Get()->Command1, Qt::LeftButton);
    };
    optionsFirst ? closeOptions() : answerAlarm();
    QVERIFY(!m->Command3->isEnabled()); // locked until the other goes too
    optionsFirst ? answerAlarm() : closeOptions();
    QVERIFY(m->isVisible());
    QVERIFY(m->Command3->isEnabled());
}

void TestWindows::sessionEndKeepsWhatWindowsHold_data() {
    QTest::addColumn<bool>("options");
    QTest::addColumn<bool>("logOff");
    QTest::newRow("history window, log-off") << false << true;
    QTest::newRow("history window, signal") << false << false;
    QTest::newRow("options window, log-off") << true << true;
    QTest::newRow("options window, signal") << true << false;
}

// The window's close would settle its data: the session's end writes that,
// and no box waits for an answer nobody can give.
void TestWindows::sessionEndKeepsWhatWindowsHold() {
    QFETCH(bool, options);
    QFETCH(bool, logOff);
    AppFixture app;
    app.WriteDefaults();
    app.WriteFile("AppData.txt", "1,0,0,\r\n");
    frmMain* m = ShowProgram(app);
    HistoryText = E1;
    m->Command6->setEnabled(true);
    if (options) {
        Click(OpenOptions(m)->Option1[4]); // the file sound, and no file
        QTest::ignoreMessage(
            QtWarningMsg,
            "velsokura: サウンドファイルのパスが選択されていません、サウンド1に設定します。");
    } else {
        OpenHistory(m)->Text1->appendPlainText(" EDITED");
    }
    BoxAnswerer boxes;
    if (logOff) {
        QEvent quit(QEvent::Quit);
        QCoreApplication::sendEvent(qApp, &quit);
    } else {
        m->EndSession();
    }
    QCOMPARE(ProgramEnded, std::uint8_t(1));
    QCOMPARE(app.ReadFile("AppData.txt"), QByteArray("1,0,0,\r\n"));
    QCOMPARE(app.ReadFile("RirekiData.dat"),
             Cp932::Encode(E1 + (options ? "" : "\r\n EDITED") + "\r\n"));
    QCOMPARE(boxes.texts, QStringList());
}

QTEST_MAIN(TestWindows)
#include "test_windows.moc"
