#pragma once
// The main window: the schedule grid, the entry fields and the commands.

#include "core/VbForm.h"

#include <QList>
#include <QPoint>

#include <optional>

class FlexGrid;
class QDateEdit;
class QDateTime;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class WallClockWatch;

class frmMain : public VbForm {
    Q_OBJECT
  public:
    frmMain();
    ~frmMain() override;

    // Start-up; runs once, before the window is first shown.
    void Form_Load();
    // The window's first show after start-up: minimised, it goes to the
    // notification area.
    void ShowAtStart();
    // Log-off, shutdown or a termination signal: save everything and end,
    // even while an alarm waits for OK.
    void EndSession();
    // The session asks for its state: the data files are written as the
    // exit would write them, and the program runs on.
    void SaveForSession();
    // The display has gone and the process is ending: the exit's writes,
    // without a window or a box, unless the exit has already run.
    void SaveWithoutDisplay();

    // The clock tick.
    void Timer1_Timer();
    // The tick at once when the wall clock may have jumped while it slept.
    void WallClock_MayHaveMoved();

    // Minimising goes to the notification area; the normal size is fixed.
    void Form_Resize();
    void Timer2_Timer();
    void TrayIcon_LeftButtonDown();

    // Fits the mask frame to the grid's rows.
    void prcFrameMask();
    // Re-sorts the grid's rows under fresh column headers.
    void RebuildGrid();

    // Sets the picker to the date of a "yyyy/mm/dd" text.
    void SetPickerDate(const QString& date);
    QString PickerDate() const;

    // The date picker and the six text boxes.
    QList<QWidget*> EntryFields() const;

    FlexGrid* MSFlexGrid1; // the schedules: one live copy
    QFrame* Frame1;        // mask over the grid's empty area
    QDateEdit* DTPicker1;  // date of the schedule
    QLineEdit* Text1;      // hour
    QLabel* Label1;        // "："
    QLineEdit* Text2;      // minute
    QLabel* Label2;        // "予定"
    QLineEdit* Text3;      // schedule text
    QLineEdit* Text4;      // remaining days
    QLabel* Label3;        // "日と"
    QLineEdit* Text5;      // remaining hours
    QLabel* Label4;        // "時間"
    QLineEdit* Text6;      // remaining minutes
    QLabel* Label5;        // "分後"
    QPushButton* Command5; // 残り時間から変換(&A): convert
    QPushButton* Command8; // オプション(&B): options
    QPushButton* Command7; // 選択解除(&C): deselect
    QPushButton* Command1; // 追加(&D): add
    QPushButton* Command6; // 履歴(&E): history
    QPushButton* Command2; // 削除(&F): delete
    QPushButton* Command4; // リセット(&G): reset all
    QPushButton* Command3; // 終了(&H): exit
    QTimer* Timer1;        // clock tick, 1000 ms
    QTimer* Timer2;        // notification-area retry, 1000 ms

    WallClockWatch* WallClock; // a resume or a new time of day

    // Entry fields.
    void Text1_Change();
    void Text2_Change();
    void Text3_Change();
    void Text4_Change();
    void Text5_Change();
    void Text6_Change();

    // Commands.
    void Command1_Click(); // add
    void Command2_Click(); // delete
    void Command4_Click(); // reset all
    void Command5_Click(); // convert the remaining time
    void Command6_Click(); // history
    void Command8_Click(); // options
    void MSFlexGrid1_MouseUp();
    void Frame1_MouseUp();
    // Draws the cursor's row selected exactly while the program has a row
    // selected (Deselect is enabled).
    void ShowRowSelection();

  protected:
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    void Form_Unload() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // On a screen too small for the designed window, the window takes what
    // the screen has and its controls, in their designed places, scroll.
    void ScrollWhereTooSmall();
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void BuildLayout();
    bool LoadSteps();
    void ShowStartupNotice(const QString& text);
    void FitFrameToRows();
    // Moves the mask frame's top down, or leaves a one-twip strip at the bottom.
    void LowerFrameTop(double by);
    void LoadFailed();
    void ExitSequence();
    // The exit's writes; the history exported when the options ask for it,
    // if exporting.
    void WriteDataFiles(bool exporting);
    void Command3_Click();
    void ConnectHandlers();
    void UpdateAddButtons();
    void UpdateConvertButton();
    void AddSchedule();
    void ResetAll();
    void ShrinkFrameForNewRow();
    void HideInTray();
    void ShowNormally();
    void ShowClock(const QDateTime& now);
    void TickEverySecond();
    void ArmTick(const QDateTime& now);

    bool shownOnce_ = false;
    // Where the window was when it went to the notification area: some window
    // managers (mutter through Xwayland) would put its frame where its client
    // area was, a title bar higher each time.
    std::optional<QPoint> trayRestoreAt_;
};
