#include "dialogs/MessageWaits.h"

#include "app/MainLock.h"
#include "app/frmMain.h"
#include "core/mdlMain.h"
#include "dialogs/BoxLayout.h"
#include "dialogs/frm2Message.h"
#include "dialogs/frm3Message.h"
#include "store/FlexGrid.h"

#include "dialogs/MessageText.h"
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

using namespace mdlMain;

namespace {

// One round without waiting, then each round sleeps until an event comes (the
// one-second timers guarantee one), so a wait never spins the processor.
template <class Done> void PumpUntil(Done done) {
    PumpEvents();
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// A box comes up with the keyboard when the user is working in the program;
// otherwise (a start at login, the user in another program) it takes no key
// meant for another window.
void ShowBox(QWidget* box) {
    box->setAttribute(Qt::WA_ShowWithoutActivating, QApplication::activeWindow() == nullptr);
    box->show();
}

} // namespace

// At the end of a session nobody is left to answer a box.
void WaitForNotice() {
    PumpUntil([] { return NoticeClosed == 1 || Quitting == 1 || SessionEnding == 1; });
}

void WaitForAnswer() {
    PumpUntil(
        [] { return AnswerCode == 1 || AnswerCode == 2 || Quitting == 1 || SessionEnding == 1; });
}

void ShowNotice(const QString& text) {
    if (SessionEnding == 1) {
        // The session's log keeps what no one can read on screen any more.
        qWarning("velsokura: %s", qUtf8Printable(text));
        return;
    }
    frm2Message* box = FormSlot<frm2Message>::Load();
    ShowBox(box);
    BoxLayout::ShowText(box, box->lblM, text);
    WaitForNotice();
}

bool AskQuestion(const QString& text) {
    frm3Message* box = FormSlot<frm3Message>::Load();
    ShowBox(box);
    BoxLayout::ShowText(box, box->lblMM, text);
    WaitForAnswer();
    // A Yes that comes while the exit writes is too late: the command that
    // asked must not change what the exit has saved, nor touch its windows.
    return AnswerCode == 1 && Quitting != 1;
}

void RestoreMainButtons(RestoreCaller caller) {
    frmMain* f = Main();
    if (!f) return;
    FlexGrid* grid = f->MSFlexGrid1;
    const bool fromAlarm = caller == RestoreCaller::AlarmWindow;
    grid->SetCol(fromAlarm ? 1 : 0);
    grid->SetRow(fromAlarm ? 1 : 0);
    if (grid->Text().isEmpty()) f->Command2->setEnabled(false);
    const bool locked = MainLocked();
    f->Command1->setEnabled(!locked && !f->Text1->text().isEmpty() && !f->Text2->text().isEmpty());
    f->Command5->setEnabled(!locked &&
                            (!f->Text4->text().isEmpty() || !f->Text5->text().isEmpty() ||
                             !f->Text6->text().isEmpty()));
    f->Command8->setEnabled(!locked);
    f->Command7->setEnabled(false);
    if (caller == RestoreCaller::HistoryWindow) {
        f->Command6->setEnabled(!HistoryText.isEmpty());
        return;
    }
    if (caller == RestoreCaller::OptionsWindow) f->show();
    UpdateResetButton(true);
}
