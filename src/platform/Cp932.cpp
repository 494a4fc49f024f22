#include "platform/Cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <bitset>
#include <memory>

namespace Cp932 {

namespace {

bool IsLead(uchar b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
bool IsTrail(uchar b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}
bool IsSingle(uchar b) {
    return b < 0x80 || (b >= 0xA1 && b <= 0xDF);
}

// Taken once from the codec itself, so that checking a file costs one pass.
struct Tables {
    std::bitset<0x10000> pairs;    // lead << 8 | trail that names a character
    std::bitset<0x10000> holdable; // characters some CP932 code reads as
};

const Tables& Get() {
    static const std::unique_ptr<const Tables> tables = [] {
        auto t = std::make_unique<Tables>();
        QByteArray singles;
        for (int b = 0; b < 0x100; ++b)
            if (IsSingle(uchar(b))) singles += char(b);
        QStringDecoder decoder(CodePage);
        for (const QChar c : QString(decoder.decode(singles)))
            t->holdable.set(c.unicode());
        // A NUL byte marks a file as no text: none is ever written.
        t->holdable.reset(0);
        // One pair a line: a line break is never a second byte, so every
        // pair, named or not, decodes to its own line.
        QByteArray pairs;
        for (int lead = 0x81; lead <= 0xFC; ++lead)
            for (int trail = 0x40; trail <= 0xFC; ++trail)
                if (IsLead(uchar(lead)) && IsTrail(uchar(trail))) {
                    pairs += char(lead);
                    pairs += char(trail);
                    pairs += '\n';
                }
        const QString text = decoder.decode(pairs);
        qsizetype at = 0;
        for (qsizetype i = 0; i + 2 < pairs.size(); i += 3) {
            const qsizetype end = text.indexOf(QLatin1Char('\n'), at);
            if (end < 0) break;
            const QChar c = text.at(at);
            if (end == at + 1 && c != QChar(0xFFFD) && c != QChar(0x1A)) {
                t->pairs.set(uchar(pairs[i]) << 8 | uchar(pairs[i + 1]));
                t->holdable.set(c.unicode());
            }
            at = end + 1;
        }
        return std::unique_ptr<const Tables>(std::move(t));
    }();
    return *tables;
}

// Bytes taken by the character at i; negative when they make none.
int Step(const uchar* p, qsizetype i, qsizetype n, const Tables& t) {
    if (IsSingle(p[i])) return 1;
    if (!IsLead(p[i]) || i + 1 >= n || !IsTrail(p[i + 1])) return -1;
    return t.pairs[p[i] << 8 | p[i + 1]] ? 2 : -2;
}

// The forms Windows gives characters that other systems type for the same
// mark.
char16_t Lookalike(char16_t c) {
    switch (c) {
    case 0x301C:
        return 0xFF5E; // wave dash
    case 0x2212:
        return 0xFF0D; // minus
    case 0x2016:
        return 0x2225; // double vertical line
    case 0x2014:
        return 0x2015; // em dash
    case 0x00A2:
        return 0xFFE0; // cent
    case 0x00A3:
        return 0xFFE1; // pound
    case 0x00AC:
        return 0xFFE2; // not
    case 0x00A6:
        return 0xFFE4; // broken bar
    case 0x00A5:
        return u'\\'; // yen
    default:
        return 0;
    }
}

QChar HoldableForm(QChar c, const Tables& t) {
    if (const char16_t mapped = Lookalike(c.unicode())) return QChar(mapped);
    if (c.isSurrogate()) return QLatin1Char('?');
    QStringEncoder encoder(CodePage);
    const QByteArray bytes = encoder.encode(QStringView(&c, 1));
    if (encoder.hasError()) return QLatin1Char('?');
    QStringDecoder decoder(CodePage);
    const QString back = decoder.decode(bytes);
    return back.size() == 1 && t.holdable[back.at(0).unicode()] ? back.at(0) : QLatin1Char('?');
}

} // namespace

QString Holdable(const QString& text) {
    const Tables& t = Get();
    qsizetype i = 0;
    while (i < text.size() && t.holdable[text.at(i).unicode()])
        ++i;
    if (i == text.size()) return text;
    QString out = text.left(i);
    out.reserve(text.size());
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (t.holdable[c.unicode()]) {
            out += c;
            continue;
        }
        out += HoldableForm(c, t);
        // A character beyond the 16-bit range is one "?".
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) ++i;
    }
    return out;
}

bool IsValid(const QByteArray& bytes) {
    const Tables& t = Get();
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const int step = Step(p, i, n, t);
        if (step < 0) return false;
        i += step;
    }
    return true;
}

QByteArray Mend(const QByteArray& bytes) {
    const Tables& t = Get();
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
    const qsizetype n = bytes.size();
    QByteArray out;
    out.reserve(n);
    for (qsizetype i = 0; i < n;) {
        const int step = Step(p, i, n, t);
        if (step > 0)
            out.append(bytes.constData() + i, step);
        else
            out += '?';
        i += step > 0 ? step : -step;
    }
    return out;
}

} // namespace Cp932
