#include "core/VbForm.h"

#include "core/Twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QScopedValueRollback>

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
void VbForm::SetLeftTw(double twips) {
    move(Twips::ToPxX(twips), pos().y());
}
void VbForm::SetWidthTw(double twips) {
    setFixedWidth(Twips::ToPxX(twips));
}
void VbForm::SetClientSizeTw(double width, double height) {
    setFixedSize(Twips::ToPxX(width), Twips::ToPxY(height));
}

bool IsFormLoaded(const QString& name) {
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows) {
        auto* form = qobject_cast<VbForm*>(w);
        if (form && !form->IsUnloaded() && form->objectName() == name) return true;
    }
    return false;
}
