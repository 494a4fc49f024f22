// Times the schedule store at 100, 1,000 and 10,000 schedules, offscreen:
// reading the file, one save, one grid rebuild, the main window's load handler
// (Form_Load and one round of events, inside this process), one Add, one Delete.
// Run: QT_QPA_PLATFORM=offscreen build/bench/bench_store

#include "../tests/TestSupport.h"
#include "app/StartupReads.h"
#include "app/frmMain.h"
#include "core/mdlMain.h"
#include "platform/Clock.h"
#include "store/ScheduleFile.h"

#include "dialogs/frm3Message.h"
#include "store/FlexGrid.h"

#include <QApplication>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

using namespace mdlMain;

namespace {

QString ScheduleFileText(int n) {
    QString text = QStringLiteral("1\r\n");
    const QDateTime first(QDate(2027, 1, 1), QTime(0, 0));
    for (int i = 0; i < n; ++i) {
        // Written out of order, as a hand-edited file may be.
        const int k = (i * 7919) % n;
        text += ScheduleLine(Clock::Key(first.addSecs(60LL * k)),
                             QStringLiteral(" 予定その%1").arg(k)) +
                QStringLiteral("\r\n");
    }
    return text + QStringLiteral("\r\n");
}

// Median milliseconds of a few runs; prepare runs before each, untimed.
double Median(const std::function<void()>& prepare, const std::function<void()>& work) {
    std::vector<double> ms;
    for (int run = 0; run < 5; ++run) {
        prepare();
        QElapsedTimer t;
        t.start();
        work();
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    std::printf("%-8s %10s %10s %12s %13s %8s %10s\n", "n", "load ms", "save ms", "rebuild ms",
                "Form_Load ms", "add ms", "delete ms");
    for (int n : {100, 1000, 10000}) {
        const QString file = ScheduleFileText(n);
        std::unique_ptr<AppFixture> fixture;
        frmMain* main = nullptr;
        auto fresh = [&] {
            fixture = std::make_unique<AppFixture>();
            fixture->WriteDefaults();
            fixture->WriteText(QStringLiteral("velsokura.txt"), file);
            InitAppFolder();
            main = fixture->NewMain();
        };
        const double load = Median(fresh, [] { LoadSchedules(); });
        const double save = Median(
            [&] {
                fresh();
                LoadSchedules();
            },
            [&] { SaveGridSchedules(main->MSFlexGrid1); });
        const double rebuild = Median(
            [&] {
                fresh();
                LoadSchedules();
            },
            [&] { main->RebuildGrid(); });
        const double startup = Median(fresh, [&] {
            main->Form_Load();
            QCoreApplication::processEvents();
        });
        auto started = [&] {
            fresh();
            main->Form_Load();
            main->Timer1->stop();
            main->Timer1_Timer();
        };
        const double add = Median(
            [&] {
                started();
                main->DTPicker1->setDate(QDate(2031, 1, 1));
                main->Text1->setText(QStringLiteral("9"));
                main->Text2->setText(QStringLiteral("30"));
                main->Text3->setText(QStringLiteral("追加"));
            },
            [&] { main->Command1->click(); });
        const double remove = Median(
            [&] {
                started();
                main->MSFlexGrid1->SetRow(n / 2);
                main->MSFlexGrid1->SetCol(1);
                main->Command2->setEnabled(true);
            },
            [&] {
                // Yes, as soon as the question is up.
                QTimer::singleShot(0, [] { FormSlot<frm3Message>::Get()->Command1->click(); });
                main->Command2->click();
            });
        std::printf("%-8d %10.1f %10.1f %12.1f %13.1f %8.1f %10.1f\n", n, load, save, rebuild,
                    startup, add, remove);
        fixture.reset();
    }
    return 0;
}
