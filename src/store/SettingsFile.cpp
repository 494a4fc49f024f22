#include "store/SettingsFile.h"

#include "core/mdlMain.h"
#include "platform/Cp932.h"
#include "platform/TextFile.h"
#include "store/ReadResult.h"

#include <QFileInfo>

using namespace mdlMain;

namespace {

QString SettingsPath() {
    return AppFolder + QStringLiteral("AppData.txt");
}

std::uint8_t DigitAt(const QString& line, qsizetype index) {
    if (index >= line.size()) return 0;
    const char16_t c = line.at(index).unicode();
    return (c >= u'0' && c <= u'9') ? static_cast<std::uint8_t>(c - u'0') : 0;
}

QString SettingsLine() {
    return QStringLiteral("%1,%2,%3,%4")
        .arg(SoundOn)
        .arg(SoundIndex)
        .arg(SaveHistoryAtExit)
        .arg(SoundFilePath);
}

// The path as the file the exit writes will read: a path read from a file
// with broken bytes, alone on its line, may read otherwise than amid them.
QString PathAsReadBack() {
    const QString line = SettingsLine() + QStringLiteral("\r\n");
    std::optional<QString> again = TextFile::DecodeFile(Cp932::Encode(line));
    const qsizetype prefix = line.size() - SoundFilePath.size() - 2;
    if (!again || !again->endsWith(QStringLiteral("\r\n")) || again->size() < prefix + 2)
        return SoundFilePath;
    again->chop(2);
    return again->mid(prefix);
}

bool HasSoundEnding(const QString& path) {
    static const QString endings[] = {".AIFF", ".aiff", ".AIF", ".aif",
                                      ".WAV",  ".wav",  ".MP3", ".mp3"};
    for (const QString& e : endings)
        if (path.endsWith(e, Qt::CaseSensitive)) return true;
    return false;
}

} // namespace

ReadResult ReadSettings() {
    if (!QFileInfo::exists(SettingsPath())) return {ReadResult::Missing};
    QStringList lines;
    // A stray byte must not keep the program from starting, and so every
    // alarm from ringing, for good: the rest of the line is read.
    bool nuls = false;
    if (!TextFile::ReadLines(SettingsPath(), lines, TextFile::Nuls::Drop, &nuls))
        return {ReadResult::Unusable};
    QString line;
    for (const QString& l : lines) {
        PumpEvents();
        if (Quitting == 1) break;
        // Editors leave empty lines after the settings.
        if (!l.trimmed().isEmpty()) line = l;
    }
    SoundOn = DigitAt(line, 0);
    SoundIndex = DigitAt(line, 2);
    // A number no sound has would leave every alarm silent.
    if (SoundIndex > 4) SoundIndex = 0;
    SaveHistoryAtExit = DigitAt(line, 4);
    SoundFilePath = line.size() <= 6 ? QString() : line.mid(6);
    SoundFilePath = PathAsReadBack();
    if (nuls) {
        if (!SoundFilePath.isEmpty() && !HasSoundEnding(SoundFilePath)) SoundFilePath.clear();
        return {ReadResult::StrayNuls};
    }
    if (SoundFilePath.isEmpty() || HasSoundEnding(SoundFilePath)) return {};
    SoundFilePath.clear();
    return {ReadResult::NotASound};
}

bool WriteSettingsFile() {
    return TextFile::WriteAtomic(SettingsPath(), SettingsLine() + QStringLiteral("\r\n"));
}
