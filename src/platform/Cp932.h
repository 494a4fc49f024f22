#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// CP932 (Windows-31J) as Windows reads and writes it, from one table every
// build shares, so a file is the same bytes whichever system wrote it.
namespace Cp932 {

// The text as a CP932 file gives it back: the lookalikes Windows' own
// conversion maps (〜 U+301C as ～ U+FF5E, ¥ as "\", ...), a character CP932
// takes only one way as the one it reads back as, anything else "?".
QString Holdable(const QString& text);

// True when every byte is part of a CP932 character.
bool IsValid(QByteArrayView bytes);

// The text of CP932 bytes, with "?" for each byte that is no character: a
// stray byte, a lead byte without its second, a pair that names nothing.
// whole, when given, tells whether every byte was part of a character.
QString Decode(QByteArrayView bytes, bool* whole = nullptr);

// The CP932 bytes of Holdable(text): every byte reads back.
QByteArray Encode(const QString& text);

} // namespace Cp932
