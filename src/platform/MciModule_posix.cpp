#include "platform/MciModule_posix.h"

#include "platform/Mci.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#include <QStringList>
#include <optional>
#include <utility>

namespace MciModule {

namespace {

using SendFunction = bool (*)(const QString&);
using SetReportFunction = void (*)(void (*)(const QString&));

// Beside the program when it runs where it was built, else where it is installed.
SendFunction Load() {
    const QString bin = QCoreApplication::applicationDirPath();
    const QString name = QStringLiteral("/velsokura-sound");
    QString errors;
    for (const QString& path :
         {bin + name,
          QDir::cleanPath(bin + QStringLiteral("/" VELSOKURA_MODULE_FROM_BIN) + name)}) {
        QLibrary library(path);
        // The library stays loaded when this handle goes.
        auto send = reinterpret_cast<SendFunction>(library.resolve("velsokura_mci_send"));
        auto setReport =
            reinterpret_cast<SetReportFunction>(library.resolve("velsokura_mci_set_unplayable"));
        if (send && setReport) {
            setReport(Mci::ReportUnplayable);
            return send;
        }
        errors += QStringLiteral("\n  ") + library.errorString();
    }
    qWarning("velsokura: no sound can play, the sound module is missing:%s", qPrintable(errors));
    return nullptr;
}

bool IsPlay(const QString& command) {
    return command.trimmed().startsWith(QStringLiteral("play"), Qt::CaseInsensitive);
}

} // namespace

bool Send(const QString& command) {
    static std::optional<SendFunction> send; // unset until the first play
    static QStringList waiting;
    if (!send) {
        if (!IsPlay(command)) {
            waiting.append(command);
            return true;
        }
        send = Load();
        for (const QString& earlier : std::exchange(waiting, {}))
            if (*send) (*send)(earlier);
    }
    if (*send) return (*send)(command);
    return !IsPlay(command);
}

} // namespace MciModule
