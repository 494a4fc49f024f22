#include "platform/Clock.h"

#include <optional>

namespace Clock {

namespace {
std::optional<QDateTime> g_fixed;
}

QDateTime Now() {
    return g_fixed ? *g_fixed : QDateTime::currentDateTime();
}
void Set(const QDateTime& now) {
    g_fixed = now;
}

QString Key(const QDateTime& t) {
    return t.toString(QStringLiteral("yyyy/MM/dd/HH:mm"));
}
QString Date(const QDateTime& t) {
    return t.toString(QStringLiteral("yyyy/MM/dd"));
}
QString Caption(const QDateTime& t) {
    return t.toString(QStringLiteral("yyyy/MM/dd/HH:mm:ss"));
}

} // namespace Clock
