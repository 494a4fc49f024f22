#include "platform/Fonts.h"

#include <QFont>
#include <QStringList>

namespace Fonts {

void RegisterSubstitutes() {
    // IPAGothic and IPAPGothic are drawn to MS Gothic's and MS PGothic's
    // metrics: where they are installed, the windows look as on Windows.
    QFont::insertSubstitutions(Gothic, QStringList{QStringLiteral("MS Gothic"),
                                                   QStringLiteral("IPAGothic"),
                                                   QStringLiteral("Noto Sans Mono CJK JP"),
                                                   QStringLiteral("Noto Sans CJK JP")});
    QFont::insertSubstitutions(
        PGothic, QStringList{QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"),
                             QStringLiteral("Noto Sans CJK JP")});
}

} // namespace Fonts
