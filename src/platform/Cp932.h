#pragma once
#include <QByteArray>
#include <QString>

// What CP932 (Windows-31J) holds, as Windows reads and writes it.
namespace Cp932 {

// The codec's name for Qt (ICU).
inline constexpr const char* CodePage = "windows-31j";

// The text as a CP932 file gives it back: the lookalikes Windows' own
// conversion maps (〜 U+301C as ～ U+FF5E, ¥ as "\", ...), a character CP932
// takes only one way as the one it reads back as, anything else "?".
QString Holdable(const QString& text);

// True when every byte is part of a CP932 character.
bool IsValid(const QByteArray& bytes);

// The bytes with "?" for each that is no CP932 character: a stray byte, a
// lead byte without its second, a pair that names nothing.
QByteArray Mend(const QByteArray& bytes);

} // namespace Cp932
