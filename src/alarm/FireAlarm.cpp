#include "alarm/FireAlarm.h"

#include "alarm/Sounds.h"
#include "app/MainLock.h"
#include "app/frmMain.h"
#include "core/Colors.h"
#include "core/Twips.h"
#include "core/mdlMain.h"
#include "dialogs/VbLabel.h"
#include "dialogs/frm2Message.h"
#include "dialogs/frm3Message.h"
#include "dialogs/frmMessage.h"
#include "store/FlexGrid.h"
#include "store/ScheduleFile.h"

#include <QPointer>
#include <QPushButton>

using namespace mdlMain;

void FireAlarm() {
    FormSlot<frm2Message>::Unload();
    FormSlot<frm3Message>::Unload();
    frmMain* f = Main();
    frmMessage* alarm = FormSlot<frmMessage>::Load();
    if (MessageWindowUp == 1) {
        Colors::SetBackColor(f->Command6, Colors::Yellow);
        Colors::SetBackColor(alarm, Colors::Yellow);
    } else {
        Colors::SetBackColor(alarm, f->Command6->isEnabled() ? Colors::Yellow : Colors::White);
    }
    SortAndSaveGrid(f->MSFlexGrid1);

    // Texts, width and place come before the window is shown: a window mapped
    // at its old size and then resized may stay where the window manager put
    // it, off centre.
    FlexGrid* grid = f->MSFlexGrid1;
    if (!grid->TextMatrix(1, 1).isEmpty()) {
        // A label takes "&" for an access key; doubled, it shows as written.
        const QString amp = QStringLiteral("&");
        const QString doubled = QStringLiteral("&&");
        alarm->Label1->SetCaption(QString(grid->TextMatrix(1, 1)).replace(amp, doubled));
        alarm->SetLabel2Text(QString(grid->TextMatrix(1, 2)).replace(amp, doubled));
    }
    const auto fit = [alarm] {
        const double labelWidth = Twips::Width(alarm->Label2);
        alarm->FitWidth(labelWidth >= 3015 ? labelWidth + frmMessage::kAlarmMargin : 3435, 737.5);
        alarm->CentreOnScreen();
    };
    fit();

    alarm->show();
    alarm->KeepInSight();
    // What the play finds (a sound that cannot play, or none at all) is told
    // in the alarm itself, where nothing covers it or holds it up; a finding
    // that comes later replaces the line.
    const QString text = alarm->Label2->Caption();
    PlayAlarmSound([alarm = QPointer<frmMessage>(alarm), text, fit](const QString& line) {
        if (!alarm) return;
        alarm->SetLabel2Text(text + QStringLiteral("\n") + line);
        fit();
    });
    DisableMainControls();
    MessageWindowUp = 1;
}
