#include "alarm/Sounds.h"
#include "app/MainLock.h"
#include "app/frmMain.h"
#include "core/Twips.h"
#include "core/mdlMain.h"
#include "dialogs/MessageWaits.h"
#include "dialogs/frm2Message.h"
#include "dialogs/frm3Message.h"
#include "editing/RowButtons.h"
#include "platform/Clock.h"
#include "store/FlexGrid.h"
#include "store/ScheduleFile.h"

#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <exception>

using namespace mdlMain;

namespace {

void ClearCursor(FlexGrid* grid) {
    grid->SetCol(0);
    grid->SetRow(0);
}

void SetRowButtons(frmMain* f, bool enabled) {
    f->Command7->setEnabled(enabled);
    f->Command2->setEnabled(enabled);
}

} // namespace

void UpdateRowButtons() {
    frmMain* f = Main();
    FlexGrid* grid = f->MSFlexGrid1;
    SelectedRow = grid->Row();
    const bool selected = grid->Col() > 0;
    SetRowButtons(f, selected && FirstTickPending != 1 && !MainLocked());
}

void ClearSelection() {
    if (CommandBusy == 1) return;
    CommandBusy = 1;
    frmMain* f = Main();
    ClearCursor(f->MSFlexGrid1);
    SetRowButtons(f, false);
    CommandBusy = 0;
}

void frmMain::MSFlexGrid1_MouseUp() {
    StopAllSounds();
    FlexGrid* grid = MSFlexGrid1;
    if (grid->Text().isEmpty()) {
        ClearCursor(grid);
        return;
    }
    grid->SetCol(1);
    grid->SetColSel(2);
    SetRowButtons(this, grid->Col() > 0);
}

// Runs once the handler that changed the buttons is done; while a dialog
// locks the window the row it is about stays marked.
void frmMain::ShowRowSelection() {
    if (MSFlexGrid1->isEnabled()) MSFlexGrid1->SetHighlighted(Command7->isEnabled());
}

void frmMain::Frame1_MouseUp() {
    if (CommandBusy == 1) return;
    CommandBusy = 1;
    StopAllSounds();
    ClearCursor(MSFlexGrid1);
    SetRowButtons(this, false);
    CommandBusy = 0;
}

void frmMain::Command2_Click() {
    if (ScheduleCount == 0 || CommandBusy == 1) return;
    CommandBusy = 1;
    FlexGrid* grid = MSFlexGrid1;
    UpdateRowButtons();
    if (!Command7->isEnabled()) {
        Command2->setEnabled(false);
        ShowNotice(QStringLiteral("削除する行を選択して下さい。"));
        CommandBusy = 0;
        return;
    }
    if (!AskQuestion(QStringLiteral("選択した行を削除しますがよろしいですか？"))) {
        CommandBusy = 0;
        return;
    }
    if (AlarmImminent == 1 && SelectedRow == 1) {
        ShowNotice(QStringLiteral("タイマー予定時間１分前の予定は削除できません。"));
        CommandBusy = 0;
        return;
    }
    if (ScheduleCount > 1) {
        if (grid->TextMatrix(SelectedRow, 2) != QStringLiteral("予定") &&
            grid->TextMatrix(SelectedRow, 1) != QStringLiteral("日付時間"))
            grid->RemoveItem(SelectedRow);
    } else {
        grid->SetTextMatrix(1, 1, QString());
        grid->SetTextMatrix(1, 2, QString());
        Command4->setEnabled(false);
    }
    prcFrameMask();
    ClearCursor(grid);
    --ScheduleCount;
    UpdateResetButton(true);
    SaveGridSchedules(MSFlexGrid1);
    ClearCursor(grid);
    SetRowButtons(this, false);
    UpdateConvertButton();
    CommandBusy = 0;
}

void frmMain::Command4_Click() {
    if (CommandBusy == 1) return;
    CommandBusy = 1;
    try {
        ResetAll();
    } catch (const std::exception&) {
        ShowNotice(QStringLiteral("オールリセット後書き込みに失敗しました。"));
        CommandBusy = 0;
        Unload(vbFormCode);
        return;
    }
    CommandBusy = 0;
}

void frmMain::ResetAll() {
    if (!AskQuestion(
            QStringLiteral("すべてをリセットします、データは初期状態になりますがよろしいですか？")))
        return;
    ScheduleCount = 0;
    AlarmImminent = 0;
    FlexGrid* grid = MSFlexGrid1;
    grid->SetRedraw(false);
    grid->Clear();
    grid->SetColWidthTw(0, 0);
    ScheduleFile::SetGridHeader(grid);
    grid->SetRows(2);
    ClearCursor(grid);
    grid->SetRedraw(true);
    SaveGridSchedules(MSFlexGrid1);
    const QString today = Clock::Date(Clock::Now());
    Text1->clear();
    Text2->clear();
    Text3->clear();
    SetPickerDate(today);
    Command4->setEnabled(false);
    Command8->setEnabled(!MainLocked());
    UpdateRowButtons();
    Text4->clear();
    Text5->clear();
    Text6->clear();
    SetPickerDate(today);
    FormSlot<frm2Message>::Unload();
    FormSlot<frm3Message>::Unload();
    Twips::SetHeight(Frame1, 4560);
    Twips::SetTop(Frame1, 575);
}
