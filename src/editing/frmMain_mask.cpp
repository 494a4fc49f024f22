#include "app/frmMain.h"
#include "core/Twips.h"
#include "store/FlexGrid.h"

#include <QFrame>

// The frame's bottom stays on the grid's bottom edge (5135 twips); its top
// follows the last row, so the grid looks as tall as its content.
void frmMain::prcFrameMask() {
    const int rows = MSFlexGrid1->Rows();
    if (rows <= 2) {
        Twips::SetTop(Frame1, 575);
        Twips::SetHeight(Frame1, 4560);
        return;
    }
    const double h = MSFlexGrid1->RowHeightTw(0);
    const int emptySlots = rows >= 22 ? 0 : 22 - rows;
    Twips::SetHeight(Frame1, emptySlots * h + 65);
    Twips::SetTop(Frame1, 5070 - emptySlots * h);
}
