#include "dialogs/VbLabel.h"

void VbLabel::SetCaption(const QString& caption) {
    caption_ = caption;
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        const QChar c = caption.at(i);
        if (c != QLatin1Char('&')) {
            shown += c;
        } else if (i + 1 < caption.size() && caption.at(i + 1) == QLatin1Char('&')) {
            shown += c;
            ++i;
        }
    }
    setText(shown);
}
