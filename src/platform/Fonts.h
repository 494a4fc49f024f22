#pragma once
#include <QString>

namespace Fonts {

inline const QString Gothic = QStringLiteral("ＭＳ ゴシック");
inline const QString PGothic = QStringLiteral("ＭＳ Ｐゴシック");

// Lets the Japanese font names find a font that exists here.
void RegisterSubstitutes();

} // namespace Fonts
