// The history file as the start-up reads it; what the exit writes of it
// reads back the same.

#include "FuzzSupport.h"
#include "app/StartupReads.h"
#include "core/mdlMain.h"
#include "store/HistoryFile.h"

using namespace mdlMain;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzStart(QStringLiteral("RirekiData.dat"), FuzzBytes(data, size));
    LoadHistory();
    if (HistoryFileRead != 1) return 0;
    const QString read = HistoryText;
    WriteHistoryFile();
    HistoryText.clear();
    HistoryFileRead = 0;
    LoadHistory();
    if (HistoryFileRead != 1 || HistoryText != read)
        FuzzFail("the written history read back changed");
    return 0;
}
