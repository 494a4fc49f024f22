// The schedule file: line sorting, exact bytes of both writers, the reader's
// answer to every kind of file, and the grid rebuild.

#include "TestSupport.h"
#include "app/StartupReads.h"
#include "app/frmMain.h"
#include "core/mdlMain.h"
#include "dialogs/frmMessage.h"
#include "platform/Clock.h"
#include "store/FlexGrid.h"
#include "store/ScheduleFile.h"

#include <QDir>
#include <QPushButton>
#include <QtTest>

using namespace mdlMain;

namespace {

const QString A = QStringLiteral("2026/12/08/09:00");
const QString B = QStringLiteral("2026/12/24/19:00");
const QString C = QStringLiteral("2027/01/01/00:00");

} // namespace

class TestScheduleFile : public QObject {
    Q_OBJECT
  private slots:
    void sortLines_data();
    void sortLines();
    void writersGiveExactBytes_data();
    void writersGiveExactBytes();
    void failedWriteTellsAndKeepsTheOldFile();
    void readerAnswersEveryFile_data();
    void readerAnswersEveryFile();
    void readerSortsAndCleansText();
    void readerFindsDuplicateKeyAnywhere_data();
    void readerFindsDuplicateKeyAnywhere();
    void exitFileReadsBackWithoutWarning();
    void badLinesAreSetAsideAndTold_data();
    void badLinesAreSetAsideAndTold();
    void rebuildSortsUnderFreshHeader();
};

void TestScheduleFile::sortLines_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("order");
    QTest::addColumn<QString>("expected");
    QTest::newRow("a final break makes an empty line") << "b\r\n" << 0 << "\r\nb\r\n";
    QTest::newRow("one line no break") << "only" << 0 << "only";
    QTest::newRow("ascending") << "b\r\na" << 0 << "a\r\nb\r\n";
    QTest::newRow("descending") << "a\r\nb" << 1 << "b\r\na\r\n";
    QTest::newRow("empty lines sort first") << "b\r\na\r\n" << 0 << "\r\na\r\nb\r\n";
    QTest::newRow("three breaks leave two") << "b\n\n\na" << 0 << "\r\na\r\nb\r\n";
    QTest::newRow("case-sensitive") << "a\r\nB" << 0 << "B\r\na\r\n";
}

void TestScheduleFile::sortLines() {
    QFETCH(QString, text);
    QFETCH(int, order);
    QFETCH(QString, expected);
    QCOMPARE(SortLines(text, order), expected);
}

void TestScheduleFile::writersGiveExactBytes_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<QByteArray>("duringRun");
    QTest::addColumn<QByteArray>("atExit");
    const QString l1 = ScheduleLine(A, " 歯医者");
    const QString l2 = ScheduleLine(B, " 会議");
    const QString l3 = ScheduleLine(C, " 新年");
    QTest::newRow("none") << 0 << QByteArray("1\r\n") << QByteArray("1\r\n");
    QTest::newRow("one") << 1 << Cp932::Encode(l1 + "\r\n") << Cp932::Encode("1\r\n" + l1 + "\r\n");
    QTest::newRow("three") << 3 << Cp932::Encode(l1 + "\r\n" + l2 + "\r\n" + l3 + "\r\n\r\n")
                           << Cp932::Encode("1\r\n" + l1 + "\r\n" + l2 + "\r\n" + l3 + "\r\n\r\n");
}

void TestScheduleFile::writersGiveExactBytes() {
    QFETCH(int, count);
    QFETCH(QByteArray, duringRun);
    QFETCH(QByteArray, atExit);
    AppFixture app;
    InitAppFolder();
    frmMain* main = app.NewMain();
    // Out of order on purpose: every writer sorts.
    const QList<QPair<QString, QString>> all = {{C, " 新年"}, {A, " 歯医者"}, {B, " 会議"}};
    QList<QPair<QString, QString>> rows = all.mid(0, count);
    if (count == 1) rows = {{A, " 歯医者"}};
    FillGrid(main->MSFlexGrid1, rows);

    SaveGridSchedules(main->MSFlexGrid1);
    QCOMPARE(app.ReadFile("velsokura.txt"), duringRun);

    // The exit builds the lines from the grid, then sorts, saves and writes.
    ScheduleText = GridScheduleLines(main->MSFlexGrid1);
    SortAndSaveGrid(main->MSFlexGrid1);
    WriteScheduleFileAtExit();
    QCOMPARE(app.ReadFile("velsokura.txt"), atExit);
    QCOMPARE(AdShown, std::uint8_t(1));
}

void TestScheduleFile::failedWriteTellsAndKeepsTheOldFile() {
    AppFixture app;
    InitAppFolder();
    frmMain* main = app.NewMain();
    QVERIFY(QDir(app.Folder()).mkdir("velsokura.txt")); // cannot be replaced by a file
    FillGrid(main->MSFlexGrid1, {{A, " x"}, {B, " y"}});
    BoxAnswerer boxes;
    SaveGridSchedules(main->MSFlexGrid1);
    QCOMPARE(boxes.texts, QStringList{"データ書き込みに失敗しました。"});
    QCOMPARE(ScheduleWriteFailed, std::uint8_t(1));
    QVERIFY(QFileInfo(app.Folder() + "velsokura.txt").isDir());
    QCOMPARE(main->MSFlexGrid1->Rows(), 3);
}

void TestScheduleFile::readerAnswersEveryFile_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("loads");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("adShown");
    const QString sep = ScheduleFile::FieldSeparator;
    const QString warn =
        "前回アプリケーション終了時に保存出来てない可能性があります、念のためご確認下さい。";
    QTest::newRow("first run") << QByteArray("0\r\n") << true << "" << 0 << 0;
    QTest::newRow("clean, empty") << QByteArray("1\r\n") << true << "" << 0 << 1;
    QTest::newRow("non-numeric first line") << QByteArray("abc\r\n") << true << "" << 0 << 0;
    QTest::newRow("leading number") << QByteArray("2x\r\n") << true << "" << 0 << 1;
    QTest::newRow("empty file") << QByteArray() << true << "" << 0 << 0;
    QTest::newRow("separator only") << Cp932::Encode(sep + "\r\n") << true << warn << 0 << 1;
    QTest::newRow("schedule first")
        << Cp932::Encode(ScheduleLine(A, " x") + "\r\n") << true << warn << 1 << 1;
    QTest::newRow("clean, two") << Cp932::Encode("1\r\n" + ScheduleLine(A, " x") + "\r\n" +
                                         ScheduleLine(B, " y") + "\r\n\r\n")
                                << true << "" << 2 << 1;
    QTest::newRow("duplicate keys")
        << Cp932::Encode("1\r\n" + ScheduleLine(B, " x") + "\r\n" + ScheduleLine(B, " y") + "\r\n") << true
        << B + "の時間が重複しています、テキストファイルを操作した場合は日付時間の重複行を削除する"
               "か"
               "変更しておいて下さい。"
        << 2 << 1;
    const auto aside = [](int number, const QString& line) {
        return "velsokura.txtの次の行は予定として読めないため、「velsokura_bad.txt」に移しました。\n" +
               QString::number(number) + "行目：" + line;
    };
    QTest::newRow("text start beyond the line, 17")
        << Cp932::Encode("1\r\n" + A.left(5) + sep + "\r\n") << true << aside(2, A.left(5) + sep)
        << 0 << 1;
    QTest::newRow("text start beyond the line, 27")
        << Cp932::Encode("1\r\n" + A.left(15) + sep + "\r\n") << true
        << aside(2, A.left(15) + sep) << 0 << 1;
    QTest::newRow("broken separator is no schedule")
        << Cp932::Encode("1\r\n" + A + sep.left(11) + "\r\n" + ScheduleLine(B, " y")) << true
        << aside(2, A + sep.left(11)) << 1 << 1;
    QTest::newRow("key not a real date")
        << Cp932::Encode("1\r\n" + ScheduleLine("2026/13/45/25:99", " x") + "\r\n") << true
        << aside(2, ScheduleLine("2026/13/45/25:99", " x")) << 0 << 1;
    QTest::newRow("NUL bytes") << QByteArray("1\r\n\0\r\n", 5) << true << aside(2, "<NUL>") << 0
                               << 1;
    QTest::newRow("key of letters")
        << Cp932::Encode("1\r\n" + ScheduleLine("abcd/ef/gh/ij:kl", " x") + "\r\n") << true
        << aside(2, ScheduleLine("abcd/ef/gh/ij:kl", " x")) << 0 << 1;
}

void TestScheduleFile::readerAnswersEveryFile() {
    QFETCH(QByteArray, file);
    QFETCH(bool, loads);
    QFETCH(QString, message);
    QFETCH(int, count);
    QFETCH(int, adShown);
    AppFixture app;
    InitAppFolder();
    app.WriteFile("velsokura.txt", file);
    frmMain* main = app.NewMain();
    BoxAnswerer boxes;
    QCOMPARE(LoadSchedules(), loads);
    QCOMPARE(boxes.texts, message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(app.ReadFile("velsokura.txt"), file); // reading never writes
    if (!loads) {
        QCOMPARE(ProgramEnded, std::uint8_t(1));
        return;
    }
    QCOMPARE(ScheduleCount, count);
    QCOMPARE(int(AdShown), adShown);
    QCOMPARE(main->MSFlexGrid1->Rows(), std::max(count, 1) + 1);
}

void TestScheduleFile::readerSortsAndCleansText() {
    AppFixture app;
    InitAppFolder();
    app.WriteText("velsokura.txt", "1\r\n" + ScheduleLine(C, "   three spaces") + "\r\n" +
                                       ScheduleLine(A, "none") + "\r\n" + ScheduleLine(B, " one") +
                                       "\r\n\r\n");
    frmMain* main = app.NewMain();
    QVERIFY(LoadSchedules());
    FlexGrid* g = main->MSFlexGrid1;
    QCOMPARE(g->Rows(), 4);
    QCOMPARE(g->TextMatrix(1, 1), A);
    QCOMPARE(g->TextMatrix(1, 2), QString(" none"));
    QCOMPARE(g->TextMatrix(2, 2), QString(" one"));
    QCOMPARE(g->TextMatrix(3, 1), C);
    QCOMPARE(g->TextMatrix(3, 2), QString(" three spaces"));
}

void TestScheduleFile::readerFindsDuplicateKeyAnywhere_data() {
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("reported");
    QTest::newRow("not the largest read so far") << QStringList{A, C, A} << A;
    QTest::newRow("first repeat in the file's order") << QStringList{B, C, A, B, A} << B;
    QTest::newRow("in order") << QStringList{A, B, B, C, C} << B;
}

void TestScheduleFile::readerFindsDuplicateKeyAnywhere() {
    QFETCH(QStringList, keys);
    QFETCH(QString, reported);
    AppFixture app;
    InitAppFolder();
    QString file = "1\r\n";
    for (const QString& key : keys)
        file += ScheduleLine(key, " x") + "\r\n";
    app.WriteText("velsokura.txt", file);
    frmMain* main = app.NewMain();
    BoxAnswerer boxes;
    QVERIFY(LoadSchedules());
    QCOMPARE(boxes.texts.size(), 1);
    QVERIFY(boxes.texts[0].startsWith(reported + "の時間が重複しています"));
    QCOMPARE(main->MSFlexGrid1->Rows(), int(keys.size()) + 1);
}

void TestScheduleFile::exitFileReadsBackWithoutWarning() {
    AppFixture app;
    InitAppFolder();
    frmMain* main = app.NewMain();
    FillGrid(main->MSFlexGrid1, {{B, " 会議 & 打ち合わせ"}, {A, " 歯医者"}});
    SortAndSaveGrid(main->MSFlexGrid1);
    ScheduleText = ScheduleLine(A, " 歯医者") + "\r\n" + ScheduleLine(B, " 会議 & 打ち合わせ");
    WriteScheduleFileAtExit();
    delete main;
    ResetState();
    InitAppFolder();
    main = app.NewMain();
    BoxAnswerer boxes;
    QVERIFY(LoadSchedules());
    QVERIFY(boxes.texts.isEmpty());
    QCOMPARE(ScheduleCount, 2);
    QCOMPARE(main->MSFlexGrid1->TextMatrix(2, 2), QString(" 会議 & 打ち合わせ"));
}

void TestScheduleFile::badLinesAreSetAsideAndTold_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("shown");
    const QByteArray sep = Cp932::Encode(ScheduleFile::FieldSeparator);
    QTest::newRow("no such minute") << "2030/02/30/25:61" + sep + " a" << QString();
    QTest::newRow("letters") << "abcd/ef/gh/ij:kl" + sep + " a" << QString();
    QTest::newRow("month 13") << "2030/13/01/10:00" + sep + " a" << QString();
    QTest::newRow("not padded") << "2099/1/1/9:00" + sep + " a" << QString();
    QTest::newRow("NUL in the text") << "2030/01/01/10:00" + sep + QByteArray(" a\0b", 4)
                                     << "2030/01/01/10:00" + ScheduleFile::FieldSeparator + " a<NUL>b";
    QTest::newRow("a line of NULs") << QByteArray(6, '\0') << "<NUL><NUL><NUL><NUL><NUL><NUL>";
}

// A line that can be no schedule keeps none of the others from ringing: the
// program starts with every good one, names the line, and keeps it in a file
// beside the schedules, added to what is there, never written over.
void TestScheduleFile::badLinesAreSetAsideAndTold() {
    QFETCH(QByteArray, line);
    QFETCH(QString, shown);
    if (shown.isEmpty()) shown = Cp932::Decode(line);
    AppFixture app(At(10, 0, 0));
    app.WriteDefaults();
    const QByteArray good = Cp932::Encode(ScheduleLine("2026/12/07/10:30", " 会議"));
    app.WriteFile("velsokura.txt", "1\r\n" + line + "\r\n" + good + "\r\n");
    app.WriteFile("velsokura_bad.txt", "earlier\r\n");
    BoxAnswerer boxes;
    frmMain* main = ShowProgram(app);
    QCOMPARE(ProgramEnded, std::uint8_t(0));
    QCOMPARE(boxes.texts, QStringList{"velsokura.txtの次の行は予定として読めないため、"
                                      "「velsokura_bad.txt」に移しました。\n2行目：" + shown});
    QCOMPARE(ScheduleCount, 1);
    QCOMPARE(main->MSFlexGrid1->TextMatrix(1, 1), QString("2026/12/07/10:30"));
    QCOMPARE(app.ReadFile("velsokura_bad.txt"),
             "earlier\r\n" + QByteArray(line).replace('\0', '?') + "\r\n");
    // Dropped before any write took the line out: found and told again, kept once.
    main = RestartProgram(app);
    QCOMPARE(boxes.texts.size(), 2);
    QCOMPARE(app.ReadFile("velsokura_bad.txt"),
             "earlier\r\n" + QByteArray(line).replace('\0', '?') + "\r\n");
    QTest::mouseClick(main->Command3, Qt::LeftButton);
    QCOMPARE(app.ReadFile("velsokura.txt"), "1\r\n" + good + "\r\n");
    boxes.texts.clear();
    main = RestartProgram(app);
    QCOMPARE(boxes.texts, QStringList());
    QCOMPARE(app.ReadFile("velsokura_bad.txt"),
             "earlier\r\n" + QByteArray(line).replace('\0', '?') + "\r\n");
    // The good one rings at its minute.
    Clock::Set(At(10, 30, 0));
    main->Timer1_Timer();
    QVERIFY(FormSlot<frmMessage>::Get()->isVisible());
}

void TestScheduleFile::rebuildSortsUnderFreshHeader() {
    AppFixture app;
    InitAppFolder();
    frmMain* main = app.NewMain();
    FlexGrid* g = main->MSFlexGrid1;
    FillGrid(g, {{C, " c"}, {A, " a"}, {B, " b"}});
    g->SetTextMatrix(0, 1, "x");
    main->RebuildGrid();
    QCOMPARE(g->Rows(), 4);
    QCOMPARE(g->TextMatrix(0, 1), ScheduleFile::HeaderKey);
    QCOMPARE(g->TextMatrix(0, 2), ScheduleFile::HeaderText);
    QCOMPARE(g->TextMatrix(1, 1) + g->TextMatrix(1, 2), A + " a");
    QCOMPARE(g->TextMatrix(3, 1) + g->TextMatrix(3, 2), C + " c");
    QCOMPARE(g->ColWidthTw(1), 1600.0);
}

QTEST_MAIN(TestScheduleFile)
#include "test_schedulefile.moc"
