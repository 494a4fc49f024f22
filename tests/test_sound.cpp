// The sound channels: the exact commands chosen by the options, and the real
// player behind them.

#include "TestSupport.h"
#include "alarm/Sounds.h"
#include "core/mdlMain.h"
#include "platform/MciPlayer_posix.h"

#include <QAudioDevice>
#include <QDir>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QPointer>
#include <QSignalSpy>
#include <QtTest>

using namespace mdlMain;

namespace {
// Whether a spied signal carried the value.
template <class T> bool Saw(const QSignalSpy& spy, T value) {
    for (const QVariantList& args : spy)
        if (args.at(0).value<T>() == value) return true;
    return false;
}
} // namespace

class TestSound : public QObject {
    Q_OBJECT
  private slots:
    void alarmCommandsFollowOptions_data();
    void alarmCommandsFollowOptions();
    void stopAllStopsEveryChannel();
    void realPlayerPlaysToTheEnd();
    void realPlayerIgnoresWhatItCannotDo();
};

void TestSound::alarmCommandsFollowOptions_data() {
    QTest::addColumn<int>("soundOn");
    QTest::addColumn<int>("testOn");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("userFile"); // in the program folder; "gone" is not there
    QTest::addColumn<QStringList>("commands");
    const QStringList first{"stop Sound1", "play Sound1 from 0"};
    QTest::newRow("off") << 0 << 0 << 1 << "" << QStringList();
    QTest::newRow("off, testing") << 0 << 1 << 1 << ""
                                  << QStringList{"stop Sound2", "play Sound2 from 0"};
    QTest::newRow("on, first") << 1 << 0 << 0 << "" << first;
    QTest::newRow("on, fourth") << 1 << 0 << 3 << ""
                                << QStringList{"stop Sound4", "play Sound4 from 0"};
    QTest::newRow("user file") << 1 << 0 << 4 << "mine.mp3"
                               << QStringList{"stop Sound5", "play Sound5 from 0"};
    // An alarm the user cannot hear is no alarm: the first sound stands in.
    QTest::newRow("user file, none chosen") << 1 << 0 << 4 << "" << first;
    QTest::newRow("user file, gone") << 1 << 0 << 4 << "gone.mp3" << first;
    QTest::newRow("out of range") << 1 << 0 << 7 << "" << QStringList();
}

void TestSound::alarmCommandsFollowOptions() {
    QFETCH(int, soundOn);
    QFETCH(int, testOn);
    QFETCH(int, index);
    QFETCH(QString, userFile);
    QFETCH(QStringList, commands);
    AppFixture app;
    app.WriteFile("mine.mp3", "ID3");
    SoundOn = std::uint8_t(soundOn);
    SoundTestOn = std::uint8_t(testOn);
    SoundIndex = std::uint8_t(index);
    if (!userFile.isEmpty()) SoundFilePath = app.Folder() + userFile;
    PlayAlarmSound();
    QCOMPARE(app.soundCommands, commands);
    // A second alarm restarts the same sound from the beginning.
    app.soundCommands.clear();
    PlayAlarmSound();
    QCOMPARE(app.soundCommands, commands);
}

void TestSound::stopAllStopsEveryChannel() {
    AppFixture app;
    StopAllSounds();
    QCOMPARE(app.soundCommands, QStringList({"stop Sound1", "stop Sound2", "stop Sound3",
                                             "stop Sound4", "stop Sound5"}));
}

void TestSound::realPlayerPlaysToTheEnd() {
    // A folder name with a space and Japanese: the quoted path must hold.
    QTemporaryDir dir;
    const QString folder = dir.path() + "/音 sounds";
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + "/blackout5.mp3";
    QVERIFY(QFile::copy(QStringLiteral(VELSOKURA_ASSETS) + "/blackout5.mp3", path));

    MciPlayer mci;
    if (QMediaDevices::audioOutputs().isEmpty()) QSKIP("no audio output on this machine");
    mci.Send("open \"" + QDir::toNativeSeparators(path) + "\" alias Sound3");
    QVERIFY(mci.IsOpen("Sound3"));
    mci.Send("play Sound3 from 0");
    // The player goes when its play ends.
    const QPointer<QMediaPlayer> player = mci.Player("Sound3");
    QVERIFY(player);
    if (!player->isAvailable()) QSKIP("no multimedia backend can be created on this machine");
    QSignalSpy states(player, &QMediaPlayer::playbackStateChanged);
    QSignalSpy statuses(player, &QMediaPlayer::mediaStatusChanged);
    QSignalSpy errors(player, &QMediaPlayer::errorOccurred);
    // The play may already have begun when the player was handed out.
    QTRY_VERIFY_WITH_TIMEOUT(player->playbackState() == QMediaPlayer::PlayingState ||
                                 Saw(states, QMediaPlayer::PlayingState) ||
                                 player->error() == QMediaPlayer::ResourceError,
                             10000);
    if (player->error() == QMediaPlayer::ResourceError)
        QSKIP(qPrintable("no audio output can be opened here: " + player->errorString()));
    QTRY_VERIFY_WITH_TIMEOUT(Saw(statuses, QMediaPlayer::EndOfMedia), 20000);
    QVERIFY(errors.isEmpty());
    // Kept, it would hold a running stream of the sound server until a stop.
    QTRY_VERIFY(!mci.Player("Sound3"));
    QVERIFY(!player);
    QVERIFY(mci.IsOpen("Sound3"));

    mci.Send("play Sound3 from 0");
    QTRY_COMPARE_WITH_TIMEOUT(mci.Player("Sound3")->playbackState(), QMediaPlayer::PlayingState,
                              10000);
    mci.Send("stop Sound3");
    QVERIFY(!mci.Player("Sound3"));
    mci.Send("close Sound3");
    QVERIFY(!mci.IsOpen("Sound3"));
}

void TestSound::realPlayerIgnoresWhatItCannotDo() {
    QTemporaryDir dir;
    MciPlayer mci;
    mci.Send("open \"" + dir.path() + "/missing.mp3\" alias Sound5");
    QVERIFY(!mci.IsOpen("Sound5"));
    mci.Send("play Sound5 from 0");
    mci.Send("stop Sound5");
    mci.Send("close Sound5");
    mci.Send("rewind Sound1");
    // An alias in use stays with its first file.
    QVERIFY(
        QFile::copy(QStringLiteral(VELSOKURA_ASSETS) + "/blackout8.mp3", dir.path() + "/a.mp3"));
    QVERIFY(
        QFile::copy(QStringLiteral(VELSOKURA_ASSETS) + "/blackout4.mp3", dir.path() + "/b.mp3"));
    mci.Send("open \"" + dir.path() + "/a.mp3\" alias Sound1");
    mci.Send("open \"" + dir.path() + "/b.mp3\" alias Sound1");
    mci.Send("play Sound1 from 0");
    QVERIFY(mci.Player("sound1")->source().toLocalFile().endsWith("/a.mp3"));
}

QTEST_MAIN(TestSound)
#include "test_sound.moc"
