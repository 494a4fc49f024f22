#include "core/VbForm.h"

#include "core/Twips.h"
#include "platform/QuietShow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QScopedValueRollback>
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

} // namespace

VbForm::VbForm(const QString& name, Qt::WindowFlags extraFlags)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                           Qt::CustomizeWindowHint | extraFlags) {
    setObjectName(name);
    setWindowTitle(QStringLiteral("velsokura"));
}

bool VbForm::Unload(int mode) {
    if (unloaded_) return true;
    int cancel = 0;
    {
        const QScopedValueRollback<bool> closing(closing_, true);
        Form_QueryUnload(cancel, mode);
    }
    if (cancel != 0) return false;
    unloaded_ = true;
    Form_Unload();
    hide();
    deleteLater();
    return true;
}

void VbForm::Form_QueryUnload(int& /*Cancel*/, int /*UnloadMode*/) {}
void VbForm::Form_Unload() {}

void VbForm::closeEvent(QCloseEvent* event) {
    // Unload hides and disposes of the window itself.
    event->ignore();
    Unload(vbFormControlMenu);
}

double VbForm::WidthTw() const {
    return Twips::FromPxX(width());
}
void VbForm::SetClientSizeTw(double width, double height) {
    setFixedSize(Twips::ToPxX(width), Twips::ToPxY(height));
}

void VbForm::CentreOnScreen() {
    const QRect area = MainScreenArea();
    if (area.isEmpty()) return;
    const QMargins frame = KnownFrame(this);
    framedWith_ = frame;
    const QSize outer = size().grownBy(frame);
    const QPoint corner(std::max(area.left(), area.left() + (area.width() - outer.width()) / 2),
                        std::max(area.top(), area.top() + (area.height() - outer.height()) / 2));
    // Placed by its client area, with the frame worked out around it; no
    // position is read back, as the window manager may not have reported it.
    setGeometry(QRect(corner + QPoint(frame.left(), frame.top()), size()));
}

int VbForm::MaxClientWidth() const {
    const QMargins frame = KnownFrame(this);
    return MainScreenArea().width() - frame.left() - frame.right();
}

int VbForm::MaxClientHeight() const {
    const QMargins frame = KnownFrame(this);
    return MainScreenArea().height() - frame.top() - frame.bottom();
}

bool VbForm::event(QEvent* event) {
    // Once the window manager has framed the window, a centring made with an
    // assumed frame is made again with the real one.
    if (event->type() == QEvent::Paint && !framedWith_.isNull() && isVisible() &&
        !Frame(this).isNull()) {
        if (Frame(this) != framedWith_) CentreOnScreen();
        framedWith_ = QMargins();
    }
    return QWidget::event(event);
}

void VbForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous() && testAttribute(Qt::WA_ShowWithoutActivating))
        PrepareQuietShow(this);
    if (placed_) return;
    placed_ = true;
    CentreOnScreen();
}

QList<VbForm*> LoadedForms() {
    QList<VbForm*> forms;
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows) {
        auto* form = qobject_cast<VbForm*>(w);
        if (form && !form->IsUnloaded()) forms.append(form);
    }
    return forms;
}

bool IsFormLoaded(const QString& name) {
    const auto forms = LoadedForms();
    return std::any_of(forms.cbegin(), forms.cend(),
                       [&name](const VbForm* form) { return form->objectName() == name; });
}

void SettleOpenForms() {
    const auto forms = LoadedForms();
    for (VbForm* form : forms)
        form->SettleData();
}
