#pragma once
#include <QColor>

class QWidget;

namespace Colors {

inline const QColor Yellow{255, 255, 0};
inline const QColor LightGrey{224, 224, 224};
inline const QColor White{255, 255, 255};
inline const QColor LightGreen{192, 255, 192};
inline const QColor LightYellow{255, 255, 192};

// The system's button-face colour.
QColor ButtonFace();

// Background of a button, text box, label or window.
void SetBackColor(QWidget* w, const QColor& color);
QColor BackColor(const QWidget* w);

} // namespace Colors
