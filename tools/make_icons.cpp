// Renders the program's bell into a hicolor icon theme for installing.
// Usage: make_icons OUTDIR NAME SIZE... (writes OUTDIR/SIZExSIZE/apps/NAME.png)

#include "app/AppIcon.h"

#include <QDir>
#include <QString>
#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s OUTDIR NAME SIZE...\n", argv[0]);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int i = 3; i < argc; ++i) {
        const int size = QString::fromLatin1(argv[i]).toInt();
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(out).arg(size);
        if (size <= 0 || !QDir().mkpath(dir) ||
            !AppIconImage(size).save(dir + QLatin1Char('/') + name + QStringLiteral(".png"))) {
            std::fprintf(stderr, "cannot write the %s px icon\n", argv[i]);
            return 1;
        }
    }
    return 0;
}
