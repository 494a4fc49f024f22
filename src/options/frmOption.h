#pragma once
#include "core/VbForm.h"

#include <array>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

// Sound on/off, the sound, the user's sound file, and export at exit.
// Stands in for the main window while open.
class frmOption : public VbForm {
    Q_OBJECT
  public:
    frmOption();
    // Up and not closing, it keeps the main window locked.
    bool HoldsMainLock() const override { return !IsClosing(); }

    // Shows the open-file dialog and returns the chosen path, empty on cancel.
    // Tests put their own chooser here.
    using FileChooser = std::function<QString(QWidget* parent)>;
    static FileChooser SetFileChooser(FileChooser chooser);

    QGroupBox* Frame1;                    // サウンド
    QCheckBox* Check1;                    // サウンドを鳴らす(&K)
    std::array<QRadioButton*, 5> Option1; // the four sounds and the user's file
    QPushButton* Command2;                // ♪サウンドファイルを開く(&Q)
    QLabel* Label1;                       // bar beside the path
    QPlainTextEdit* Text1;                // the user's sound file, not editable by typing
    QLabel* lblSoundNote;                 // why the chosen sound is not heard, when it is not
    QGroupBox* Frame2;                    // 履歴の保存
    QCheckBox* Check2;                    // 終了時に履歴がある場合は保存する(&R)
    QPushButton* Command4;                // サウンドストップ(&V): stop
    QPushButton* Command3;                // サウンドプレイ(&U): play
    QPushButton* Command1;                // 閉じる(&T): close

    void Option1_MouseUp(int index);
    // The file sound with no file chosen falls back to sound 1.
    void SettleData() override;

  protected:
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;

  private:
    void BuildLayout();
    void Command2_Click();
    void ChooseSoundFile();
    void Command3_Click();
    void Command4_Click();
    void ReopenUserSound();
    // The note for the user's file as it is now.
    void ShowFileNote();
};
