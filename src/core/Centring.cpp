#include "core/Centring.h"

#include "core/VbForm.h"

#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QScreen>
#include <algorithm>

namespace {

// Until the window manager has framed one of our windows, a frame as wide as
// the common ones is assumed, so that no guess puts a title bar off screen.
constexpr QMargins kAssumedFrame(8, 32, 8, 8);

QMargins Frame(const QWidget* w) {
    const QRect f = w->frameGeometry();
    const QRect g = w->geometry();
    return {g.left() - f.left(), g.top() - f.top(), f.right() - g.right(), f.bottom() - g.bottom()};
}

// The frame of this window when the window manager has told it, else that of
// another of our forms: only they have a title bar like it (the icon in the
// notification area is a top-level widget too, with a "frame" of its own).
QMargins KnownFrame(const QWidget* w) {
    if (w->isVisible() && !Frame(w).isNull()) return Frame(w);
    const auto windows = QApplication::topLevelWidgets();
    for (const QWidget* other : windows)
        if (qobject_cast<const VbForm*>(other) && other->isVisible() && !Frame(other).isNull())
            return Frame(other);
    return kAssumedFrame;
}

QRect MainScreenArea() {
    const auto windows = QApplication::topLevelWidgets();
    for (const QWidget* w : windows)
        if (w->objectName() == QLatin1String("frmMain") && w->screen())
            return w->screen()->availableGeometry();
    const QScreen* primary = QGuiApplication::primaryScreen();
    return primary ? primary->availableGeometry() : QRect();
}

class CentredBox : public QMessageBox {
  public:
    using QMessageBox::QMessageBox;

  protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event); // which gives the box its size
        centring_.Centre(this);
    }
    bool event(QEvent* event) override {
        if (event->type() == QEvent::Paint) centring_.Check(this);
        return QMessageBox::event(event);
    }

  private:
    Centring centring_;
};

} // namespace

void Centring::Centre(QWidget* w) {
    const QRect area = MainScreenArea();
    if (area.isEmpty()) return;
    const QMargins frame = KnownFrame(w);
    framedWith_ = frame;
    const QSize outer = w->size().grownBy(frame);
    const QPoint corner(std::max(area.left(), area.left() + (area.width() - outer.width()) / 2),
                        std::max(area.top(), area.top() + (area.height() - outer.height()) / 2));
    // Placed by its client area, with the frame worked out around it; no
    // position is read back, as the window manager may not have reported it.
    w->setGeometry(QRect(corner + QPoint(frame.left(), frame.top()), w->size()));
}

void Centring::Check(QWidget* w) {
    if (framedWith_.isNull() || !w->isVisible() || Frame(w).isNull()) return;
    if (Frame(w) != framedWith_) Centre(w);
    framedWith_ = QMargins();
}

int Centring::MaxClientWidth(const QWidget* w) {
    const QMargins frame = KnownFrame(w);
    return MainScreenArea().width() - frame.left() - frame.right();
}

int Centring::MaxClientHeight(const QWidget* w) {
    const QMargins frame = KnownFrame(w);
    return MainScreenArea().height() - frame.top() - frame.bottom();
}

namespace {
void ShowCentredBox(QMessageBox::Icon icon, const QString& text) {
    CentredBox box(icon, QStringLiteral("velsokura"), text, QMessageBox::Ok);
    box.exec();
}
} // namespace

void CentredWarning(const QString& text) {
    ShowCentredBox(QMessageBox::Warning, text);
}

void CentredInformation(const QString& text) {
    ShowCentredBox(QMessageBox::Information, text);
}
