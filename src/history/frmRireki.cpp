#include "history/frmRireki.h"

#include "app/MainLock.h"
#include "app/frmMain.h"
#include "core/Colors.h"
#include "core/Controls.h"
#include "core/Twips.h"
#include "core/mdlMain.h"
#include "dialogs/MessageWaits.h"
#include "platform/Cp932.h"
#include "platform/Fonts.h"
#include "store/FlexGrid.h"
#include "store/HistoryFile.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>

using namespace mdlMain;

namespace {
void ClearMainCursor() {
    if (frmMain* f = Main()) {
        f->MSFlexGrid1->SetRow(0);
        f->MSFlexGrid1->SetCol(0);
    }
}

} // namespace

frmRireki::frmRireki() : VbForm(QStringLiteral("frmRireki"), Qt::WindowMinimizeButtonHint) {
    setWindowTitle(QStringLiteral("velsokura 予定の履歴"));
    setFont(QFont(Fonts::Gothic, 9));
    SetClientSizeTw(8664, 4920);
    Text1 = new QPlainTextEdit(this);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Twips::Place(Text1, 120, 120, 8415, 3975);
    Command3 = GreyButton(this, QStringLiteral("保存(&C)"), 3000, 4200, 1695, 615);
    Command2 = GreyButton(this, QStringLiteral("リセット(&B)"), 4800, 4200, 1815, 615);
    Command1 = GreyButton(this, QStringLiteral("閉じる(&A)"), 6720, 4200, 1815, 615);
    connect(Text1, &QPlainTextEdit::textChanged, this, &frmRireki::Text1_Change);
    connect(Command3, &QPushButton::clicked, this, &frmRireki::Command3_Click);
    connect(Command2, &QPushButton::clicked, this, &frmRireki::Command2_Click);
    connect(Command1, &QPushButton::clicked, this, &frmRireki::Command1_Click);

    if (Main()) Main()->hide();
    MainHidden = 1;
    Text1->setPlainText(QString(HistoryText).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    Text1_Change();
}

void frmRireki::Text1_Change() {
    const bool any = !Text1->document()->isEmpty();
    Command3->setEnabled(any);
    Command2->setEnabled(any);
}

void frmRireki::Command3_Click() {
    if (CommandBusy == 1) return;
    CommandBusy = 1;
    ExportHistory();
    ClearMainCursor();
    CommandBusy = 0;
}

void frmRireki::Command2_Click() {
    if (CommandBusy == 1) return;
    CommandBusy = 1;
    if (Quitting != 1 &&
        !AskQuestion(QStringLiteral("表示しているテキストをリセットしますがよろしいですか？"))) {
        CommandBusy = 0;
        return;
    }
    Text1->clear();
    HistoryText.clear();
    if (frmMain* f = Main()) {
        Colors::SetBackColor(f->Command6, Colors::LightGrey);
        f->Command6->setEnabled(false);
    }
    ClearMainCursor();
    CommandBusy = 0;
}

void frmRireki::Command1_Click() {
    Unload();
    ClearMainCursor();
}

void frmRireki::Form_QueryUnload(int& /*Cancel*/, int /*UnloadMode*/) {
    if (frmMain* f = Main()) f->show();
    MainHidden = 0;
    EnableMainControls();
    RestoreMainButtons(RestoreCaller::HistoryWindow);
    SettleData();
}

void frmRireki::SettleData() {
    HistoryText =
        Cp932::Holdable(Text1->toPlainText()).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

void frmRireki::ShowNewEntry(const QString& entry) {
    QTextCursor top(Text1->document());
    top.insertText(Text1->document()->isEmpty() ? entry : entry + QLatin1Char('\n'));
}

void frmRireki::DropNewEntry(const QString& entry) {
    QTextDocument* doc = Text1->document();
    if (doc->firstBlock().text() != entry) return;
    QTextCursor line(doc->firstBlock());
    line.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    line.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
    line.removeSelectedText();
}
