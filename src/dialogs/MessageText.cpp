#include "dialogs/MessageText.h"

#include <QPainter>
#include <QStyle>
#include <algorithm>

namespace {

bool BreaksAfter(QChar c) {
    return c == u'、' || c == u'。' || c == u'，' || c == u'．' || c == u'！' || c == u'？' ||
           c == u' ' || c == u'　';
}

// Characters that never begin a line.
bool NeverStarts(QChar c) {
    static const QString closing = QStringLiteral("、。，．！？）」』】ー・：；!?),.:;");
    return closing.contains(c);
}

// A last line shorter than this ("い。") reads as an accident; the line
// before gives up a few characters when it has them.
constexpr qsizetype kShortestLastLine = 3;

// Where a line that can hold `fit` characters of `rest` ends: after its last
// natural break, else at `fit`, moved back before a character that never
// begins a line.
qsizetype CutAt(const QString& rest, qsizetype fit) {
    qsizetype cut = fit;
    while (cut > 0 && !BreaksAfter(rest.at(cut - 1)))
        --cut;
    if (cut > 0) return cut;
    cut = fit;
    while (cut > 1 && NeverStarts(rest.at(cut)))
        --cut;
    return cut;
}

void Break(QString rest, const QFontMetrics& fm, int width, QStringList& lines) {
    while (rest.size() > 1 && fm.horizontalAdvance(rest) > width) {
        qsizetype fit = 1;
        while (fit < rest.size() && fm.horizontalAdvance(rest.left(fit + 1)) <= width)
            ++fit;
        qsizetype cut = CutAt(rest, fit);
        const qsizetype longest = rest.size() - kShortestLastLine;
        if (rest.size() - cut < kShortestLastLine && longest > 0 &&
            fm.horizontalAdvance(rest.mid(cut)) <= width)
            cut = CutAt(rest, longest);
        lines << rest.left(cut);
        rest = rest.mid(cut);
    }
    lines << rest;
}

} // namespace

QStringList MessageText::Lines() const {
    QStringList lines;
    const QStringList paragraphs = text().split(QLatin1Char('\n'));
    for (const QString& paragraph : paragraphs)
        Break(paragraph, fontMetrics(), width(), lines);
    return lines;
}

int MessageText::FitHeight(int designHeight) {
    const auto lines = static_cast<int>(Lines().size());
    const int wanted = std::max(designHeight, lines * fontMetrics().lineSpacing());
    const int change = wanted - height();
    resize(width(), wanted);
    return change;
}

void MessageText::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QStringList lines = Lines();
    const int lineHeight = fontMetrics().lineSpacing();
    int top = (height() - static_cast<int>(lines.size()) * lineHeight) / 2;
    for (const QString& line : lines) {
        style()->drawItemText(&painter, QRect(0, top, width(), lineHeight), Qt::AlignCenter,
                              palette(), isEnabled(), line, foregroundRole());
        top += lineHeight;
    }
}
