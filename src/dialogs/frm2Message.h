#pragma once
#include "core/VbForm.h"

class MessageText;
class QPushButton;

// The notice box: one message and OK.
class frm2Message : public VbForm {
    Q_OBJECT
  public:
    frm2Message();
    // Up and not closing, it keeps the main window locked.
    bool HoldsMainLock() const override { return !IsClosing(); }

    MessageText* lblM;       // the message
    QPushButton* cmdMessage; // ＯＫ(&J)

  protected:
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
};
