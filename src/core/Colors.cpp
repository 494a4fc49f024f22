#include "core/Colors.h"

#include <QApplication>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

namespace Colors {

namespace {
constexpr auto kBackColor = "backColor";
}

QColor ButtonFace() {
    return QApplication::palette().color(QPalette::Button);
}

void SetBackColor(QWidget* w, const QColor& color) {
    w->setProperty(kBackColor, color);
    if (qobject_cast<QPushButton*>(w)) {
        // A style sheet is the one way a button face takes a colour on every style.
        w->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; border: 1px solid "
                                        "#8c8c8c; border-radius: 2px; padding: 0px; }"
                                        "QPushButton:pressed { background-color: %2; }"
                                        "QPushButton:disabled { color: #a0a0a0; }"
                                        "QPushButton:focus { border: 1px solid #3060c0; }")
                             .arg(color.name(), color.darker(115).name()));
        return;
    }
    QPalette p = w->palette();
    const bool textBox = qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w);
    p.setColor(textBox ? QPalette::Base : QPalette::Window, color);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

QColor BackColor(const QWidget* w) {
    return w->property(kBackColor).value<QColor>();
}

} // namespace Colors
