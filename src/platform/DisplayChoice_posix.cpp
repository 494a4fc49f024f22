#include "platform/DisplayChoice.h"

#include <QByteArray>
#include <QtGlobal>

void ChooseDisplayConnection() {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) return;
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
                         qgetenv("XDG_SESSION_TYPE") == "wayland";
    if (wayland && !qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "xcb");
}
