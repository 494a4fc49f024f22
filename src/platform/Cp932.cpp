#include "platform/Cp932.h"

#include <algorithm>
#include <array>
#include <memory>

namespace Cp932 {

namespace {

constexpr int kFirstLead = 0x81;
constexpr int kFirstTrail = 0x40;
constexpr int kLeads = (0x9F - 0x81 + 1) + (0xFC - 0xE0 + 1);
constexpr int kTrails = 0xFC - 0x40 + 1;
#include "platform/Cp932Table.inc"

bool IsLead(uchar b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
bool IsTrail(uchar b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

int LeadOfRow(int row) {
    return row <= 0x9F - kFirstLead ? kFirstLead + row : 0xE0 + row - (0x9F - kFirstLead + 1);
}

// What the pair reads as; 0 when it names nothing.
char16_t PairChar(uchar lead, uchar trail) {
    const int row = lead <= 0x9F ? lead - kFirstLead : lead - 0xE0 + (0x9F - kFirstLead + 1);
    return kPairs[row * kTrails + (trail - kFirstTrail)];
}

// The code written for each character (a byte, or lead << 8 | trail); 0 for
// none. NUL is never written: it marks a file as no text.
const std::array<quint16, 0x10000>& Codes() {
    static const std::unique_ptr<const std::array<quint16, 0x10000>> codes = [] {
        auto t = std::make_unique<std::array<quint16, 0x10000>>();
        t->fill(0);
        for (int row = 0; row < kLeads; ++row)
            for (int col = 0; col < kTrails; ++col)
                if (const char16_t c = kPairs[row * kTrails + col])
                    (*t)[c] = quint16(LeadOfRow(row) << 8 | (kFirstTrail + col));
        for (int b = 1; b < 0x100; ++b)
            if (kSingles[b]) (*t)[kSingles[b]] = quint16(b);
        // Where several codes read as one character, Windows writes one of them.
        for (const auto& [c, code] : kPreferred)
            (*t)[c] = code;
        return std::unique_ptr<const std::array<quint16, 0x10000>>(std::move(t));
    }();
    return *codes;
}

// Bytes taken by the character at i; negative when they make none.
int Step(const uchar* p, qsizetype i, qsizetype n) {
    if (p[i] == 0 || kSingles[p[i]]) return 1;
    if (!IsLead(p[i]) || i + 1 >= n || !IsTrail(p[i + 1])) return -1;
    return PairChar(p[i], p[i + 1]) ? 2 : -2;
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

QChar HoldableForm(QChar c) {
    if (const char16_t mapped = Lookalike(c.unicode())) return QChar(mapped);
    const auto* end = std::end(kOneWay);
    const auto* it = std::lower_bound(std::begin(kOneWay), end, c.unicode(),
                                      [](const auto& entry, char16_t u) { return entry[0] < u; });
    return it != end && (*it)[0] == c.unicode() ? QChar((*it)[1]) : QLatin1Char('?');
}

} // namespace

QString Holdable(const QString& text) {
    const auto& codes = Codes();
    qsizetype i = 0;
    while (i < text.size() && codes[text.at(i).unicode()])
        ++i;
    if (i == text.size()) return text;
    QString out = text.left(i);
    out.reserve(text.size());
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (codes[c.unicode()]) {
            out += c;
            continue;
        }
        out += HoldableForm(c);
        // A character beyond the 16-bit range is one "?".
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) ++i;
    }
    return out;
}

bool IsValid(QByteArrayView bytes) {
    const auto* p = reinterpret_cast<const uchar*>(bytes.data());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const int step = Step(p, i, n);
        if (step < 0) return false;
        i += step;
    }
    return true;
}

QString Decode(QByteArrayView bytes, bool* whole) {
    const auto* p = reinterpret_cast<const uchar*>(bytes.data());
    const qsizetype n = bytes.size();
    QString out(n, Qt::Uninitialized);
    QChar* to = out.data();
    bool allRead = true;
    for (qsizetype i = 0; i < n;) {
        // Most bytes of a schedule file are single: they go straight through.
        if (p[i] < 0x80 && kSingles[p[i]]) {
            *to++ = QChar(kSingles[p[i++]]);
            continue;
        }
        const int step = Step(p, i, n);
        if (step < 0) allRead = false;
        if (step == 1)
            *to++ = QChar(p[i] ? kSingles[p[i]] : 0);
        else if (step == 2)
            *to++ = QChar(PairChar(p[i], p[i + 1]));
        else
            *to++ = QLatin1Char('?');
        i += step > 0 ? step : -step;
    }
    out.truncate(to - out.constData());
    if (whole) *whole = allRead;
    return out;
}

QByteArray Encode(const QString& text) {
    const auto& codes = Codes();
    const QString holdable = Holdable(text);
    QByteArray out;
    out.reserve(holdable.size() * 2);
    for (const QChar c : holdable) {
        const quint16 code = codes[c.unicode()];
        if (code > 0xFF) out += char(code >> 8);
        out += char(code & 0xFF);
    }
    return out;
}

} // namespace Cp932
