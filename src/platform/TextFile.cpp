#include "platform/TextFile.h"

#include "platform/Cp932.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <algorithm>

namespace TextFile {

namespace {

QString DecodeMarked(const QByteArray& bytes, QStringConverter::Encoding encoding, int mark) {
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    return Cp932::Holdable(decoder.decode(QByteArrayView(bytes).sliced(mark)));
}

// How many bytes from the start are UTF-8 as strictly as Qt reads it (no
// overlong forms, no surrogates, nothing past U+10FFFF): where the first
// fault begins, or the size. A CP932 file of Japanese has one near its start.
qsizetype Utf8Length(QByteArrayView bytes) {
    const auto* p = reinterpret_cast<const uchar*>(bytes.data());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const uchar b = p[i];
        if (b < 0x80) {
            ++i;
            continue;
        }
        const int more = b >= 0xC2 && b <= 0xDF   ? 1
                         : b >= 0xE0 && b <= 0xEF ? 2
                         : b >= 0xF0 && b <= 0xF4 ? 3
                                                  : 0;
        if (more == 0 || i + more >= n) return i;
        char32_t c = b & (0x3F >> more);
        for (int k = 1; k <= more; ++k) {
            if ((p[i + k] & 0xC0) != 0x80) return i;
            c = c << 6 | (p[i + k] & 0x3F);
        }
        const char32_t least = more == 1 ? 0x80 : more == 2 ? 0x800 : 0x10000;
        if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return i;
        i += more + 1;
    }
    return n;
}

// The UTF-8 reading of the bytes, when they are UTF-8.
std::optional<QString> Utf8(QByteArrayView bytes) {
    if (Utf8Length(bytes) != bytes.size()) return std::nullopt;
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) return std::nullopt;
    return text;
}

bool IsLeadByte(uchar b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// How Japanese a text looks, from the CP932 codes of its characters: kana,
// the usual punctuation and first-level kanji count 1; second-level kanji,
// Greek and Cyrillic letters and a half-width katakana standing alone
// between two-byte characters count -1; ASCII and the rest 0. UTF-8
// Japanese read as CP932 is made of those that count -1: the three bytes of
// a kana or kanji become a rare kanji and a stray half-width letter, or a
// rare kanji and half of another. CP932 half-width katakana read as UTF-8
// become Greek and Cyrillic letters, or ones CP932 has no code for.
int JapaneseScore(QByteArrayView cp932) {
    const auto* p = reinterpret_cast<const uchar*>(cp932.data());
    const qsizetype n = cp932.size();
    int score = 0;
    bool afterPair = false;
    for (qsizetype i = 0; i < n;) {
        if (!IsLeadByte(p[i]) || i + 1 == n) {
            const bool halfKana = p[i] >= 0xA1 && p[i] <= 0xDF;
            if (halfKana && afterPair && i + 1 < n && IsLeadByte(p[i + 1])) --score;
            afterPair = false;
            ++i;
            continue;
        }
        const int code = p[i] << 8 | p[i + 1];
        if ((code >= 0x829F && code <= 0x82F1) || (code >= 0x8340 && code <= 0x8396) ||
            (code >= 0x8141 && code <= 0x815B) || (code >= 0x8175 && code <= 0x817A) ||
            (code >= 0x889F && code <= 0x9872))
            ++score;
        else if ((code >= 0x989F && code <= 0xEAA4) || (code >= 0x839F && code <= 0x8491))
            --score;
        afterPair = true;
        i += 2;
    }
    return score;
}

bool HasHalfWidthKatakana(const QString& text) {
    return std::any_of(text.cbegin(), text.cend(),
                       [](QChar c) { return c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F; });
}

// Bytes that are valid CP932, read as CP932 unless they are UTF-8 too and
// that reading is the Japanese one: it scores higher, with 2 off for each
// character CP932 cannot hold, and it has two Japanese characters more than
// foreign ones, or the CP932 reading holds half-width katakana (the stray
// bytes of split UTF-8 characters). One kana or kanji alone cannot tell a
// UTF-8 file from CP932 kanji that are also UTF-8 ("闃冢" is "芙n"): those
// stay CP932. A UTF-8 reading is taken only when, written back as CP932, it
// is no UTF-8 itself, so that it reads back the same.
QString ReadUnmarked(QByteArrayView bytes) {
    const QString cp932 = Cp932::Decode(bytes);
    const std::optional<QString> utf8 = Utf8(bytes);
    if (!utf8 || *utf8 == cp932) return cp932;
    const QString held = Cp932::Holdable(*utf8);
    const QByteArray written = Cp932::Encode(held);
    const auto lost = held.count(QLatin1Char('?')) - utf8->count(QLatin1Char('?'));
    const int score = JapaneseScore(written) - 2 * int(lost);
    const bool japanese = score >= 2 || HasHalfWidthKatakana(cp932);
    if (japanese && score > JapaneseScore(bytes) && !Utf8(written)) return held;
    return cp932;
}

// Whether the text written as CP932 is UTF-8 as well. The bytes of its
// first characters mostly settle it: a fault more than three bytes before
// their end is one in the whole.
bool WritesAsUtf8(const QString& text) {
    for (qsizetype head = 64; head < text.size(); head *= 8) {
        const QByteArray bytes = Cp932::Encode(text.left(head));
        if (Utf8Length(bytes) + 3 < bytes.size()) return false;
    }
    const QByteArray bytes = Cp932::Encode(text);
    return Utf8Length(bytes) == bytes.size();
}

// NUL bytes outside a file marked as UTF-16, where they belong.
bool HasStrayNul(const QByteArray& bytes) {
    return !bytes.startsWith("\xFF\xFE") && !bytes.startsWith("\xFE\xFF") && bytes.contains('\0');
}

} // namespace

bool CanEncode(const QString& text) {
    return Cp932::Holdable(text) == text;
}

std::optional<QString> DecodeFile(const QByteArray& bytes, Nuls nuls) {
    if (nuls == Nuls::Drop && HasStrayNul(bytes))
        return DecodeFile(QByteArray(bytes).replace('\0', QByteArray()));
    // SOH reads and writes back as itself, as CP932 and as UTF-8.
    if (nuls == Nuls::Keep && HasStrayNul(bytes))
        return DecodeFile(QByteArray(bytes).replace('\0', '\x01'));
    QString text;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        text = DecodeMarked(bytes, QStringConverter::Utf8, 3);
    } else if (bytes.startsWith("\xFF\xFE")) {
        text = DecodeMarked(bytes, QStringConverter::Utf16LE, 2);
    } else if (bytes.startsWith("\xFE\xFF")) {
        text = DecodeMarked(bytes, QStringConverter::Utf16BE, 2);
    } else if (nuls == Nuls::Refuse && bytes.contains('\0')) {
        return std::nullopt;
    } else if (Cp932::IsValid(bytes)) {
        text = ReadUnmarked(bytes);
    } else if (const std::optional<QString> utf8 = Utf8(bytes)) {
        text = Cp932::Holdable(*utf8);
    } else {
        text = Cp932::Decode(bytes);
    }
    // Written back, the text must read the same: where the bytes written
    // differ from the file's (a mark, UTF-8, "?" for broken bytes, a
    // character with two codes) and could be UTF-8, those bytes decide.
    if (!WritesAsUtf8(text)) return text;
    const QByteArray written = Cp932::Encode(text);
    return written == bytes ? text : ReadUnmarked(written);
}

bool ReadText(const QString& path, QString& text, Nuls nuls, bool* nulFound) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return false;
    if (nulFound) *nulFound = HasStrayNul(bytes);
    std::optional<QString> decoded = DecodeFile(bytes, nuls);
    if (!decoded) return false;
    text = std::move(*decoded);
    return true;
}

QList<QStringView> SplitLines(QStringView text) {
    QList<QStringView> lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) continue;
        lines.append(text.sliced(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n')) ++i;
        start = i + 1;
    }
    if (start < n) lines.append(text.sliced(start));
    return lines;
}

bool ReadLines(const QString& path, QStringList& lines, Nuls nuls, bool* nulFound) {
    QString text;
    if (!ReadText(path, text, nuls, nulFound)) return false;
    lines.clear();
    for (const QStringView line : SplitLines(text))
        lines.append(line.toString());
    return true;
}

bool WriteAtomic(const QString& path, const QString& text) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    const QByteArray bytes = Cp932::Encode(text);
    // Small texts only reach the buffer in write(): the flush is where a full
    // disk shows, and commit() would rename a short file over the old one.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace TextFile
