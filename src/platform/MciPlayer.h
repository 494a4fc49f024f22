#pragma once
// Plays the multimedia string commands with Qt Multimedia, one player per
// alias: open "PATH" alias NAME, play NAME from 0, stop NAME, close NAME.
// Anything else, or a command that cannot be carried out, does nothing.

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QObject>
#include <QString>
#include <map>
#include <memory>

class MciPlayer : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;
    ~MciPlayer() override;

    void Send(const QString& command);
    // The player of an open alias, or null.
    QMediaPlayer* Player(const QString& alias) const;

    // The one player of the program, owned by the application object.
    static MciPlayer& Shared();

  private:
    struct Channel {
        std::unique_ptr<QAudioOutput> output;
        std::unique_ptr<QMediaPlayer> player;
    };
    std::map<QString, Channel> channels_; // by alias, lower case
};
