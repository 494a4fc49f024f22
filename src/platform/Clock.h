#pragma once
#include <QDateTime>
#include <QString>

// The one "now" of the program. Tests set it and move it on.
namespace Clock {

QDateTime Now();
void Set(const QDateTime& now);

// Fixed-width forms.
QString Key(const QDateTime& t);     // yyyy/mm/dd/hh:nn
QString Date(const QDateTime& t);    // yyyy/mm/dd
QString Caption(const QDateTime& t); // yyyy/mm/dd/hh:nn:ss

} // namespace Clock
