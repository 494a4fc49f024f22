#include "platform/MciPlayer.h"

#include <QAudioOutput>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QRegularExpression>
#include <QUrl>

namespace {
const QRegularExpression kOpen(QString::fromLatin1(R"re(^open\s+"([^"]+)"\s+alias\s+(\S+)$)re"),
                               QRegularExpression::CaseInsensitiveOption);
const QRegularExpression kPlay(QString::fromLatin1(R"(^play\s+(\S+)\s+from\s+0$)"),
                               QRegularExpression::CaseInsensitiveOption);
const QRegularExpression kStop(QString::fromLatin1(R"(^stop\s+(\S+)$)"),
                               QRegularExpression::CaseInsensitiveOption);
const QRegularExpression kClose(QString::fromLatin1(R"(^close\s+(\S+)$)"),
                                QRegularExpression::CaseInsensitiveOption);
} // namespace

MciPlayer::~MciPlayer() = default;

MciPlayer& MciPlayer::Shared() {
    static MciPlayer* shared = new MciPlayer(QCoreApplication::instance());
    return *shared;
}

QMediaPlayer* MciPlayer::Player(const QString& alias) const {
    const auto it = channels_.find(alias.toLower());
    return it == channels_.end() ? nullptr : it->second.player.get();
}

void MciPlayer::Send(const QString& command) {
    const QString text = command.trimmed();
    if (const auto m = kOpen.match(text); m.hasMatch()) {
        const QString alias = m.captured(2).toLower();
        const QString path = m.captured(1);
        // Like the original device: an alias in use, or a missing file, fails.
        if (channels_.count(alias) != 0 || !QFileInfo(path).isFile()) return;
        Channel channel;
        channel.output = std::make_unique<QAudioOutput>();
        channel.player = std::make_unique<QMediaPlayer>();
        channel.player->setAudioOutput(channel.output.get());
        channel.player->setSource(QUrl::fromLocalFile(path));
        channels_.emplace(alias, std::move(channel));
    } else if (const auto p = kPlay.match(text); p.hasMatch()) {
        if (QMediaPlayer* player = Player(p.captured(1))) {
            player->setPosition(0);
            player->play();
        }
    } else if (const auto s = kStop.match(text); s.hasMatch()) {
        if (QMediaPlayer* player = Player(s.captured(1))) player->stop();
    } else if (const auto c = kClose.match(text); c.hasMatch()) {
        channels_.erase(c.captured(1).toLower());
    }
}
