#include "platform/MciCommand.h"

#include <QRegularExpression>

MciCommand MciCommand::Parse(const QString& command) {
    static const QRegularExpression kOpen(
        QString::fromLatin1(R"re(^open\s+"([^"]+)"\s+alias\s+(\S+)$)re"),
        QRegularExpression::CaseInsensitiveOption);
    static const struct {
        Kind kind;
        QRegularExpression pattern;
    } kOnAlias[] = {
        {Play, QRegularExpression(QString::fromLatin1(R"(^play\s+(\S+)\s+from\s+0$)"),
                                  QRegularExpression::CaseInsensitiveOption)},
        {Stop, QRegularExpression(QString::fromLatin1(R"(^stop\s+(\S+)$)"),
                                  QRegularExpression::CaseInsensitiveOption)},
        {Close, QRegularExpression(QString::fromLatin1(R"(^close\s+(\S+)$)"),
                                   QRegularExpression::CaseInsensitiveOption)},
    };
    const QString text = command.trimmed();
    MciCommand parsed;
    if (const auto m = kOpen.match(text); m.hasMatch()) {
        parsed.kind = Open;
        parsed.path = m.captured(1);
        parsed.alias = m.captured(2).toLower();
        return parsed;
    }
    for (const auto& form : kOnAlias) {
        if (const auto m = form.pattern.match(text); m.hasMatch()) {
            parsed.kind = form.kind;
            parsed.alias = m.captured(1).toLower();
            break;
        }
    }
    return parsed;
}
