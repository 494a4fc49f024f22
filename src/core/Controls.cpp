#include "core/Controls.h"

#include "core/Colors.h"
#include "core/Twips.h"

#include <QPushButton>

QPushButton* GreyButton(QWidget* parent, const QString& caption, double left, double top,
                        double width, double height) {
    auto* button = new QPushButton(caption, parent);
    Colors::SetBackColor(button, Colors::LightGrey);
    Twips::Place(button, left, top, width, height);
    return button;
}
