#include "platform/WindowStates.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

// Watches each native window the widget is given (a hidden one may be
// destroyed and a new one made).
class MinimiseFollower : public QObject {
  public:
    explicit MinimiseFollower(QWidget* window) : QObject(window), window_(window) {
        window->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::Show) return false;
        QWindow* handle = window_->windowHandle();
        if (!handle || handle == followed_) return false;
        followed_ = handle;
        connect(handle, &QWindow::windowStateChanged, this, [this](Qt::WindowState state) {
            if (state != Qt::WindowMinimized) return;
            // After the title bar's click is done with.
            QTimer::singleShot(0, window_, [window = window_] {
                if (window->isVisible() && !(window->windowState() & Qt::WindowMinimized))
                    window->setWindowState(window->windowState() | Qt::WindowMinimized);
            });
        });
        return false;
    }

  private:
    QWidget* window_;
    QPointer<QWindow> followed_;
};

} // namespace

void FollowOwnMinimising(QWidget* window) {
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        new MinimiseFollower(window);
}
