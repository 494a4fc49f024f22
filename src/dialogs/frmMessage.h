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

    // Puts the caption into Label2, which sizes itself to it.
    void SetLabel2Text(const QString& caption);
    // Widens the window and centres Label2 and OK in it.
    void FitToLabel2(double margin, double buttonHalfWidth);

    VbLabel* Label1;       // the schedule's date-time
    VbLabel* Label2;       // the schedule's text or the notice
    QPushButton* Command1; // OK(&I): acknowledge

    void Command1_Click();

  protected:
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
};
