// The settings file as the start-up reads it; what the exit writes of it
// reads back the same.

#include "FuzzSupport.h"
#include "app/StartupReads.h"
#include "core/mdlMain.h"
#include "store/SettingsFile.h"

#include <tuple>

using namespace mdlMain;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzStart(QStringLiteral("AppData.txt"), FuzzBytes(data, size));
    if (!LoadSettings()) return 0;
    const auto read = std::tuple(SoundOn, SoundIndex, SaveHistoryAtExit, SoundFilePath);
    WriteSettingsFile();
    if (!LoadSettings()) FuzzFail("the written settings file is refused");
    if (std::tuple(SoundOn, SoundIndex, SaveHistoryAtExit, SoundFilePath) != read)
        FuzzFail("the written settings read back changed");
    return 0;
}
