#include "app/frmMain.h"
#include "core/mdlMain.h"
#include "history/frmRireki.h"
#include "options/frmOption.h"

using namespace mdlMain;

void frmMain::Command6_Click() {
    if (HistoryText.isEmpty() || CommandBusy == 1) return;
    CommandBusy = 1;
    FormSlot<frmRireki>::Load()->show();
    CommandBusy = 0;
}

void frmMain::Command8_Click() {
    FormSlot<frmOption>::Load()->show();
}
