#include "platform/MciPlayer_posix.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QRegularExpression>
#include <memory>
#include <utility>

namespace {
const QRegularExpression kOpen(QString::fromLatin1(R"re(^open\s+"([^"]+)"\s+alias\s+(\S+)$)re"),
                               QRegularExpression::CaseInsensitiveOption);
const QRegularExpression kPlay(QString::fromLatin1(R"(^play\s+(\S+)\s+from\s+0$)"),
                               QRegularExpression::CaseInsensitiveOption);
const QRegularExpression kStop(QString::fromLatin1(R"(^stop\s+(\S+)$)"),
                               QRegularExpression::CaseInsensitiveOption);
const QRegularExpression kClose(QString::fromLatin1(R"(^close\s+(\S+)$)"),
                                QRegularExpression::CaseInsensitiveOption);

// The channel of an alias in the map (const or not), or null.
template <class Map> auto* FindIn(Map& channels, const QString& alias) {
    const auto it = channels.find(alias.toLower());
    return it == channels.end() ? nullptr : &it->second;
}

// Whether a PulseAudio (or PipeWire) server's socket is there to play into.
bool SoundServerReachable() {
    QString server = qEnvironmentVariable("PULSE_SERVER");
    if (server.isEmpty()) {
        const QString runtime =
            qEnvironmentVariable("PULSE_RUNTIME_PATH", qEnvironmentVariable("XDG_RUNTIME_DIR") +
                                                           QStringLiteral("/pulse"));
        server = runtime + QStringLiteral("/native");
    }
    if (server.startsWith(QStringLiteral("unix:"))) server.remove(0, 5);
    // A server elsewhere on the network cannot be checked from here.
    return !QDir::isAbsolutePath(server) || QFileInfo::exists(server);
}

bool OnFfmpeg() {
    return qgetenv("QT_MEDIA_BACKEND") == "ffmpeg";
}
} // namespace

MciPlayer::MciPlayer(QObject* parent) : QObject(parent) {
    // Qt's FFmpeg backend starts a sound within tens of milliseconds, its
    // GStreamer backend (the default here) after a few hundred. But FFmpeg
    // plays only into a sound server, where GStreamer falls back to ALSA.
    // A backend the user chose stands.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND") && SoundServerReachable())
        qputenv("QT_MEDIA_BACKEND", "ffmpeg");
}

MciPlayer::~MciPlayer() = default;

MciPlayer& MciPlayer::Shared() {
    static MciPlayer* shared = new MciPlayer(QCoreApplication::instance());
    return *shared;
}

bool MciPlayer::IsOpen(const QString& alias) const {
    return FindIn(channels_, alias) != nullptr;
}

QMediaPlayer* MciPlayer::Player(const QString& alias) const {
    const Channel* channel = FindIn(channels_, alias);
    return channel ? channel->player.get() : nullptr;
}

void MciPlayer::Report(const QString& alias) {
    if (report_) report_(alias);
}

bool MciPlayer::Play(const QString& alias, Channel& channel) {
    channel.player.reset();
    const bool output = !QMediaDevices::defaultAudioOutput().isNull();
    if (!output) qWarning("velsokura: no sound can play, there is no audio output");
    // With no output device Qt 6.4's FFmpeg backend crashes on play.
    if (OnFfmpeg() && !output) return false;
    channel.output = std::make_unique<QAudioOutput>();
    channel.player = std::make_unique<QMediaPlayer>();
    channel.player->setAudioOutput(channel.output.get());
    // Told once, after the Send that played: a file the decoder cannot read
    // shows as an error, or only as invalid media.
    // The player is the context: a report still queued when it goes is dropped.
    QMediaPlayer* player = channel.player.get();
    const auto unplayable = [this, alias, told = std::make_shared<bool>(false)] {
        if (!std::exchange(*told, true)) Report(alias);
    };
    connect(player, &QMediaPlayer::errorOccurred, player, unplayable, Qt::QueuedConnection);
    connect(
        player, &QMediaPlayer::mediaStatusChanged, player,
        [unplayable](QMediaPlayer::MediaStatus status) {
            if (status == QMediaPlayer::InvalidMedia) unplayable();
        },
        Qt::QueuedConnection);
    // Qt's FFmpeg backend cannot open a file URL whose path has a space or a
    // non-ASCII character; a device reads any path.
    channel.file = std::make_unique<QFile>(channel.source.toLocalFile());
    channel.file->open(QIODevice::ReadOnly);
    channel.player->setSourceDevice(channel.file.get(), channel.source);
    channel.player->play();
    return output;
}

bool MciPlayer::Send(const QString& command) {
    const QString text = command.trimmed();
    if (const auto m = kOpen.match(text); m.hasMatch()) {
        const QString alias = m.captured(2).toLower();
        const QString path = m.captured(1);
        // As with MCI: an alias in use, or a missing file, fails.
        if (IsOpen(alias) || !QFileInfo(path).isFile()) return true;
        channels_[alias].source = QUrl::fromLocalFile(path);
    } else if (const auto p = kPlay.match(text); p.hasMatch()) {
        const QString alias = p.captured(1);
        if (Channel* channel = FindIn(channels_, alias)) return Play(alias, *channel);
        QMetaObject::invokeMethod(this, [this, alias] { Report(alias); }, Qt::QueuedConnection);
    } else if (const auto s = kStop.match(text); s.hasMatch()) {
        if (Channel* channel = FindIn(channels_, s.captured(1))) channel->player.reset();
    } else if (const auto c = kClose.match(text); c.hasMatch()) {
        channels_.erase(c.captured(1).toLower());
    }
    return true;
}
