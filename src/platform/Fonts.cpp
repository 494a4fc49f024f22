#include "platform/Fonts.h"

#include <QFont>
#include <QStringList>

namespace Fonts {

void RegisterSubstitutes() {
    QFont::insertSubstitutions(Gothic, QStringList{QStringLiteral("MS Gothic"),
                                                   QStringLiteral("Noto Sans Mono CJK JP"),
                                                   QStringLiteral("Noto Sans CJK JP")});
    QFont::insertSubstitutions(
        PGothic, QStringList{QStringLiteral("MS PGothic"), QStringLiteral("Noto Sans CJK JP")});
}

} // namespace Fonts
