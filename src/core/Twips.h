#pragma once
class QWidget;

// Positions and sizes are designed in twips (1/1440 inch).
namespace Twips {

double PerPixelX();
double PerPixelY();
int ToPxX(double twips);
int ToPxY(double twips);
double FromPxX(int px);
double FromPxY(int px);

// Places a child widget at a twips rectangle and remembers the exact twips,
// which pixels would round.
void Place(QWidget* w, double left, double top, double width, double height);
double Left(const QWidget* w);
double Top(const QWidget* w);
double Width(const QWidget* w);
double Height(const QWidget* w);
void SetLeft(QWidget* w, double twips);
void SetTop(QWidget* w, double twips);
void SetHeight(QWidget* w, double twips);

} // namespace Twips
