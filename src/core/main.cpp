#include "app/AppIcon.h"
#include "app/frmMain.h"
#include "core/mdlMain.h"
#include "platform/Fonts.h"
#include "platform/QtTranslations.h"
#include "platform/QuitSignals.h"

#include <QApplication>
#ifdef __GLIBC__
#include <malloc.h>
#endif

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velsokura"));
    QApplication::setQuitOnLastWindowClosed(false);
    Fonts::RegisterSubstitutes();
    LoadQtTranslations();
    QApplication::setWindowIcon(AppIcon());

    auto* main = new frmMain();
    main->Form_Load();
    if (mdlMain::ProgramEnded == 1) return 0;
#ifdef __GLIBC__
    // What the loader freed goes back to the system instead of idling in the heap.
    malloc_trim(0);
#endif
    main->ShowAtStart();
    // Before this a signal simply ends the process: start-up writes nothing.
    CatchQuitSignals(main, [main] { main->EndSession(); });
    return QApplication::exec();
}
