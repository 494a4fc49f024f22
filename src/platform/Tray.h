#pragma once
// The notification-area icon. Tests put a fake in its place.

#include <QIcon>
#include <QObject>
#include <memory>

class TrayIcon : public QObject {
    Q_OBJECT
  public:
    // Shows the icon; true when it is shown.
    virtual bool Add() = 0;
    virtual void Remove() = 0;
    // False when the desktop has no notification area at all.
    virtual bool Available() const = 0;

  signals:
    // The left mouse button went down on the icon.
    void LeftButtonDown();
};

// The program's icon; a new one on the system's notification area unless a
// test has put its own in place.
TrayIcon& Tray();
// What the system's icon shows; set before the first Tray().
void SetTrayPicture(const QIcon& picture);
void SetTray(std::unique_ptr<TrayIcon> tray);
