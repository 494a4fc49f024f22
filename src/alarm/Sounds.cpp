#include "alarm/Sounds.h"

#include "core/mdlMain.h"
#include "platform/AppPaths.h"
#include "platform/Mci.h"

#include <QDir>
#include <QFileInfo>

using namespace mdlMain;

namespace {

QString Alias(int channel) {
    return QStringLiteral("Sound%1").arg(channel);
}

const char* const kBuiltIn[] = {"Mirato1.mp3", "blackout4.mp3", "blackout5.mp3", "blackout8.mp3"};

} // namespace

void OpenSound(const QString& path, int channel) {
    Mci::Send(
        QStringLiteral("open \"%1\" alias %2").arg(QDir::toNativeSeparators(path), Alias(channel)));
}

void OpenBuiltInSounds() {
    for (int i = 0; i < 4; ++i)
        OpenSound(AppPaths::ProgramFile(QLatin1String(kBuiltIn[i])), i + 1);
}

bool UserSoundMissing() {
    return !SoundFilePath.isEmpty() && !QFileInfo(SoundFilePath).isFile();
}

void PlayAlarmSound() {
    if (SoundTestOn != 1 && SoundOn != 1) return;
    if (SoundIndex > 4) return;
    // A user's file that is not there would ring nothing.
    const bool userFileGone = SoundIndex == 4 && !QFileInfo(SoundFilePath).isFile();
    const QString alias = Alias(userFileGone ? 1 : SoundIndex + 1);
    Mci::Send(QStringLiteral("stop ") + alias);
    Mci::Send(QStringLiteral("play %1 from 0").arg(alias));
}

QString NoSoundNotice() {
    if (!Mci::SoundImpossible() || NoSoundTold == 1) return {};
    NoSoundTold = 1;
    return QStringLiteral("この環境ではサウンドを鳴らせません。");
}

void StopAllSounds() {
    for (int i = 1; i <= 5; ++i)
        Mci::Send(QStringLiteral("stop ") + Alias(i));
}

void CloseAllSounds() {
    for (int i = 1; i <= 5; ++i) {
        Mci::Send(QStringLiteral("stop ") + Alias(i));
        Mci::Send(QStringLiteral("close ") + Alias(i));
    }
}
