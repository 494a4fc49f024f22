#include "store/HistoryFile.h"

#include "core/mdlMain.h"
#include "dialogs/MessageWaits.h"
#include "dialogs/frmStatus.h"
#include "platform/TextFile.h"

#include <QFileInfo>

using namespace mdlMain;

namespace {
QString HistoryPath() { return AppFolder + QStringLiteral("RirekiData.dat"); }
}  // namespace

void LoadHistory() {
    if (!QFileInfo::exists(HistoryPath())) {
        HistoryFileRead = 1;
        return;
    }
    QStringList lines;
    if (!TextFile::ReadLines(HistoryPath(), lines) || QFileInfo(HistoryPath()).isDir()) {
        FormSlot<frmStatus>::Unload();
        ShowNotice(QStringLiteral("履歴の読み込みエラー"));
        return;
    }
    QString text;
    for (const QString& line : lines) {
        PumpEvents();
        if (Quitting == 1) break;
        text += line + QStringLiteral("\r\n");
    }
    if (text.endsWith(QStringLiteral("\r\n"))) text.chop(2);
    HistoryText = text;
    HistoryFileRead = 1;
}

void WriteHistoryFile() {
    TextFile::WriteAtomic(HistoryPath(), HistoryText + QStringLiteral("\r\n"));
}
