#include "app/AppIcon.h"
#include "app/frmMain.h"
#include "core/mdlMain.h"
#include "platform/Fonts.h"
#include "platform/FreedMemory.h"
#include "platform/QtTranslations.h"
#include "platform/QuitSignals.h"
#include "platform/Tray.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velsokura"));
    QApplication::setQuitOnLastWindowClosed(false);
    Fonts::RegisterSubstitutes();
    LoadQtTranslations();
    const QIcon icon = AppIcon();
    QApplication::setWindowIcon(icon);
    SetTrayPicture(icon);

    auto* main = new frmMain();
    main->Form_Load();
    if (mdlMain::ProgramEnded == 1) return 0;
    ReturnFreedMemory();
    main->ShowAtStart();
    // Before this a signal simply ends the process: start-up writes nothing.
    CatchQuitSignals(main, [main] { main->EndSession(); });
    return QApplication::exec();
}
