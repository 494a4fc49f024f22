#pragma once
// A fresh program folder, reset state, a set clock, recorded sound commands,
// and hands that answer the program's boxes.

#include <QByteArray>
#include <QDateTime>
#include <QMap>
#include <QObject>
#include <QRect>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

#include "platform/Cp932.h"
#include "platform/Tray.h"

class frmMain;

// Stands in for the notification area: says what Add answers, counts calls.
class FakeTray : public TrayIcon {
  public:
    bool Add() override {
        ++adds;
        shown = shown || addSucceeds;
        return addSucceeds;
    }
    void Remove() override {
        ++removes;
        shown = false;
    }
    bool Available() const override { return available; }

    bool addSucceeds = true;
    bool available = true;
    bool shown = false;
    int adds = 0;
    int removes = 0;
};

class AppFixture {
  public:
    explicit AppFixture(const QDateTime& now = QDateTime(QDate(2026, 12, 7), QTime(10, 0, 30)));
    ~AppFixture();

    QString Folder() const; // ends with '/'
    void WriteFile(const QString& name, const QByteArray& bytes) const;
    // Writes text as CP932.
    void WriteText(const QString& name, const QString& text) const;
    QByteArray ReadFile(const QString& name) const;
    bool Exists(const QString& name) const;
    // Every file of the folder, by name, with its bytes.
    QMap<QString, QByteArray> Files() const;

    // The default data files of a fresh install.
    void WriteDefaults() const;

    // Ends the run (windows, lock, state) for another on the same folder.
    void NewRun();

    // A main window, not yet loaded.
    frmMain* NewMain();

    QStringList soundCommands;
    // Each play finds that no sound can play here.
    bool soundImpossible = false;
    // Plays of these aliases are refused at once (as winmm does), or reported
    // afterwards (as a decoder does).
    QStringList unplayable;
    QStringList unplayableLater;
    FakeTray* tray; // owned by the program's tray slot

  private:
    QTemporaryDir dir_;
};

// A 64 KiB tmpfs mounted on a folder (made if missing) while it lives.
class SmallDisk {
  public:
    explicit SmallDisk(const QString& folder);
    ~SmallDisk();
    bool Mounted() const { return mounted_; }
    // Leaves no room for even one more block.
    void Fill() const;

  private:
    QString folder_;
    bool mounted_ = false;
};

// Clicks through every box the program shows while alive: the notice box
// gets OK, the question box gets the chosen answer, standard boxes are
// accepted. Records each text in order.
class BoxAnswerer {
  public:
    enum Answer { Yes, No, Cancel, CloseBox };
    explicit BoxAnswerer(Answer answer = Yes);
    ~BoxAnswerer();

    QStringList texts;
    Answer answer;

  private:
    void Poll();
    QTimer timer_;
};

// Answers the one box that is up, as BoxAnswerer does, recording its text;
// false when no box is up.
bool AnswerBox(BoxAnswerer::Answer answer, QStringList* texts = nullptr);
// Whether one of the program's own boxes is on screen.
bool BoxUp();
// The text of the box on screen, empty when none is.
QString BoxText();

// Starts the program over these (key, text) schedules with the default
// settings, acknowledges any start-up notice, brings the window back from the
// notification area and runs the first tick by hand (the timer stays off:
// tests tick themselves).
frmMain* StartProgram(AppFixture& app, const QList<QPair<QString, QString>>& rows);
// The same over the files the folder holds.
frmMain* ShowProgram(AppFixture& app);
// Only the start-up over the folder's files, with the timer off: nothing
// acknowledged, the window not yet shown.
frmMain* LoadProgram(AppFixture& app);
// A new run on the same folder.
frmMain* RestartProgram(AppFixture& app);

// Puts (key, text) rows into the grid as its schedules.
class FlexGrid;
void FillGrid(FlexGrid* grid, const QList<QPair<QString, QString>>& rows);

// Every main-window control that a dialog locks (all but History).
QList<QWidget*> LockedControls(frmMain* main);

// The two grids the crash-safety child alternates between.
QList<QPair<QString, QString>> CrashStateA();
QList<QPair<QString, QString>> CrashStateB();

// Schedule file text: each (key, text) as a line, the text as stored.
QString ScheduleLine(const QString& key, const QString& text);

// A moment of December 2026 (the 7th unless given).
QDateTime At(int h, int m, int s, int day = 7);

// Empty when the window, frame included, lies inside its screen's free area
// and is centred there (within what a guessed frame may shift); otherwise
// what is wrong.
class QWidget;
QString OffCentre(const QWidget* window);

// Watches every showing of the windows of one name, from now on: how many
// there were, and the geometry the last one had at that moment.
class Shows : public QObject {
  public:
    explicit Shows(const QString& name);
    int count = 0;
    QRect geometry;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QString name_;
};

// Types into a field as a user does: key by key, or Japanese committed
// through the input method.
class QLineEdit;
void TypeText(QLineEdit* field, const QString& text);

// A click on a grid cell (data rows count from 1).
void ClickCell(FlexGrid* grid, int row, int col);

#ifdef Q_OS_UNIX
// An ordinary user of the machine (made when there is none yet), to be root's
// other user; null where none can be had.
struct passwd;
const passwd* OrdinaryUser();
#endif

// Root writes and reads anything whatever the file modes: a case about them
// runs again, in a child, as an ordinary user. NotNeeded: this process is no
// root, go on; Passed or Failed: the child's result, the case ends here;
// Unavailable: no ordinary user can be had here.
enum class AsUser { NotNeeded, Passed, Failed, Unavailable };
AsUser RunAsOrdinaryUser();
// The start of such a case.
#define RUN_AS_ORDINARY_USER()                                                                     \
    do {                                                                                           \
        switch (RunAsOrdinaryUser()) {                                                             \
        case AsUser::Unavailable:                                                                  \
            QSKIP("cannot make an unprivileged user here");                                        \
        case AsUser::Failed:                                                                       \
            QFAIL("failed as an ordinary user");                                                   \
        case AsUser::Passed:                                                                       \
            return;                                                                                \
        case AsUser::NotNeeded:                                                                    \
            break;                                                                                 \
        }                                                                                          \
    } while (false)
