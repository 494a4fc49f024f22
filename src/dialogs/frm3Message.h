#pragma once
#include "core/VbForm.h"

class MessageText;
class QPushButton;

// The question box: Yes, No and Cancel.
class frm3Message : public VbForm {
    Q_OBJECT
  public:
    frm3Message();
    // Up and not closing, it keeps the main window locked.
    bool HoldsMainLock() const override { return !IsClosing(); }

    MessageText* lblMM;    // the question
    QPushButton* Command1; // はい(&X): yes
    QPushButton* Command2; // いいえ(&Y): no
    QPushButton* Command3; // キャンセル(&Z): cancel

  protected:
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
};
