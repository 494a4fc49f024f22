#include "platform/SaveLeftovers.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace SaveLeftovers {

void Remove(const QString& path) {
    const QFileInfo file(path);
    const QRegularExpression leftover(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(file.fileName()) + QStringLiteral("\\.[A-Za-z]{6}")));
    QDir folder = file.dir();
    const QStringList names = folder.entryList({file.fileName() + QStringLiteral(".*")},
                                               QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names)
        if (leftover.match(name).hasMatch()) folder.remove(name);
}

} // namespace SaveLeftovers
