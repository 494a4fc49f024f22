#include "platform/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace SingleInstance {

QString FolderKey(const QString& dataFolder) {
    const QFileInfo info(dataFolder);
    return info.exists() ? info.canonicalFilePath() : QDir::cleanPath(info.absoluteFilePath());
}

QString LockName(const QString& folderKey) {
    const QByteArray hash = QCryptographicHash::hash(folderKey.toUtf8(), QCryptographicHash::Sha1);
    return QStringLiteral("velsokura-") + QString::fromLatin1(hash.toHex().left(32));
}

} // namespace SingleInstance
