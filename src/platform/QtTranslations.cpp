#include "platform/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

void LoadQtTranslations() {
    auto* translator = new QTranslator(QCoreApplication::instance());
    const QString name = QStringLiteral("qtbase_ja");
    if (translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        translator->load(name, QCoreApplication::applicationDirPath() +
                                   QStringLiteral("/translations"))) {
        QCoreApplication::installTranslator(translator);
    } else {
        delete translator;
    }
}
