#include "store/HistoryFile.h"

#include "core/mdlMain.h"
#include "dialogs/MessageWaits.h"
#include "platform/Clock.h"
#include "platform/TextFile.h"
#include "store/ReadResult.h"
#include "store/ScheduleFile.h"

#include <QDir>
#include <QFileInfo>

using namespace mdlMain;

namespace {
QString HistoryPath() {
    return AppFolder + QStringLiteral("RirekiData.dat");
}
QString ExportFolder() {
    return AppFolder + QStringLiteral("Rireki");
}
} // namespace

ReadResult ReadHistory() {
    if (!QFileInfo::exists(HistoryPath())) {
        HistoryFileRead = 1;
        return {};
    }
    QStringList lines;
    if (!TextFile::ReadLines(HistoryPath(), lines) || QFileInfo(HistoryPath()).isDir())
        return {ReadResult::Unusable};
    QString text;
    for (const QString& line : lines) {
        PumpEvents();
        if (Quitting == 1) break;
        text += line + QStringLiteral("\r\n");
    }
    if (text.endsWith(QStringLiteral("\r\n"))) text.chop(2);
    HistoryText = text;
    HistoryFileRead = 1;
    return {};
}

bool WriteHistoryFile() {
    return TextFile::WriteAtomic(HistoryPath(), HistoryText + QStringLiteral("\r\n"));
}

void EnsureHistoryFolder() {
    PumpEvents();
    bool failed = false;
    for (int attempt = 0; attempt < 3; ++attempt) {
        PumpEvents();
        if (QFileInfo(ExportFolder()).isDir()) return;
        PumpEvents();
        if (!QDir().mkdir(ExportFolder())) failed = true;
    }
    if (failed) ShowNotice(QStringLiteral("フォルダを作成できませんでした。"));
}

void ExportHistory() {
    EnsureHistoryFolder();
    const QString text = SortLines(HistoryText, 1);
    PumpEvents();
    int counter = 0;
    for (int attempt = 0; attempt < 3; ++attempt) {
        QString path;
        do {
            PumpEvents();
            ++counter;
            const QDateTime now = Clock::Now();
            path = ExportFolder() + QStringLiteral("/") +
                   now.toString(QStringLiteral("yyyy_MM_dd_HH_mm_ss_")) +
                   QStringLiteral("%1.txt").arg(counter, 4, 10, QLatin1Char('0'));
        } while (QFileInfo::exists(path) && Quitting == 0);
        if (TextFile::WriteAtomic(path, text + QStringLiteral("\r\n"))) {
            if (SavingAtExit != 1) ShowNotice(QStringLiteral("履歴データを書き込み完了しました。"));
            return;
        }
    }
    // The exit tells nobody on screen; its error output keeps it.
    if (SavingAtExit == 1) qWarning("velsokura: the history could not be exported");
}
