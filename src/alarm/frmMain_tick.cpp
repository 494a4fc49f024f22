#include "alarm/FireAlarm.h"
#include "app/frmMain.h"
#include "core/mdlMain.h"
#include "dialogs/frmMessage.h"
#include "editing/RowButtons.h"
#include "history/frmRireki.h"
#include "platform/Clock.h"
#include "store/FlexGrid.h"

#include <QPushButton>
#include <QTimer>

using namespace mdlMain;

namespace {

// Hidden in the notification area, the tick sleeps until the next thing due,
// and never longer than a minute: a clock jump the system does not report is
// still noticed within one.
constexpr qint64 kLongestSleepMs = 60000;
// Wakes just past the second aimed at, never just before it.
constexpr qint64 kWakeLateMs = 20;

QDateTime KeyTime(const QString& key) {
    return QDateTime(QDate::fromString(key.left(10), QStringLiteral("yyyy/MM/dd")),
                     QTime::fromString(key.right(5), QStringLiteral("HH:mm")));
}

// The earliest of: the picker's move at 00:00:05 or 12:00:05, row 1's
// warning minute and its own minute, the next whole five seconds while it is
// due, and a minute from now.
QDateTime NextWake(const QDateTime& now, const QString& rowOneKey) {
    QDateTime wake = now.addMSecs(kLongestSleepMs);
    const auto consider = [&](const QDateTime& t) {
        if (t > now && t < wake) wake = t;
    };
    for (int day = 0; day < 2; ++day) {
        for (int hour : {0, 12})
            consider(QDateTime(now.date().addDays(day), QTime(hour, 0, 5)));
    }
    if (rowOneKey.isEmpty()) return wake;
    const QDateTime due = KeyTime(rowOneKey);
    consider(due.addSecs(-60));
    consider(due);
    if (due <= now) {
        const QTime t = now.time();
        consider(QDateTime(now.date(), QTime(t.hour(), t.minute(), t.second() - t.second() % 5))
                     .addSecs(5));
    }
    return wake;
}

} // namespace

void frmMain::ShowClock(const QDateTime& now) {
    setWindowTitle(QStringLiteral("velsokura") + QChar(0x3000) + Clock::Caption(now));
}

void frmMain::TickEverySecond() {
    ShowClock(Clock::Now());
    Timer1->setInterval(1000);
}

// Decided before the tick's work: a fired row costs one more wake-up.
void frmMain::ArmTick(const QDateTime& now) {
    const qint64 ms = MainHidden != 1
                          ? 1000
                          : now.msecsTo(NextWake(now, MSFlexGrid1->TextMatrix(1, 1))) + kWakeLateMs;
    if (Timer1->interval() == ms) return;
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(static_cast<int>(ms));
}

// The sleeping timer neither runs during a suspend nor follows a new time of
// day. Not while the tick is off: inside the grid rebuild, or at exit.
void frmMain::WallClock_MayHaveMoved() {
    if (Timer1->isActive()) Timer1_Timer();
}

// Every second, or when something is due while the window is hidden in the
// notification area: the clock in the caption, and row 1 fired when its
// minute has come. Only row 1 is read, so the cost does not grow with the grid.
void frmMain::Timer1_Timer() {
    const QDateTime now = Clock::Now();
    ArmTick(now);
    // A caption nobody sees costs a wake-up of its own; showing the window
    // sets it again at once.
    if (MainHidden != 1) ShowClock(now);
    // Schedules missed before the run are start-up's, under their own keys.
    if (StartupDone != 1) return;
    if (FirstTickPending == 1) {
        FirstTickPending = 0;
        ClearSelection();
        Command2->setEnabled(false);
    }
    const QTime time = now.time();
    if ((time.hour() == 0 || time.hour() == 12) && time.minute() == 0 && time.second() == 5)
        SetPickerDate(Clock::Date(now));

    FlexGrid* grid = MSFlexGrid1;
    NextDueText = grid->TextMatrix(1, 1);
    if (NextDueText.isEmpty()) return;
    NextDueTime = KeyTime(NextDueText);
    const QString now16 = Clock::Key(now);
    // Follows row 1 and the clock, also when either goes back.
    AlarmImminent = Clock::Key(NextDueTime.addSecs(-60)) <= now16 ? 1 : 0;
    if (NextDueText > now16) return;
    AlarmFired = 1;
    if (time.second() % 5 != 0) return;

    const QString entry = now16 + QStringLiteral("/") + grid->TextMatrix(1, 2);
    HistoryText = HistoryText.isEmpty() ? entry : entry + QStringLiteral("\r\n") + HistoryText;
    if (frmRireki* shown = FormSlot<frmRireki>::Get()) shown->ShowNewEntry(entry);
    FireAlarm();
    if (ScheduleCount <= 1) {
        grid->SetTextMatrix(1, 1, QString());
        grid->SetTextMatrix(1, 2, QString());
    } else {
        if (grid->TextMatrix(1, 2) != QStringLiteral("予定") &&
            grid->TextMatrix(1, 1) != QStringLiteral("日付時間"))
            grid->RemoveItem(1);
        prcFrameMask();
    }
    --ScheduleCount;
    AlarmImminent = 0;

    Timer1->stop();
    RebuildGrid();
    Timer1->start();

    const frmMessage* alarm = FormSlot<frmMessage>::Get();
    if (alarm && alarm->isVisible()) {
        grid->SetRow(0);
        grid->SetCol(0);
        Command7->setEnabled(false);
        Command2->setEnabled(false);
    } else {
        UpdateRowButtons();
    }
    if (grid->Rows() <= 2) {
        grid->SetCol(1);
        if (grid->Text().isEmpty()) {
            for (QPushButton* b : {Command2, Command4, Command7})
                b->setEnabled(false);
        }
    }
    grid->SetRow(0);
    grid->SetCol(0);
}
