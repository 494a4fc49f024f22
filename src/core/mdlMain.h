#pragma once
// The program's shared state: one UI thread, flags are bytes holding 0 or 1.

#include <QDateTime>
#include <QString>
#include <cstdint>

class frmMain;

namespace mdlMain {

inline QString AppFolder;         // folder of every data file, ending in a separator
inline int ScheduleCount = 0;     // appointments in the grid (0 for the empty row)
inline QString HistoryText;       // entries newest first, CR LF between them
inline std::uint8_t AdShown = 0;  // first-run window already shown
inline std::uint8_t Quitting = 0; // exit has written the files; every wait ends
inline std::uint8_t CommandBusy = 0;
inline std::uint8_t MessageWindowUp = 0;
inline std::uint8_t StartupNoticePending = 0;
inline std::uint8_t AlarmFired = 0;
inline std::uint8_t FirstTickPending = 0;
inline std::uint8_t AlarmImminent = 0;
inline std::uint8_t NoticeClosed = 0;
inline std::uint8_t AnswerCode = 0; // 0 none, 1 Yes, 2 No / Cancel / closed
inline std::uint8_t StatusCancelled = 0;
inline std::uint8_t SoundOn = 0;
inline std::uint8_t SoundIndex = 0; // 0-3 built-in sounds, 4 the user's file
inline QString SoundFilePath;
inline std::uint8_t SaveHistoryAtExit = 0;
inline std::uint8_t SoundTestOn = 0;
inline std::uint8_t MainHidden = 0;
inline QString ScheduleText; // writers' scratch buffer
inline std::uint8_t ScheduleWriteFailed = 0;
inline std::uint8_t LastExitUnsaved = 0;
inline std::uint8_t SavingAtExit = 0;
inline int SelectedRow = 0;
inline QString NextDueText;
inline QDateTime NextDueTime;
inline int TrayRetryCount = 0;

// Our own bookkeeping.
inline std::uint8_t DataFilesRead = 0;   // schedule and settings files were read
inline std::uint8_t StartupDone = 0;     // start-up has finished; the tick may fire
inline std::uint8_t HistoryFileRead = 0; // the history file was read (or found absent)
inline std::uint8_t ProgramEnded = 0;    // the program is ending; nothing more runs
inline std::uint8_t SessionEnding = 0;   // a logoff or signal ends the run: no box waits
inline std::uint8_t NoSoundTold = 0;     // the user has heard that no sound can play

// The one main window of the run (VB's implicit form instance); null once
// it is destroyed.
frmMain* Main();
void SetMain(frmMain* form);

// Puts every global back to its launch value (a fresh run).
void ResetState();

// Sets AppFolder to the data folder (AppPaths::DataFolder), with one trailing
// separator.
void InitAppFolder();

// Ends the program at once: no save, no further messages.
void EndProgram();

// Lets the window system deliver what is pending, without waiting.
void PumpEvents();

} // namespace mdlMain
