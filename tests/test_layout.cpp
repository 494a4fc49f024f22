// The windows' controls neither overlap nor clip their captions, and message
// texts wrap where Japanese breaks best. Run at several QT_SCALE_FACTORs.

#include "TestSupport.h"
#include "app/frmMain.h"
#include "core/mdlMain.h"
#include "dialogs/MessageText.h"
#include "dialogs/MessageWaits.h"
#include "dialogs/frm2Message.h"
#include "dialogs/frm3Message.h"
#include "options/frmOption.h"
#include "store/FlexGrid.h"

#include <QAbstractButton>
#include <QDateEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

using namespace mdlMain;

namespace {

QString Name(const QWidget* w) {
    const auto* button = qobject_cast<const QAbstractButton*>(w);
    return QString::fromLatin1(w->metaObject()->className()) + QLatin1Char(' ') +
           (button ? button->text() : QString());
}

// What overlaps, sticks out of its parent or is too small for its caption.
QStringList LayoutFaults(const QWidget* parent) {
    QStringList faults;
    QList<const QWidget*> controls;
    const auto children = parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (const QWidget* w : children) {
        const bool control = qobject_cast<const QAbstractButton*>(w) ||
                             qobject_cast<const QGroupBox*>(w) ||
                             qobject_cast<const QPlainTextEdit*>(w);
        if (!control || !w->isVisibleTo(parent)) continue;
        if (!parent->rect().contains(w->geometry())) faults << Name(w) + " sticks out";
        const bool captioned = qobject_cast<const QAbstractButton*>(w);
        if (captioned &&
            (w->width() < w->sizeHint().width() || w->height() < w->sizeHint().height()))
            faults << Name(w) + " clips its caption";
        for (const QWidget* other : controls)
            if (w->geometry().intersects(other->geometry()))
                faults << Name(w) + " overlaps " + Name(other);
        controls << w;
        if (qobject_cast<const QGroupBox*>(w)) faults << LayoutFaults(w);
    }
    return faults;
}

} // namespace

class TestLayout : public QObject {
    Q_OBJECT
  private slots:
    void optionsControlsFit();
    void mainWindowTextsWhole();
    void boxTextsWrapAtNaturalPoints_data();
    void boxTextsWrapAtNaturalPoints();
    void lastLineKeepsThreeCharacters_data();
    void lastLineKeepsThreeCharacters();
};

void TestLayout::optionsControlsFit() {
    AppFixture app;
    frmMain* m = StartProgram(app, {});
    SoundIndex = 4;
    SoundFilePath = "/home/user/" + QString("とても長いフォルダの名前/").repeated(8) + "chime.mp3";
    QTest::mouseClick(m->Command8, Qt::LeftButton);
    frmOption* o = FormSlot<frmOption>::Get();
    const QStringList faults = LayoutFaults(o);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join("; ")));
    // The whole path shows, wrapped over the box's lines.
    QCoreApplication::processEvents();
    QCOMPARE(o->Text1->verticalScrollBar()->maximum(), 0);
    QCOMPARE(o->Text1->horizontalScrollBar()->maximum(), 0);
}

// The grid's header captions and the date field, every weekday, whole.
void TestLayout::mainWindowTextsWhole() {
    AppFixture app;
    frmMain* m = StartProgram(app, {});
    const QHeaderView* header = m->MSFlexGrid1->horizontalHeader();
    QVERIFY2(header->height() >= header->sizeHint().height(),
             qPrintable(QString("the header row is %1 px high, its captions need %2")
                            .arg(header->height())
                            .arg(header->sizeHint().height())));
    const auto* edit = m->DTPicker1->findChild<QLineEdit*>();
    QVERIFY(edit);
    // QLineEdit keeps 2 px free beside its text, and a pixel for the cursor.
    const int room = edit->contentsRect().marginsRemoved(edit->textMargins()).width() - 2 * 2 - 1;
    for (int day = 0; day < 7; ++day) {
        m->DTPicker1->setDate(QDate(2026, 12, 7).addDays(day));
        const int need = edit->fontMetrics().horizontalAdvance(edit->text());
        QVERIFY2(need <= room, qPrintable(QString("「%1」 needs %2 px, the field shows %3")
                                             .arg(edit->text())
                                             .arg(need)
                                             .arg(room)));
    }
}

void TestLayout::boxTextsWrapAtNaturalPoints_data() {
    QTest::addColumn<bool>("question");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("reset question")
        << true
        << QStringList{"すべてをリセットします、", "データは初期状態になりますがよろしいですか？"};
    QTest::newRow("short question")
        << true << QStringList{"選択した行を削除しますがよろしいですか？"};
    QTest::newRow("long notice") << false
                                 << QStringList{"サウンドファイルのパスが選択されていません、",
                                                "サウンド1に設定します。"};
}

void TestLayout::boxTextsWrapAtNaturalPoints() {
    QFETCH(bool, question);
    QFETCH(QStringList, lines);
    AppFixture app;
    StartProgram(app, {});
    QStringList shown;
    QStringList faults;
    QTimer::singleShot(0, [&] {
        VbForm* box = question ? static_cast<VbForm*>(FormSlot<frm3Message>::Get())
                               : static_cast<VbForm*>(FormSlot<frm2Message>::Get());
        MessageText* text =
            question ? FormSlot<frm3Message>::Get()->lblMM : FormSlot<frm2Message>::Get()->lblM;
        shown = text->Lines();
        faults = LayoutFaults(box);
        if (text->height() < shown.size() * text->fontMetrics().lineSpacing())
            faults << "the text is cut off";
        for (const QPushButton* b : box->findChildren<QPushButton*>())
            if (b->y() <= text->geometry().bottom()) faults << "the text touches " + b->text();
        box->Unload();
    });
    if (question)
        AskQuestion(lines.join(QString()));
    else
        ShowNotice(lines.join(QString()));
    QCOMPARE(shown, lines);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join("; ")));
}

void TestLayout::lastLineKeepsThreeCharacters_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("widest"); // the line the text is given the width of
    QTest::addColumn<QStringList>("lines");
    const QString key = "2026/12/07/09:30の時間が重複しています、";
    const QString edit =
        "テキストファイルを操作した場合は日付時間の重複行を削除するか変更しておいて下";
    QTest::newRow("duplicate notice, no natural break left")
        << key + edit + "さい。" << edit + "さ" << QStringList{key, edit, "さい。"};
    QTest::newRow("question mark")
        << "データは初期状態になりますがよろしいですか？"
        << "データは初期状態になりますがよろしいです"
        << QStringList{"データは初期状態になりますがよろしいで", "すか？"};
    QTest::newRow("earlier natural break")
        << "はい、設定します、はい"
        << "はい、設定します、は" << QStringList{"はい、", "設定します、はい"};
    QTest::newRow("nothing earlier to give") << "はい。"
                                             << "はい" << QStringList{"は", "い。"};
}

// A last line of one or two characters ("い。") reads as an accident: the
// line before gives up a few when it can.
void TestLayout::lastLineKeepsThreeCharacters() {
    QFETCH(QString, text);
    QFETCH(QString, widest);
    QFETCH(QStringList, lines);
    MessageText label(text);
    label.resize(label.fontMetrics().horizontalAdvance(widest), 100);
    QCOMPARE(label.Lines(), lines);
}

QTEST_MAIN(TestLayout)
#include "test_layout.moc"
