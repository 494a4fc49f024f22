#include "platform/Tray.h"

#include <QCoreApplication>
#include <QSystemTrayIcon>

namespace {

QIcon& Picture() {
    static QIcon picture;
    return picture;
}

class SystemTray : public TrayIcon {
  public:
    SystemTray() {
        icon_.setIcon(Picture());
        icon_.setToolTip(QStringLiteral("velsokura"));
        connect(&icon_, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason r) {
                    if (r == QSystemTrayIcon::Trigger) emit LeftButtonDown();
                });
    }
    bool Add() override {
        if (!Available()) return false;
        icon_.show();
        return icon_.isVisible();
    }
    void Remove() override { icon_.hide(); }
    bool Available() const override { return QSystemTrayIcon::isSystemTrayAvailable(); }

  private:
    QSystemTrayIcon icon_;
};

std::unique_ptr<TrayIcon>& Current() {
    static std::unique_ptr<TrayIcon> tray;
    return tray;
}

} // namespace

TrayIcon& Tray() {
    if (!Current()) Current() = std::make_unique<SystemTray>();
    return *Current();
}

void SetTrayPicture(const QIcon& picture) {
    Picture() = picture;
}

void SetTray(std::unique_ptr<TrayIcon> tray) {
    Current() = std::move(tray);
}
