#include "FuzzSupport.h"

#include "TestSupport.h"
#include "app/frmMain.h"
#include "core/mdlMain.h"
#include "dialogs/frm2Message.h"
#include "store/FlexGrid.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

using namespace mdlMain;

namespace {

struct Program {
    Program() : application((qputenv("QT_QPA_PLATFORM", "offscreen"), argc), argv) {
        // The notice stays up and is taken as read: a new box for every
        // input would cost more than the reading.
        QObject::connect(&answer, &QTimer::timeout, [] {
            if (FormSlot<frm2Message>::Loaded()) NoticeClosed = 1;
        });
        answer.start(0);
    }
    int argc = 1;
    char name[5] = "fuzz";
    char* argv[2] = {name, nullptr};
    QApplication application;
    AppFixture app;
    QTimer answer;
};

} // namespace

QByteArray FuzzBytes(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

frmMain* FuzzStart(const QString& file, const QByteArray& bytes) {
    static Program* program = new Program();
    program->app.soundCommands.clear();
    if (!Main() || ProgramEnded == 1) {
        program->app.NewRun();
        program->app.NewMain()->Timer1->stop();
    }
    ResetState();
    InitAppFolder();
    FillGrid(Main()->MSFlexGrid1, {});
    program->app.WriteFile(file, bytes);
    return Main();
}

void FuzzFail(const char* what) {
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}
