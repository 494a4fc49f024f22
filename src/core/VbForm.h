#pragma once
// A top-level window with the load / close-request / unload life of the
// program's windows: loaded when first used, gone once unloaded.

#include "core/Centring.h"

#include <QPointer>
#include <QWidget>

class VbForm : public QWidget {
    Q_OBJECT
  public:
    // Reasons a window is asked to close.
    enum UnloadMode {
        vbFormControlMenu = 0,
        vbFormCode = 1,
        vbAppWindows = 2,
        vbAppTaskManager = 3
    };

    VbForm(const QString& name, Qt::WindowFlags extraFlags = {});

    // Asks the window to close for the given reason; true when it went away.
    bool Unload(int mode = vbFormCode);
    bool IsUnloaded() const { return unloaded_; }
    // True while its close request runs.
    bool IsClosing() const { return closing_; }
    // Puts into the program's data what the window's close would put there
    // (its edits, a fixed choice); the exit runs it before writing the files.
    virtual void SettleData() {}
    // Whether the main window's controls stay locked while it is loaded.
    virtual bool HoldsMainLock() const { return false; }

    // Geometry in twips.
    double WidthTw() const;
    void SetClientSizeTw(double width, double height);

    // Centres the window, its frame included, in the free area of the main
    // window's screen; a window larger than that area keeps its frame's top
    // left corner on the screen.
    void CentreOnScreen();
    // The widest client area whose frame still fits on that screen.
    int MaxClientWidth() const;
    // The tallest.
    int MaxClientHeight() const;

  protected:
    virtual void Form_QueryUnload(int& Cancel, int UnloadMode);
    virtual void Form_Unload();
    // The window's own close box.
    void closeEvent(QCloseEvent* event) override;
    // A window opens centred on the main window's screen.
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

  private:
    bool unloaded_ = false;
    bool closing_ = false;
    bool placed_ = false;
    Centring centring_;
};

// The windows loaded now.
QList<VbForm*> LoadedForms();

// True while a window of that exact name (case-sensitive) is loaded.
bool IsFormLoaded(const QString& name);

// SettleData of every loaded window.
void SettleOpenForms();

// The one instance of a window class, loaded on first use.
template <class T> class FormSlot {
  public:
    static T* Load() {
        if (!Loaded()) form() = new T();
        return form();
    }
    static bool Loaded() { return form() && !form()->IsUnloaded(); }
    static T* Get() { return Loaded() ? form().data() : nullptr; }
    static void Unload() {
        if (Loaded()) form()->Unload(VbForm::vbFormCode);
    }

  private:
    static QPointer<T>& form() {
        static QPointer<T> instance;
        return instance;
    }
};
