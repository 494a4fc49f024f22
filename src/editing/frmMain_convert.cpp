#include "app/frmMain.h"
#include "core/Val.h"
#include "core/mdlMain.h"
#include "dialogs/MessageWaits.h"
#include "platform/Clock.h"

#include <QDateEdit>
#include <QLineEdit>
#include <cmath>
#include <exception>

using namespace mdlMain;

namespace {
// A field's number as a byte, rounded; the field limits keep it in range.
int ByteValue(const QLineEdit* field) {
    const double v = std::round(Val(field->text()));
    if (v < 0 || v > 255) throw std::range_error("not a byte");
    return static_cast<int>(v);
}
} // namespace

void frmMain::Command5_Click() {
    if (CommandBusy == 1) return;
    CommandBusy = 1;
    if (Text4->text().isEmpty() && Text5->text().isEmpty() && Text6->text().isEmpty()) {
        CommandBusy = 0;
        return;
    }
    try {
        int days = Text4->text().isEmpty() ? 0 : ByteValue(Text4);
        if (Text5->text().isEmpty()) Text5->setText(QStringLiteral("0"));
        if (Text6->text().isEmpty()) Text6->setText(QStringLiteral("0"));
        if (Val(Text4->text()) == 0 && Val(Text5->text()) == 0 && Val(Text6->text()) < 3) {
            ShowNotice(QStringLiteral("３分以上の値を入力して下さい。"));
            CommandBusy = 0;
            return;
        }
        const int total = ByteValue(Text5) * 60 + ByteValue(Text6);
        const QDateTime now = Clock::Now();
        const QTime clock = now.time();
        if (clock.hour() * 60 + clock.minute() + total >= 1440) ++days;
        const QTime target = QTime(clock.hour(), clock.minute()).addSecs(total * 60);
        DTPicker1->setDate(now.date().addDays(days));
        Text1->setText(QString::number(target.hour()));
        Text2->setText(QString::number(target.minute()));
    } catch (const std::exception&) {
        ShowNotice(QStringLiteral("変換中にエラーしました。"));
    }
    CommandBusy = 0;
}
