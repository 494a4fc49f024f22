#include "platform/SingleInstance.h"

#include <QDir>

namespace SingleInstance {

QString LockFile(const QString& dataFolder) {
    return QDir(dataFolder).filePath(QStringLiteral(".velsokura.lock"));
}

} // namespace SingleInstance
