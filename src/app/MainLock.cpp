#include "app/MainLock.h"

#include "app/frmMain.h"
#include "core/Colors.h"
#include "core/mdlMain.h"
#include "dialogs/frm2Message.h"
#include "dialogs/frm3Message.h"
#include "dialogs/frmMessage.h"
#include "editing/RowButtons.h"
#include "history/frmRireki.h"
#include "options/frmOption.h"
#include "store/FlexGrid.h"

#include <QPushButton>

using namespace mdlMain;

namespace {
template <class T> bool HoldsLock() {
    const T* form = FormSlot<T>::Get();
    return form && !form->IsClosing();
}
} // namespace

bool MainLocked() {
    const frmMessage* alarm = FormSlot<frmMessage>::Get();
    return (alarm && alarm->isVisible()) || HoldsLock<frm2Message>() || HoldsLock<frm3Message>() ||
           HoldsLock<frmRireki>() || HoldsLock<frmOption>();
}

void DisableMainControls() {
    frmMain* f = Main();
    if (!f) return;
    for (QPushButton* b : {f->Command1, f->Command2, f->Command3, f->Command4, f->Command5})
        b->setEnabled(false);
    const bool history = !HistoryText.isEmpty();
    f->Command6->setEnabled(history);
    Colors::SetBackColor(f->Command6, history ? Colors::Yellow : Colors::ButtonFace());
    f->Command7->setEnabled(false);
    f->Command8->setEnabled(false);
    for (QWidget* w : f->EntryFields())
        w->setEnabled(false);
    f->MSFlexGrid1->setEnabled(false);
}

void EnableMainControls() {
    frmMain* f = Main();
    if (!f || MainLocked()) return;
    for (QPushButton* b : {f->Command1, f->Command8, f->Command3})
        b->setEnabled(true);
    f->Command6->setEnabled(!HistoryText.isEmpty());
    UpdateRowButtons();
    f->Command2->setEnabled(f->Command7->isEnabled());
    for (QWidget* w : f->EntryFields())
        w->setEnabled(true);
    f->MSFlexGrid1->setEnabled(true);
    UpdateResetButton(false);
}

void UpdateResetButton(bool toFirstColumn) {
    frmMain* f = Main();
    FlexGrid* grid = f->MSFlexGrid1;
    bool any = grid->Rows() > 2;
    if (!any) {
        grid->SetRow(1);
        if (toFirstColumn) grid->SetCol(1);
        // Row 1's key decides: the hidden column 0 is always empty.
        any = !grid->TextMatrix(1, 1).isEmpty();
    }
    f->Command4->setEnabled(any && !MainLocked());
}
