#include "store/ReadFailure.h"

#include "app/frmMain.h"
#include "core/mdlMain.h"
#include "dialogs/MessageWaits.h"
#include "dialogs/frmStatus.h"

void TellWhileLoading(const QString& message) {
    FormSlot<frmStatus>::Unload();
    ShowNotice(message);
}

bool EndLoading(const QString& message) {
    TellWhileLoading(message);
    mdlMain::Main()->Unload(VbForm::vbFormCode);
    return false;
}
