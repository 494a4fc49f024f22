#include "platform/Mci.h"

#include "platform/MciModule_posix.h"

bool Mci::SendToSystem(const QString& command) {
    return MciModule::Send(command);
}
