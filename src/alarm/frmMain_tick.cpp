#include "alarm/FireAlarm.h"
#include "app/frmMain.h"
#include "core/mdlMain.h"
#include "dialogs/frmMessage.h"
#include "editing/RowButtons.h"
#include "platform/Clock.h"
#include "store/FlexGrid.h"

#include <QPushButton>
#include <QTimer>

using namespace mdlMain;

// Once a second: the clock in the caption, and row 1 fired when its minute
// has come. Only row 1 is read, so the cost does not grow with the grid.
void frmMain::Timer1_Timer() {
    const QDateTime now = Clock::Now();
    setWindowTitle(QStringLiteral("velsokura") + QChar(0x3000) + Clock::Caption(now));
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
    NextDueTime = QDateTime(QDate::fromString(NextDueText.left(10), QStringLiteral("yyyy/MM/dd")),
                            QTime::fromString(NextDueText.right(5), QStringLiteral("HH:mm")));
    const QString now16 = Clock::Key(now);
    // Follows row 1 and the clock, also when either goes back.
    AlarmImminent = Clock::Key(NextDueTime.addSecs(-60)) <= now16 ? 1 : 0;
    if (NextDueText > now16) return;
    AlarmFired = 1;
    if (time.second() % 5 != 0) return;

    const QString entry = now16 + QStringLiteral("/") + grid->TextMatrix(1, 2);
    HistoryText = HistoryText.isEmpty() ? entry : entry + QStringLiteral("\r\n") + HistoryText;
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
