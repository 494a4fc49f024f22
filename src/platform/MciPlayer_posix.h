#pragma once
// Plays the multimedia string commands with Qt Multimedia: open "PATH" alias
// NAME, play NAME from 0, stop NAME, close NAME. Anything else, or a command
// that cannot be carried out, does nothing; a play that cannot sound (an
// alias not open, a file the player cannot read) is reported afterwards.
// Opening only takes note of the file; each play makes a fresh player, which
// the play's end, stop and close let go. A player kept from one play to the next could start
// late, or stay silent once another channel had played.

#include <QAudioOutput>
#include <QFile>
#include <QMediaPlayer>
#include <QObject>
#include <QString>
#include <QUrl>
#include <map>
#include <memory>

class MciPlayer : public QObject {
    Q_OBJECT
  public:
    explicit MciPlayer(QObject* parent = nullptr);
    ~MciPlayer() override;

    // False when a play finds no audio output to play into.
    bool Send(const QString& command);
    // Whether the alias is open.
    bool IsOpen(const QString& alias) const;
    // The player of the alias's play while it sounds, or null.
    QMediaPlayer* Player(const QString& alias) const;

    // Where a play that cannot sound is told, with its alias, from the event loop.
    using UnplayableReport = void (*)(const QString& alias);
    void SetUnplayableReport(UnplayableReport report) { report_ = report; }

    // The one player of the program, owned by the application object.
    static MciPlayer& Shared();

  private:
    struct Channel {
        QUrl source;
        std::unique_ptr<QAudioOutput> output;
        std::unique_ptr<QFile> file;
        std::unique_ptr<QMediaPlayer> player;
    };
    bool Play(const QString& alias, Channel& channel);
    void Release(Channel& channel);
    void ReleaseLater(const QString& alias, QMediaPlayer* player, qint64 ms);
    void Report(const QString& alias);

    std::map<QString, Channel> channels_; // by alias, lower case
    UnplayableReport report_ = nullptr;
};
