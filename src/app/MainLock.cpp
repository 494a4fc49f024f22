#include "app/MainLock.h"

#include "app/frmMain.h"
#include "core/Colors.h"
#include "core/mdlMain.h"
#include "editing/RowButtons.h"
#include "store/FlexGrid.h"

#include <QPushButton>
#include <algorithm>

using namespace mdlMain;

bool MainLocked() {
    const auto forms = LoadedForms();
    return std::any_of(forms.cbegin(), forms.cend(),
                       [](const VbForm* form) { return form->HoldsMainLock(); });
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
