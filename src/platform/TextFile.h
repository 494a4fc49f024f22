#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

// Every data file is CP932 (Windows-31J) with CR LF line ends, on every platform.
namespace TextFile {

// Decodes a file a person may have saved from a text editor: a byte-order
// mark (UTF-8, UTF-16) decides; without one, a file valid in only one of
// CP932 and UTF-8 is read so, one valid in both the way that gives Japanese
// rather than mojibake, and anything else is CP932 with "?" for the bytes
// that are no character. The text read always reads back the same once
// written as CP932. NUL bytes, which no text holds, outside a UTF-16 file:
// refused (nothing is read), kept (each as a SOH, U+0001), or dropped.
enum class Nuls { Refuse, Keep, Drop };
std::optional<QString> DecodeFile(const QByteArray& bytes, Nuls nuls = Nuls::Refuse);
// True when the text is written and read back unchanged.
bool CanEncode(const QString& text);

// Reads a whole file (see DecodeFile). False when the file cannot be read.
// nulFound, when given, says whether it held NUL bytes.
bool ReadText(const QString& path, QString& text, Nuls nuls = Nuls::Refuse,
              bool* nulFound = nullptr);
// The lines of a text: a line ends at CR LF, CR or LF, and a final line end
// does not start another line.
QList<QStringView> SplitLines(QStringView text);
// ReadText, then SplitLines.
bool ReadLines(const QString& path, QStringList& lines, Nuls nuls = Nuls::Refuse,
               bool* nulFound = nullptr);

// Replaces the file with the text in one step: a failure leaves the old file whole.
bool WriteAtomic(const QString& path, const QString& text);

} // namespace TextFile
