#include "app/frmMain.h"
#include "core/Twips.h"
#include "core/mdlMain.h"
#include "dialogs/MessageWaits.h"
#include "platform/Clock.h"
#include "store/FlexGrid.h"
#include "store/ScheduleFile.h"

#include <QDateEdit>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <exception>

using namespace mdlMain;

namespace {

QString TwoDigits(const QString& t) {
    return t.size() < 2 ? QStringLiteral("0") + t : t;
}

bool IsBlank(const QString& t) {
    for (const QChar c : t)
        if (c != QLatin1Char(' ') && c != QChar(0x3000)) return false;
    return true;
}

} // namespace

void frmMain::Command1_Click() {
    if (CommandBusy == 1) return;
    CommandBusy = 1;
    try {
        AddSchedule();
        // The writer has told the user already.
        ScheduleWriteFailed = 0;
    } catch (const std::exception&) {
        if (ScheduleWriteFailed == 1)
            ScheduleWriteFailed = 0;
        else
            ShowNotice(QStringLiteral("データの追加中にエラーしました。"));
    }
    CommandBusy = 0;
}

void frmMain::AddSchedule() {
    const QDateTime now = Clock::Now();
    const QString today = Clock::Date(now);
    if (now.date().daysTo(DTPicker1->date()) < 0) {
        ShowNotice(QStringLiteral("日付が過去の値になっています、未来の日付を指定して下さい。"));
        SetPickerDate(today);
        return;
    }
    if (Text1->text().isEmpty()) {
        ShowNotice(QStringLiteral("時間が入力されていません。"));
        return;
    }
    if (Text2->text().isEmpty()) {
        ShowNotice(QStringLiteral("分が入力されていません。"));
        return;
    }
    const QString time = TwoDigits(Text1->text()) + QStringLiteral(":") + TwoDigits(Text2->text());
    const QString key = PickerDate() + QStringLiteral("/") + time;
    if (PickerDate() == today) {
        if (time < now.toString(QStringLiteral("HH:mm"))) {
            ShowNotice(
                QStringLiteral("時間が過去の値になっています、未来の時間を入力して下さい。"));
            return;
        }
        // Whole date-times, so that the check holds across midnight too.
        if (key < Clock::Key(now.addSecs(120))) {
            ShowNotice(QStringLiteral("２分以上未来の予定を入力して下さい。"));
            return;
        }
    }
    if (IsBlank(Text3->text())) {
        if (Text3->text().contains(QLatin1Char(' ')) || Text3->text().contains(QChar(0x3000))) {
            ShowNotice(QStringLiteral("予定にスペースのみが入力されています。"));
            return;
        }
        Text3->setText(QStringLiteral("予定の時間です"));
    }
    const QString text = Text3->text().startsWith(QLatin1Char(' '))
                             ? Text3->text()
                             : QStringLiteral(" ") + Text3->text();

    FlexGrid* grid = MSFlexGrid1;
    bool duplicate = false;
    for (int i = 1; i < grid->Rows() && Quitting != 1; ++i) {
        PumpEvents();
        if (grid->TextMatrix(i, 1) == key) duplicate = true;
    }
    if (duplicate) {
        grid->SetRow(0);
        grid->SetCol(0);
        SortAndSaveGrid(MSFlexGrid1);
        ShowNotice(QStringLiteral("追加する項目が重複しています、分単位でずらすか"
                                  "同じ時刻の予定を削除して修正するなどして下さい。"));
        return;
    }

    if (grid->Rows() <= 2 && grid->TextMatrix(1, 1).isEmpty()) grid->SetRows(1);
    grid->AddItem(QStringLiteral("\t") + key + QStringLiteral("\t") + text);
    ScheduleCount = grid->Rows() - 1;
    SortAndSaveGrid(MSFlexGrid1);
    grid->SetRow(0);
    grid->SetCol(0);
    Command7->setEnabled(false);
    Command2->setEnabled(false);
    ShrinkFrameForNewRow();
    SaveGridSchedules(MSFlexGrid1);
    Command4->setEnabled(true);
}

void frmMain::ShrinkFrameForNewRow() {
    if (MSFlexGrid1->Rows() <= 2) {
        Twips::SetHeight(Frame1, 4560);
        Twips::SetTop(Frame1, 575);
        return;
    }
    LowerFrameTop(MSFlexGrid1->RowHeightTw(0));
}
