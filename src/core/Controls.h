#pragma once
#include <QString>

class QPushButton;
class QWidget;

// A button with the program's light grey face, placed in twips.
QPushButton* GreyButton(QWidget* parent, const QString& caption, double left, double top,
                        double width, double height);
