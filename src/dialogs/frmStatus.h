#pragma once
#include "core/VbForm.h"

class QLabel;
class QPushButton;

// "Please wait" while the files are read; Cancel ends the program.
class frmStatus : public VbForm {
    Q_OBJECT
  public:
    frmStatus();

    QLabel* Label1;        // 設定中です、しばらくお待ち下さい。
    QPushButton* Command1; // キャンセル(&N)

  protected:
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    void paintEvent(QPaintEvent* event) override;
};
