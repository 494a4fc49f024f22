#pragma once
#include "core/VbForm.h"

class QPlainTextEdit;
class QPushButton;

// The history: read, edit, export, clear. Stands in for the main window.
class frmRireki : public VbForm {
    Q_OBJECT
  public:
    frmRireki();
    // Up and not closing, it keeps the main window locked.
    bool HoldsMainLock() const override { return !IsClosing(); }

    QPlainTextEdit* Text1; // the history text, editable
    QPushButton* Command3; // 保存(&C): export
    QPushButton* Command2; // リセット(&B): clear
    QPushButton* Command1; // 閉じる(&A): close

    // The text, edits included, becomes the history.
    void SettleData() override;
    // An entry that joins the history while the window is open shows at the
    // top, above the user's edits, and so stays when the window closes.
    void ShowNewEntry(const QString& entry);
    // That entry, acknowledged as the only one, leaves the window as it
    // leaves the history.
    void DropNewEntry(const QString& entry);

  protected:
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;

  private:
    void Text1_Change();
    void Command3_Click();
    void Command2_Click();
    void Command1_Click();
};
