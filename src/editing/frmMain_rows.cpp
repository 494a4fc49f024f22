#include "app/frmMain.h"
#include "core/mdlMain.h"
#include "editing/RowButtons.h"
#include "store/FlexGrid.h"

#include <QPushButton>

using namespace mdlMain;

void UpdateRowButtons() {
    frmMain* f = Main();
    FlexGrid* grid = f->MSFlexGrid1;
    grid->SetRedraw(false);
    SelectedRow = grid->Row();
    const bool selected = grid->Row() >= 0 && grid->Col() > 0;
    grid->SetRedraw(true);
    const bool enable = selected && FirstTickPending != 1;
    f->Command7->setEnabled(enable);
    f->Command2->setEnabled(enable);
}

void ClearSelection() {
    if (CommandBusy == 1) return;
    CommandBusy = 1;
    frmMain* f = Main();
    f->MSFlexGrid1->SetCol(0);
    f->MSFlexGrid1->SetRow(0);
    f->Command7->setEnabled(false);
    f->Command2->setEnabled(false);
    CommandBusy = 0;
}
