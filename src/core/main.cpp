#include "app/AppIcon.h"
#include "app/frmMain.h"
#include "core/mdlMain.h"
#include "platform/DesktopSession.h"
#include "platform/DisplayChoice.h"
#include "platform/Fonts.h"
#include "platform/FreedMemory.h"
#include "platform/LostDisplay.h"
#include "platform/QtTranslations.h"
#include "platform/QuitSignals.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    ChooseDisplayConnection();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velsokura"));
    // The installed menu entry's name: the desktop shows its bell and name
    // for our windows.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.velsokura.velsokura"));
    QApplication::setQuitOnLastWindowClosed(false);
    Fonts::RegisterSubstitutes();
    LoadQtTranslations();
    QApplication::setWindowIcon(AppIcon());

    auto* main = new frmMain();
    main->Form_Load();
    if (mdlMain::ProgramEnded == 1) return 0;
    ReturnFreedMemory();
    main->ShowAtStart();
    // Before this a signal simply ends the process: start-up writes nothing.
    CatchQuitSignals(main, [main] { main->EndSession(); });
    JoinDesktopSession(main, [main] { main->EndSession(); });
    const SaveOnLostDisplay lostDisplay([main] { main->SaveWithoutDisplay(); });
    return QApplication::exec();
}
