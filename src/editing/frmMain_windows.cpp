#include "app/frmMain.h"
#include "core/mdlMain.h"
#include "history/frmRireki.h"
#include "options/frmOption.h"

using namespace mdlMain;

void frmMain::Command6_Click() {
    // While the exit waits on a box, the history it has written is no longer
    // the window's to edit.
    if (HistoryText.isEmpty() || CommandBusy == 1 || SavingAtExit == 1) return;
    CommandBusy = 1;
    FormSlot<frmRireki>::Load()->show();
    CommandBusy = 0;
}

void frmMain::Command8_Click() {
    FormSlot<frmOption>::Load()->show();
}
