// Child of the crash-safety test: takes the folder's instance lock (which the
// last child, killed, must have left free), then saves every data file over
// and over, alternating between two contents, until it is killed.
// Usage: crash_child FOLDER

#include "TestSupport.h"
#include "app/frmMain.h"
#include "core/mdlMain.h"
#include "platform/AppPaths.h"
#include "platform/SingleInstance.h"
#include "store/FlexGrid.h"
#include "store/HistoryFile.h"
#include "store/ScheduleFile.h"
#include "store/SettingsFile.h"

#include <QApplication>
#include <cstdio>

using namespace mdlMain;

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 2) return 2;
    AppPaths::SetExecutableFolder(QString::fromLocal8Bit(argv[1]));
    InitAppFolder();
    if (SingleInstance::Acquire(AppFolder) != SingleInstance::Result::Acquired) return 3;
    frmMain* main = new frmMain();
    main->Timer1->stop();
    std::puts("ready");
    std::fflush(stdout);
    for (unsigned round = 0;; ++round) {
        const bool a = round % 2 == 0;
        FillGrid(main->MSFlexGrid1, a ? CrashStateA() : CrashStateB());
        HistoryText = a ? QStringLiteral("2026/12/07/10:00/ 履歴A\r\n2026/12/06/10:00/ 古い")
                        : QStringLiteral("2026/12/07/11:00/ 履歴B");
        SoundOn = a ? 1 : 0;
        SoundIndex = a ? 4 : 2;
        SoundFilePath = a ? QStringLiteral("/音/a b.wav") : QString();
        SaveGridSchedules(main->MSFlexGrid1);
        WriteHistoryFile();
        WriteSettingsFile();
        ScheduleText.clear();
        WriteScheduleFileAtExit();
    }
}
