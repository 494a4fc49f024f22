#include "app/StartupReads.h"

#include "alarm/Sounds.h"
#include "app/frmMain.h"
#include "core/mdlMain.h"
#include "dialogs/MessageWaits.h"
#include "dialogs/frmStatus.h"
#include "store/HistoryFile.h"
#include "store/ReadResult.h"
#include "store/ScheduleFile.h"
#include "store/SettingsFile.h"

using namespace mdlMain;

namespace {

void TellWhileLoading(const QString& message) {
    FormSlot<frmStatus>::Unload();
    ShowNotice(message);
}

// Tells what the reading found; false when the program is ending instead.
bool Tell(const ReadResult& result, const QString& missing, const QString& unusable) {
    switch (result.finding) {
    case ReadResult::Read:
        return true;
    case ReadResult::Missing:
    case ReadResult::Unusable:
        TellWhileLoading(result.finding == ReadResult::Missing ? missing : unusable);
        Main()->Unload(VbForm::vbFormCode);
        return false;
    case ReadResult::Cancelled:
        EndProgram();
        return false;
    case ReadResult::LastExitUnsaved:
        TellWhileLoading(QStringLiteral("前回アプリケーション終了時に保存出来てない可能性があります、"
                                        "念のためご確認下さい。"));
        return true;
    case ReadResult::RepeatedKey:
        TellWhileLoading(result.key +
                         QStringLiteral("の時間が重複しています、テキストファイルを操作した場合は"
                                        "日付時間の重複行を削除するか変更しておいて下さい。"));
        return true;
    case ReadResult::StrayNuls:
        TellWhileLoading(unusable);
        return true;
    case ReadResult::NotASound:
        TellWhileLoading(QStringLiteral("サウンドファイルが正しくありません。"));
        return true;
    }
    return true;
}

} // namespace

bool LoadSchedules() {
    const ReadResult result = ReadSchedules(Main()->MSFlexGrid1);
    if (!Tell(result, QStringLiteral("「velsokura.txt」が見つかりません。"),
              QStringLiteral("ファイルオープンエラー。")))
        return false;
    if (result.badLines.isEmpty()) return true;
    constexpr qsizetype kNamed = 10;
    QString message = QStringLiteral("velsokura.txtの次の行は予定として読めないため、"
                                     "「%1」に移しました。\n")
                          .arg(result.badFile) +
                      result.badLines.mid(0, kNamed).join(QLatin1Char('\n'));
    if (result.badLines.size() > kNamed)
        message += QStringLiteral("\nほか%1行").arg(result.badLines.size() - kNamed);
    TellWhileLoading(message);
    return true;
}

bool LoadSettings() {
    if (!Tell(ReadSettings(), QStringLiteral("「AppData.txt」が見つかりません。"),
              QStringLiteral("ファイル2オープンエラー。")))
        return false;
    if (!SoundFilePath.isEmpty()) OpenSound(SoundFilePath, 5);
    return true;
}

void LoadHistory() {
    if (ReadHistory().finding == ReadResult::Unusable)
        TellWhileLoading(QStringLiteral("履歴の読み込みエラー"));
}
