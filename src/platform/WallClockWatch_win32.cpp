#include "platform/WallClockWatch.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>

#include <windows.h>

// Windows tells every top-level window when the time is set and when the
// machine resumes; the program's windows are Qt's, so Qt's filter sees it.
struct WallClockWatch::Sources : QAbstractNativeEventFilter {
    explicit Sources(WallClockWatch* watch) : watch_(watch) {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~Sources() override { QCoreApplication::instance()->removeNativeEventFilter(this); }
    Sources(const Sources&) = delete;
    Sources& operator=(const Sources&) = delete;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (eventType != "windows_generic_MSG") return false;
        const MSG* msg = static_cast<const MSG*>(message);
        const bool resumed =
            msg->message == WM_POWERBROADCAST &&
            (msg->wParam == PBT_APMRESUMEAUTOMATIC || msg->wParam == PBT_APMRESUMESUSPEND);
        if (msg->message == WM_TIMECHANGE || resumed) emit watch_->MayHaveMoved();
        return false; // the message goes on to Qt and Windows as before
    }

  private:
    WallClockWatch* watch_;
};

WallClockWatch::WallClockWatch(QObject* parent)
    : QObject(parent), sources_(std::make_unique<Sources>(this)) {}

WallClockWatch::~WallClockWatch() = default;
