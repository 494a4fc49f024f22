#include "core/Twips.h"

#include <QGuiApplication>
#include <QRectF>
#include <QScreen>
#include <QVariant>
#include <QWidget>
#include <cmath>

namespace Twips {

namespace {
double Dpi(bool horizontal) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return 96.0;
    const double dpi = horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
    return dpi > 0 ? dpi : 96.0;
}
} // namespace

double PerPixelX() {
    return 1440.0 / Dpi(true);
}
double PerPixelY() {
    return 1440.0 / Dpi(false);
}
int ToPxX(double twips) {
    return static_cast<int>(std::lround(twips / PerPixelX()));
}
int ToPxY(double twips) {
    return static_cast<int>(std::lround(twips / PerPixelY()));
}
double FromPxX(int px) {
    return px * PerPixelX();
}
double FromPxY(int px) {
    return px * PerPixelY();
}

namespace {
constexpr auto kRect = "twipsRect";

QRectF Stored(const QWidget* w) {
    const QVariant v = w->property(kRect);
    if (v.isValid()) return v.toRectF();
    const QRect g = w->geometry();
    return {FromPxX(g.x()), FromPxY(g.y()), FromPxX(g.width()), FromPxY(g.height())};
}
} // namespace

void Place(QWidget* w, double left, double top, double width, double height) {
    w->setProperty(kRect, QRectF(left, top, width, height));
    w->setGeometry(ToPxX(left), ToPxY(top), ToPxX(width), ToPxY(height));
}

double Left(const QWidget* w) {
    return Stored(w).x();
}
double Top(const QWidget* w) {
    return Stored(w).y();
}
double Width(const QWidget* w) {
    return Stored(w).width();
}
double Height(const QWidget* w) {
    return Stored(w).height();
}

void SetLeft(QWidget* w, double twips) {
    const QRectF r = Stored(w);
    Place(w, twips, r.y(), r.width(), r.height());
}

void SetTop(QWidget* w, double twips) {
    const QRectF r = Stored(w);
    Place(w, r.x(), twips, r.width(), r.height());
}

void SetHeight(QWidget* w, double twips) {
    const QRectF r = Stored(w);
    Place(w, r.x(), r.y(), r.width(), twips);
}

} // namespace Twips
