#include "advert/frmOshirase.h"
#include "alarm/Sounds.h"
#include "app/frmMain.h"
#include "core/mdlMain.h"
#include "dialogs/frm2Message.h"
#include "dialogs/frm3Message.h"
#include "dialogs/frmMessage.h"
#include "dialogs/frmStatus.h"
#include "history/frmRireki.h"
#include "options/frmOption.h"
#include "platform/Tray.h"
#include "store/FlexGrid.h"
#include "store/HistoryFile.h"
#include "store/ScheduleFile.h"
#include "store/SettingsFile.h"

#include <QTimer>

using namespace mdlMain;

namespace {
// The exit shows nothing of its own; its error output keeps what failed.
void ReportUnwritten(bool written, const char* name) {
    if (!written) qWarning("velsokura: %s could not be written", name);
}
} // namespace

void frmMain::Command3_Click() {
    Unload(vbFormCode);
}

void frmMain::EndSession() {
    // Nobody answers a box at the end of a session: none may hold it up, and
    // one the exit already waits on lets go.
    SessionEnding = 1;
    Unload(vbAppWindows);
}

void frmMain::Form_QueryUnload(int& Cancel, int UnloadMode) {
    // The exit already running (waiting on a box) ends the program itself.
    if (SavingAtExit == 1) {
        Cancel = 1;
        return;
    }
    if (UnloadMode == vbAppWindows || MessageWindowUp != 1) {
        // Files never read are never replaced by empty data.
        if (DataFilesRead == 1) ExitSequence();
        return;
    }
    if (UnloadMode == vbFormControlMenu) Cancel = 1;
}

void frmMain::Form_Unload() {
    EndProgram();
}

void frmMain::ExitSequence() {
    Timer1->stop(); // no alarm takes a row out between the writes
    SavingAtExit = 1;
    // What the open windows hold goes into the data before it is written.
    SettleOpenForms();
    // A history that could not be read is not overwritten.
    if (HistoryFileRead == 1) ReportUnwritten(WriteHistoryFile(), "RirekiData.dat");

    ScheduleText = GridScheduleLines(MSFlexGrid1);
    SortAndSaveGrid(MSFlexGrid1);
    ReportUnwritten(WriteScheduleFileAtExit(), "velsokura.txt");
    // A history file that could not be read keeps its place; the run's own
    // entries go to an export file instead of being lost.
    if ((SaveHistoryAtExit == 1 || HistoryFileRead != 1) && !HistoryText.isEmpty()) ExportHistory();
    ReportUnwritten(WriteSettingsFile(), "AppData.txt");
    Quitting = 1;

    FormSlot<frmOshirase>::Unload();
    FormSlot<frmMessage>::Unload();
    FormSlot<frmRireki>::Unload();
    FormSlot<frmStatus>::Unload();
    FormSlot<frm2Message>::Unload();
    FormSlot<frm3Message>::Unload();
    FormSlot<frmOption>::Unload();
    CloseAllSounds();
    Tray().Remove();
}
