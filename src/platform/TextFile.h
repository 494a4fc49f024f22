#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

// Every data file is CP932 (Windows-31J) with CR LF line ends, on every platform.
namespace TextFile {

QByteArray Encode(const QString& text);
QString Decode(const QByteArray& bytes);
// Decodes a file a person may have saved from a text editor: UTF-8 when it
// says so (a byte-order mark) or when it can only be UTF-8, else CP932.
QString DecodeFile(const QByteArray& bytes);
// True when every character of the text has a CP932 form.
bool CanEncode(const QString& text);

// Reads a whole file (see DecodeFile) as lines; a line ends at CR LF, CR or
// LF, and a final line end does not start another line. False when the file
// cannot be read.
bool ReadLines(const QString& path, QStringList& lines);

// Replaces the file with the text in one step: a failure leaves the old file whole.
bool WriteAtomic(const QString& path, const QString& text);

} // namespace TextFile
