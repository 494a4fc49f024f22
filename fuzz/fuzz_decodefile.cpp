// The decoding helper every reader goes through: whatever a file holds, the
// text read is what the writers give back as CP932 that reads the same.

#include "FuzzSupport.h"
#include "platform/Cp932.h"
#include "platform/TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = FuzzBytes(data, size);
    const std::optional<QString> text = TextFile::DecodeFile(bytes);
    if (!text) {
        if (!bytes.contains('\0')) FuzzFail("a file without NUL bytes refused");
        return 0;
    }
    if (Cp932::Holdable(*text) != *text) FuzzFail("read a text CP932 cannot hold");
    const QByteArray written = Cp932::Encode(*text);
    if (!Cp932::IsValid(written)) FuzzFail("wrote bytes that are no CP932");
    if (TextFile::DecodeFile(written) != text) FuzzFail("written text reads back changed");
    return 0;
}
