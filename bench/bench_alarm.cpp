// The alarm engine's cost, offscreen: the time from the tick of a due minute
// to the alarm window being shown, and to the end of that tick, with 10,000
// appointments. (The idle cost of the real program: startup_idle.sh.)
// Run: QT_QPA_PLATFORM=offscreen build/bench/bench_alarm

#include "../tests/TestSupport.h"
#include "app/frmMain.h"
#include "core/mdlMain.h"
#include "dialogs/frmMessage.h"
#include "platform/Clock.h"
#include "platform/Mci.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

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

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    DueMinute();
    return 0;
}
