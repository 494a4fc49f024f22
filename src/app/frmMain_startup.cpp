#include "advert/frmOshirase.h"
#include "alarm/Sounds.h"
#include "app/MainLock.h"
#include "app/StartupReads.h"
#include "app/frmMain.h"
#include "core/Centring.h"
#include "core/Colors.h"
#include "core/Twips.h"
#include "core/mdlMain.h"
#include "dialogs/VbLabel.h"
#include "dialogs/frmMessage.h"
#include "dialogs/frmStatus.h"
#include "platform/AppPaths.h"
#include "platform/Clock.h"
#include "platform/SaveLeftovers.h"
#include "platform/SingleInstance.h"
#include "platform/Tray.h"
#include "platform/WindowStates.h"
#include "store/FlexGrid.h"
#include "store/HistoryFile.h"
#include "store/ScheduleFile.h"
#include "store/SettingsFile.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <exception>

using namespace mdlMain;

namespace {

QString Now16() {
    return Clock::Key(Clock::Now());
}

// Moves the schedules whose minute has already come into the history.
void MoveMissedSchedules(FlexGrid* grid) {
    for (;;) {
        PumpEvents();
        const QString key = grid->TextMatrix(1, 1);
        if (key.isEmpty() || Quitting == 1 || key.left(16) > Now16()) return;
        const QString text = grid->TextMatrix(1, 2);
        const QString entry = key + QStringLiteral("/") + text;
        if (ScheduleCount <= 1) {
            grid->SetTextMatrix(1, 1, QString());
            grid->SetTextMatrix(1, 2, QString());
            if (!text.isEmpty()) HistoryText = entry + QStringLiteral("\r\n") + HistoryText;
        } else {
            HistoryText =
                HistoryText.isEmpty() ? entry : entry + QStringLiteral("\r\n") + HistoryText;
            if (text != QStringLiteral("予定") && key != QStringLiteral("日付時間"))
                grid->RemoveItem(1);
        }
        --ScheduleCount;
    }
}

void SetHistoryButton(QPushButton* button, const QColor& emptyColor) {
    if (!HistoryText.isEmpty()) {
        Colors::SetBackColor(button, Colors::Yellow);
        button->setEnabled(true);
    } else {
        if (emptyColor.isValid()) Colors::SetBackColor(button, emptyColor);
        button->setEnabled(false);
    }
}

} // namespace

void frmMain::Form_Load() {
    InitAppFolder();
    // The lock is held on a file in the data folder, so the folder is
    // checked, and made where it is new, first; neither touches what a
    // program already running there holds.
    if (AppFolder.size() > 231) {
        CentredInformation(QStringLiteral("velsokuraのパスが長すぎます。"));
        EndProgram();
        return;
    }
    QString moved;
    if (const QString problem = AppPaths::PrepareDataFolder(moved); !problem.isEmpty()) {
        CentredWarning(problem);
        EndProgram();
        return;
    }
    const SingleInstance::Result instance = SingleInstance::Acquire(AppFolder);
    if (instance == SingleInstance::Result::AlreadyRunning) {
        QApplication::beep();
        CentredWarning(QStringLiteral("velsokuraはすでに起動されています。"));
        EndProgram();
        return;
    }
    if (instance == SingleInstance::Result::Unavailable) {
        CentredWarning(QStringLiteral("velsokuraがすでに起動されているかを確かめられないため、"
                                      "起動できません。"));
        EndProgram();
        return;
    }
    StartupNoticePending = 1;
    if (!moved.isEmpty()) CentredInformation(moved);
    for (const QString& name :
         {ScheduleFile::FileName, QStringLiteral("AppData.txt"), QStringLiteral("RirekiData.dat")})
        SaveLeftovers::Remove(AppFolder + name);
    try {
        if (!LoadSteps()) return;
    } catch (const std::exception&) {
        LoadFailed();
    }
}

bool frmMain::LoadSteps() {
    OpenBuiltInSounds();
    FormSlot<frmStatus>::Load()->show();
    FormSlot<frmMessage>::Load();
    connect(&Tray(), &TrayIcon::LeftButtonDown, this, &frmMain::TrayIcon_LeftButtonDown,
            Qt::UniqueConnection);
    FollowOwnMinimising(this);
    CentreOnScreen();
    // Without a notification area to start in, the window starts on screen.
    if (Tray().Available()) setWindowState(Qt::WindowMinimized);

    if (!LoadSchedules() || !LoadSettings()) return false;
    DataFilesRead = 1;

    if (AdShown == 0) {
        AdShown = 1;
        FormSlot<frmOshirase>::Load()->show();
    }

    FlexGrid* grid = MSFlexGrid1;
    grid->SetRedraw(false);
    grid->SetColWidthTw(0, 0);
    ScheduleFile::SetGridHeader(grid);

    MoveMissedSchedules(grid);
    if (Quitting == 1) {
        FormSlot<frmStatus>::Unload();
        return false;
    }

    SetHistoryButton(Command6, QColor());
    const QString today = Now16().left(10);
    if (grid->TextMatrix(1, 1).left(10) == today) {
        ShowStartupNotice(HistoryText.isEmpty()
                              ? QStringLiteral("本日のお知らせがあります。")
                              : QStringLiteral("本日のお知らせ及び流れた予定の履歴があります。"));
    } else if (!HistoryText.isEmpty()) {
        ShowStartupNotice(QStringLiteral("流れた予定の履歴があります。"));
    }
    grid->SortByKey();
    grid->SetRedraw(true);
    FitFrameToRows();
    SetPickerDate(Clock::Date(Clock::Now()));
    UpdateResetButton(true);

    // Entries found missed now go in front of the stored history, which is kept.
    QString missed = HistoryText;
    HistoryText.clear();
    LoadHistory();
    if (!missed.isEmpty() && !HistoryText.isEmpty()) {
        if (missed.endsWith(QStringLiteral("\r\n"))) missed.chop(2);
        HistoryText = missed + QStringLiteral("\r\n") + HistoryText;
    } else if (!missed.isEmpty()) {
        HistoryText = missed;
    }
    SetHistoryButton(Command6, Colors::LightGrey);
    FormSlot<frmStatus>::Unload();
    FirstTickPending = 1;
    StartupDone = 1;
    return true;
}

void frmMain::ShowStartupNotice(const QString& text) {
    FormSlot<frmStatus>::Unload();
    frmMessage* alarm = FormSlot<frmMessage>::Load();
    // Text and width before the window maps, which centres it: resized once
    // mapped, the window manager may keep it where it put it, off centre.
    alarm->SetLabel2Text(text);
    alarm->FitWidth(Twips::Width(alarm->Label2) + 1500, Twips::Width(alarm->Command1) / 2);
    alarm->show();
    MessageWindowUp = 1;
    DisableMainControls();
    alarm->KeepInSight();
}

void frmMain::FitFrameToRows() {
    LowerFrameTop((MSFlexGrid1->Rows() - 2) * MSFlexGrid1->RowHeightTw(0));
}

void frmMain::LowerFrameTop(double by) {
    const double height = Twips::Height(Frame1) - by;
    if (height > 0) {
        Twips::SetHeight(Frame1, height);
        Twips::SetTop(Frame1, Twips::Top(Frame1) + by);
    } else {
        Twips::SetHeight(Frame1, 1);
        Twips::SetTop(Frame1, Twips::Top(MSFlexGrid1) + Twips::Height(MSFlexGrid1) - 1);
    }
}

void frmMain::LoadFailed() {
    Colors::SetBackColor(Command6, Colors::LightGrey);
    FormSlot<frmStatus>::Unload();
    FormSlot<frmMessage>::Unload();
    CentredWarning(QStringLiteral("メインフォームロード中にエラーしました。"));
    Unload(vbFormCode);
}
