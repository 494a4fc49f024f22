#include "core/mdlMain.h"

#include "platform/AppPaths.h"

#include <QCoreApplication>
#include <QThread>

namespace mdlMain {

namespace {
frmMain* g_main = nullptr; // the window clears it as it goes
}

frmMain* Main() {
    return g_main;
}
void SetMain(frmMain* form) {
    g_main = form;
}

void ResetState() {
    AppFolder.clear();
    ScheduleCount = 0;
    HistoryText.clear();
    AdShown = Quitting = CommandBusy = MessageWindowUp = 0;
    StartupNoticePending = AlarmFired = FirstTickPending = AlarmImminent = 0;
    NoticeClosed = AnswerCode = StatusCancelled = 0;
    SoundOn = SoundIndex = SaveHistoryAtExit = SoundTestOn = MainHidden = 0;
    SoundFilePath.clear();
    ScheduleText.clear();
    ScheduleWriteFailed = LastExitUnsaved = SavingAtExit = 0;
    SelectedRow = 0;
    NextDueText.clear();
    NextDueTime = QDateTime();
    TrayRetryCount = 0;
    DataFilesRead = StartupDone = HistoryFileRead = ProgramEnded = 0;
    SessionEnding = NoSoundTold = 0;
}

void InitAppFolder() {
    AppFolder = AppPaths::DataFolder();
    if (!AppFolder.endsWith(QLatin1Char('/'))) AppFolder += QLatin1Char('/');
}

void EndProgram() {
    ProgramEnded = 1;
    Quitting = 1;
    // Before the event loop runs, main() sees ProgramEnded instead.
    if (QThread::currentThread()->loopLevel() > 0) QCoreApplication::exit(0);
}

void PumpEvents() {
    QCoreApplication::processEvents();
}

} // namespace mdlMain
