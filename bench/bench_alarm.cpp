// The alarm engine's costs, offscreen:
//  - the time from the tick of a due minute to the alarm window being shown,
//    and to the end of that tick, with 10,000 appointments;
//  - the processor time the real program uses over 60 s of idling with
//    1,000 appointments none due (pass the built program's path).
// Run: QT_QPA_PLATFORM=offscreen build/bench/bench_alarm build/velsokura

#include "../tests/TestSupport.h"
#include "app/frmMain.h"
#include "core/mdlMain.h"
#include "dialogs/frmMessage.h"
#include "platform/Clock.h"
#include "platform/Mci.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <cstdio>
#include <unistd.h>

using namespace mdlMain;

namespace {

QString Schedules(int n, const QDateTime& first) {
    QString text = QStringLiteral("1\r\n");
    for (int i = 0; i < n; ++i)
        text +=
            ScheduleLine(Clock::Key(first.addSecs(60LL * i)), QStringLiteral(" 予定%1").arg(i)) +
            QStringLiteral("\r\n");
    return text + QStringLiteral("\r\n");
}

void DueMinute() {
    const QDateTime due(QDate(2026, 12, 8), QTime(9, 0));
    AppFixture app(due.addSecs(-120));
    app.WriteDefaults();
    app.WriteText(QStringLiteral("velsokura.txt"), Schedules(10000, due));
    frmMain* main = app.NewMain();
    main->Form_Load();
    main->Timer1->stop();
    main->Timer1_Timer();
    Clock::Set(due);
    // The sound starts right after the window is shown.
    double shownMs = -1;
    QElapsedTimer t;
    Mci::SetBackend([&](const QString&) {
        if (shownMs < 0 && FormSlot<frmMessage>::Get()->isVisible())
            shownMs = t.nsecsElapsed() / 1e6;
    });
    SoundOn = 1;
    t.start();
    main->Timer1_Timer();
    const double tickMs = t.nsecsElapsed() / 1e6;
    std::printf(
        "due minute, 10,000 appointments: window shown after %.1f ms, tick done after %.1f ms\n",
        shownMs, tickMs);
}

double CpuSeconds(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return -1;
    const QList<QByteArray> f = stat.readAll().split(' ');
    return (f.value(13).toDouble() + f.value(14).toDouble()) / double(sysconf(_SC_CLK_TCK));
}

void Idle(const QString& program) {
    QTemporaryDir dir;
    const QString exe = dir.path() + QStringLiteral("/velsokura");
    QFile::copy(program, exe);
    QFile data(dir.path() + QStringLiteral("/velsokura.txt"));
    data.open(QIODevice::WriteOnly);
    data.write(Cp932(Schedules(1000, QDateTime(QDate(2030, 1, 1), QTime(0, 0)))));
    data.close();
    QFile settings(dir.path() + QStringLiteral("/AppData.txt"));
    settings.open(QIODevice::WriteOnly);
    settings.write("0,0,0,\r\n");
    settings.close();
    QProcess p;
    p.setProgram(exe);
    p.start();
    p.waitForStarted();
    QThread::sleep(5); // past start-up
    const double before = CpuSeconds(p.processId());
    QThread::sleep(60);
    const double after = CpuSeconds(p.processId());
    p.kill();
    p.waitForFinished();
    std::printf("idle, 1,000 appointments: %.2f s of processor time over 60 s\n", after - before);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    DueMinute();
    if (argc > 1) Idle(QString::fromLocal8Bit(argv[1]));
    return 0;
}
