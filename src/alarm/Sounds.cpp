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

QString SoundPath(int channel) {
    return channel == 5 ? SoundFilePath : AppPaths::ProgramFile(QLatin1String(kBuiltIn[channel - 1]));
}

QString SoundName(int channel) {
    if (channel == 5)
        return QStringLiteral("サウンドファイル（%1）").arg(QFileInfo(SoundFilePath).fileName());
    return QStringLiteral("サウンド%1（%2）").arg(channel).arg(QLatin1String(kBuiltIn[channel - 1]));
}

// The play of one alarm or one test: the channels still to try and the one
// sounding now (0: none).
struct Attempt {
    QList<int> next;
    int sounding = 0;
    bool inSend = false;
    QString failure; // the first sound that could not play, and why
    SoundTold tell;
};

Attempt& Current() {
    static Attempt attempt;
    return attempt;
}

void Tell(const QString& line) {
    Attempt& a = Current();
    if (line.isEmpty()) return;
    qWarning("velsokura: %s", qPrintable(line));
    if (a.tell) a.tell(line);
}

// Once per run: no sound can play here at all (no player, no audio output).
QString NoSoundNotice() {
    if (NoSoundTold == 1) return {};
    NoSoundTold = 1;
    return QStringLiteral("この環境ではサウンドを鳴らせません。");
}

void Failed(int channel, const QString& why) {
    Attempt& a = Current();
    if (a.failure.isEmpty()) a.failure = SoundName(channel) + why;
}

void PlayNext() {
    Attempt& a = Current();
    while (!a.next.isEmpty()) {
        const int channel = a.next.takeFirst();
        if (!QFileInfo(SoundPath(channel)).isFile()) {
            Failed(channel, QStringLiteral("はファイルがないため鳴らせません。"));
            continue;
        }
        a.sounding = channel;
        a.inSend = true;
        Mci::Send(QStringLiteral("stop ") + Alias(channel));
        Mci::Send(QStringLiteral("play %1 from 0").arg(Alias(channel)));
        a.inSend = false;
        if (Mci::SoundImpossible()) {
            a.next.clear();
            a.sounding = 0;
            Tell(NoSoundNotice());
            return;
        }
        // Still sounding unless the play was refused there and then.
        if (a.sounding == channel) {
            Tell(a.failure);
            return;
        }
    }
    a.sounding = 0;
    Tell(QStringLiteral("この環境ではサウンドを鳴らせません。"));
}

void Unplayable(const QString& alias) {
    Attempt& a = Current();
    if (a.sounding == 0 || alias.compare(Alias(a.sounding), Qt::CaseInsensitive) != 0) return;
    Failed(a.sounding, QStringLiteral("は再生できない形式のため鳴らせません。"));
    a.sounding = 0;
    // Refused within the play's own Send, the play goes on to the next itself.
    if (!a.inSend) PlayNext();
}

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

void PlayAlarmSound(SoundTold tell) {
    if (SoundTestOn != 1 && SoundOn != 1) return;
    if (SoundIndex > 4) return;
    static const bool listening = (Mci::SetUnplayableHandler(Unplayable), true);
    Q_UNUSED(listening);
    const int chosen = SoundIndex == 4 && SoundFilePath.isEmpty() ? 1 : SoundIndex + 1;
    Attempt& a = Current();
    a = Attempt{};
    a.tell = std::move(tell);
    a.next = {chosen};
    for (int channel = 1; channel <= 4; ++channel)
        if (channel != chosen) a.next.append(channel);
    PlayNext();
}

void StopAllSounds() {
    // What is stopped has nothing more to tell.
    Current() = Attempt{};
    for (int i = 1; i <= 5; ++i)
        Mci::Send(QStringLiteral("stop ") + Alias(i));
}

void CloseAllSounds() {
    Current() = Attempt{};
    for (int i = 1; i <= 5; ++i) {
        Mci::Send(QStringLiteral("stop ") + Alias(i));
        Mci::Send(QStringLiteral("close ") + Alias(i));
    }
}
