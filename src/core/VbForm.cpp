#include "core/VbForm.h"

#include "core/Twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QScopedValueRollback>
#include <algorithm>

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
    centring_.Centre(this);
}

int VbForm::MaxClientWidth() const {
    return Centring::MaxClientWidth(this);
}

int VbForm::MaxClientHeight() const {
    return Centring::MaxClientHeight(this);
}

bool VbForm::event(QEvent* event) {
    if (event->type() == QEvent::Paint) centring_.Check(this);
    return QWidget::event(event);
}

void VbForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
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
