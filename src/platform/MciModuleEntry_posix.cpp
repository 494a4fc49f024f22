// What the program calls in the sound module (see MciModule_posix.h).
#include "platform/MciPlayer_posix.h"

extern "C" Q_DECL_EXPORT bool velsokura_mci_send(const QString& command) {
    return MciPlayer::Shared().Send(command);
}

extern "C" Q_DECL_EXPORT void velsokura_mci_set_unplayable(void (*report)(const QString& alias)) {
    MciPlayer::Shared().SetUnplayableReport(report);
}
