// The schedule file as the start-up reads it.

#include "FuzzSupport.h"
#include "app/StartupReads.h"
#include "store/ScheduleFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzStart(QStringLiteral("velsokura.txt"), FuzzBytes(data, size));
    LoadSchedules();
    return 0;
}
