#include "advert/frmOshirase.h"
#include "alarm/Sounds.h"
#include "app/frmMain.h"
#include "core/Twips.h"
#include "core/mdlMain.h"
#include "dialogs/MessageWaits.h"
#include "platform/Clock.h"
#include "platform/Tray.h"

#include <QDateEdit>
#include <QEvent>
#include <QTimer>

using namespace mdlMain;

namespace {
// The window's fixed size in the normal state.
constexpr double kClientWidth = 10680;
constexpr double kClientHeight = 6384;
// One try a second for three minutes, then the window stays on screen.
constexpr int kTrayTries = 180;
} // namespace

void frmMain::Form_Resize() {
    if (CommandBusy == 1) return;
    CommandBusy = 1;
    if (MainHidden != 1) {
        if (windowState() & Qt::WindowMinimized) {
            // Without a notification area the window stays minimised on the
            // taskbar, as any window does.
            if (Tray().Add()) {
                HideInTray();
            } else if (Tray().Available()) {
                Timer2->start(); // the notification area may come up later
            }
        } else if (!(windowState() & Qt::WindowMaximized)) {
            const QSize fixed(Twips::ToPxX(kClientWidth), Twips::ToPxY(kClientHeight));
            if (size() != fixed) resize(fixed);
        }
    }
    CommandBusy = 0;
}

// Straight to the notification area, never mapped: a window mapped minimised
// and unmapped at once can be kept on screen by the window manager, black
// and dead (openbox does, beside a first run's 広告 window).
void frmMain::ShowAtStart() {
    if (!(windowState() & Qt::WindowMinimized)) {
        // The first-run window stands in for the main window, in front, until
        // it closes and shows it.
        if (frmOshirase* ad = FormSlot<frmOshirase>::Get()) {
            ad->raise();
            ad->activateWindow();
            return;
        }
        show();
        return;
    }
    shownOnce_ = true; // what the first show's resize handler does is done here
    if (Tray().Add()) {
        // Its native window, made when it was set minimised, goes too: kept
        // unmapped that long, it may not come back when the bell shows the
        // window; a new one is made then.
        destroy();
        HideInTray();
    } else {
        show();          // minimised on the taskbar meanwhile
        Timer2->start(); // the notification area may come up later
    }
}

void frmMain::Timer2_Timer() {
    if (Quitting == 1) {
        Timer2->stop();
        return;
    }
    ++TrayRetryCount;
    if (Tray().Add()) {
        HideInTray();
    } else if (TrayRetryCount > kTrayTries) {
        Timer2->stop();
        ShowNotice(QStringLiteral("アイコンを作成できませんでした。"));
        ShowNormally();
    }
}

void frmMain::HideInTray() {
    hide();
    MainHidden = 1;
    Timer2->stop();
    TrayRetryCount = 0;
}

void frmMain::ShowNormally() {
    Timer2->stop();
    TrayRetryCount = 0;
    setWindowState(Qt::WindowNoState);
    show();
    MainHidden = 0;
}

void frmMain::TrayIcon_LeftButtonDown() {
    show();
    setWindowState(Qt::WindowNoState);
    activateWindow();
    Tray().Remove();
    MainHidden = 0;
}

void frmMain::mouseReleaseEvent(QMouseEvent* /*event*/) {
    StopAllSounds();
}

void frmMain::changeEvent(QEvent* event) {
    VbForm::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isVisible()) Form_Resize();
}

void frmMain::showEvent(QShowEvent* event) {
    VbForm::showEvent(event);
    TickEverySecond();
    // Midnight may have passed unseen while hidden (a resume, a new time of
    // day): a picker left on a day now past would only be refused by Add.
    const QDateTime now = Clock::Now();
    if (DTPicker1->date() < now.date()) SetPickerDate(Clock::Date(now));
    if (!shownOnce_) {
        shownOnce_ = true;
        Form_Resize();
    }
}
