#include "core/Val.h"

double Val(const QString& text) {
    const QString t = text.trimmed();
    qsizetype end = 0;
    if (end < t.size() && (t[end] == QLatin1Char('+') || t[end] == QLatin1Char('-'))) ++end;
    bool point = false;
    while (end < t.size()) {
        const QChar c = t[end];
        if (c == QLatin1Char('.') && !point) {
            point = true;
        } else if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            break;
        }
        ++end;
    }
    bool ok = false;
    const double value = t.left(end).toDouble(&ok);
    return ok ? value : 0.0;
}
