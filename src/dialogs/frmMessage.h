#pragma once
#include "core/VbForm.h"

class QPushButton;
class VbLabel;

// The alarm window: a schedule's date-time and text, or the start-up notice.
// Loaded once at start-up, then only shown and hidden.
class frmMessage : public VbForm {
    Q_OBJECT
  public:
    frmMessage();
    // Shown, the alarm keeps the main window locked.
    bool HoldsMainLock() const override { return isVisible(); }

    // Room an alarm leaves beside its text.
    static constexpr double kAlarmMargin = 300;

    // Puts the caption into Label2, which sizes itself to it (wrapping what
    // the screen cannot hold in one line), and sets the window's height.
    void SetLabel2Text(const QString& caption);
    // Sets the window's width, never wider than its screen allows, and
    // centres Label2 and OK in it.
    void FitWidth(double width, double buttonHalfWidth);
    // Shown, its date-time and text go to the desktop where it keeps no
    // window above the others, for as long as the window is up.
    void KeepInSight();

    VbLabel* Label1;       // the schedule's date-time
    VbLabel* Label2;       // the schedule's text or the notice
    QPushButton* Command1; // OK(&I): acknowledge

    void Command1_Click();

  private:
    void ArrangeRows();

  protected:
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
};
