#include "platform/MciPlayer_posix.h"

#include "platform/MciCommand.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <utility>

namespace {
// What the output may still hold when a play's length is over.
constexpr qint64 kOutputLatencyMs = 500;

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

void MciPlayer::Release(Channel& channel) {
    channel.player.reset(); // first: it plays from the file into the output
    channel.file.reset();
    channel.output.reset();
}

void MciPlayer::ReleaseLater(const QString& alias, QMediaPlayer* player, qint64 ms) {
    // Not from the player's own signal: it may not be deleted there. Nor a
    // later play's player, which may have the same address.
    QTimer::singleShot(ms, this, [this, alias, player = QPointer<QMediaPlayer>(player)] {
        Channel* channel = FindIn(channels_, alias);
        if (player && channel && channel->player.get() == player) Release(*channel);
    });
}

bool MciPlayer::Play(const QString& alias, Channel& channel) {
    Release(channel);
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
    const auto unplayable = [this, alias, player, told = std::make_shared<bool>(false)] {
        if (std::exchange(*told, true)) return;
        ReleaseLater(alias, player, 0);
        Report(alias);
    };
    connect(player, &QMediaPlayer::errorOccurred, player, unplayable, Qt::QueuedConnection);
    // A player kept after its sound keeps a stream of the sound server
    // running, and wakes the program, until a stop. Its end of media comes
    // when the file is read (FFmpeg's backend reads it at once), not when the
    // output has played it: the player goes once the sound's length is over.
    const auto started = std::make_shared<QElapsedTimer>();
    started->start();
    connect(
        player, &QMediaPlayer::mediaStatusChanged, player,
        [this, alias, player, unplayable, started](QMediaPlayer::MediaStatus status) {
            if (status == QMediaPlayer::InvalidMedia) unplayable();
            if (status == QMediaPlayer::EndOfMedia)
                ReleaseLater(alias, player,
                             std::max<qint64>(player->duration() - started->elapsed(), 0) +
                                 kOutputLatencyMs);
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
    const MciCommand c = MciCommand::Parse(command);
    switch (c.kind) {
    case MciCommand::Open:
        // As with MCI: an alias in use, or a missing file, fails.
        if (!IsOpen(c.alias) && QFileInfo(c.path).isFile())
            channels_[c.alias].source = QUrl::fromLocalFile(c.path);
        break;
    case MciCommand::Play:
        if (Channel* channel = FindIn(channels_, c.alias)) return Play(c.alias, *channel);
        QMetaObject::invokeMethod(
            this, [this, alias = c.alias] { Report(alias); }, Qt::QueuedConnection);
        break;
    case MciCommand::Stop:
        if (Channel* channel = FindIn(channels_, c.alias)) Release(*channel);
        break;
    case MciCommand::Close:
        channels_.erase(c.alias);
        break;
    case MciCommand::Other:
        break;
    }
    return true;
}
