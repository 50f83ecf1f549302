#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QThread>

#include "platform/MediaPlayer.h"
#include "support/TempDir.h"
#include "support/ToneWave.h"

using namespace Qt::StringLiterals;

// What a player does whatever plays the sound: SDL's "disk" driver on Linux
// (set up by MediaPlayerTest.cpp's main()), the media control interface on
// Windows (under Wine an ALSA "null" device, set up by tests/CMakeLists.txt).

static std::ostream& operator<<(std::ostream& out, const QString& text) { return out << text.toStdString(); }

namespace {

const QString OpenFailed = u"サウンドを開けません: "_s;

// Paths in the texts are written as the system writes them.
QString native(const QString& path) { return QDir::toNativeSeparators(path); }

}  // namespace

TEST(MediaPlayer, PlaysAWaveFileAndReturnsAtOnce) {
  TempDir dir;
  MediaPlayer player;
  ASSERT_TRUE(player.open(dir.write(u"tone.wav"_s, toneWave(1.5, 8000)))) << player.errorText();
  EXPECT_TRUE(player.isOpen());
  EXPECT_FALSE(player.isPlaying()) << "before play()";
  ASSERT_TRUE(player.play()) << player.errorText();
  EXPECT_TRUE(player.isPlaying()) << "play() returns while the sound goes on";
  QElapsedTimer timer;
  timer.start();
  while (player.isPlaying() && timer.elapsed() < 20000) QThread::msleep(20);
  EXPECT_FALSE(player.isPlaying()) << "still playing after 20 seconds";
  ASSERT_TRUE(player.play()) << "a second play() starts it again";
  EXPECT_TRUE(player.isPlaying());
  player.close();
  EXPECT_FALSE(player.isOpen());
  EXPECT_FALSE(player.isPlaying());
}

TEST(MediaPlayer, RefusesWhatItCannotPlayAndSaysWhy) {
  TempDir dir;
  const QString text = dir.write(u"ﾌｧﾝﾌｧｰﾚ.mid"_s, "This is no MIDI file.\r\n");
  const QString video = dir.write(u"clip.wav"_s, QByteArray("RIFF\x10\0\0\0AVI LIST", 16));
  const QString empty = dir.write(u"empty.wav"_s, {});
  const QString shortHeader = dir.write(u"short.mid"_s, "MTh");
  const QString cutMidi = dir.write(u"cut.mid"_s, QByteArray("MThd\0\0\0\6\0\1\0\1\1\xe0MTr", 17));
  for (const QString& path : {text, video, empty, shortHeader, cutMidi}) {
    MediaPlayer player;
    EXPECT_FALSE(player.open(path)) << path;
    EXPECT_TRUE(player.errorText().startsWith(OpenFailed + native(path) + u'\n')) << player.errorText();
    EXPECT_TRUE(player.errorText().contains(u"形式"_s)) << player.errorText();
    EXPECT_FALSE(player.isOpen());
    EXPECT_FALSE(player.play());
    EXPECT_FALSE(player.isPlaying());
  }
  // A WAV file cut short: why in Japanese, the system's own words on a last line.
  MediaPlayer player;
  EXPECT_FALSE(player.open(dir.write(u"cut.wav"_s, toneWave(0.1, 1000).left(20))));
  EXPECT_TRUE(player.errorText().contains(u"\nファイルが壊れているか、再生できない形式です。\n"_s))
      << player.errorText();
}

// The reason in Japanese, none of the platform's English.
TEST(MediaPlayer, ReportsAMissingFileAndLeavesNothingOpen) {
  TempDir dir;
  const QString missing = dir.file(u"なし.mid"_s);
  MediaPlayer player;
  ASSERT_TRUE(player.open(dir.write(u"tone.wav"_s, toneWave(0.2, 1000)))) << player.errorText();
  EXPECT_FALSE(player.open(missing)) << "a failed open() closes what was open";
  EXPECT_EQ(player.errorText(), OpenFailed + native(missing) + u"\nファイルが見つかりません。"_s);
  EXPECT_FALSE(player.isOpen());
  EXPECT_FALSE(player.play());
  EXPECT_FALSE(player.errorText().isEmpty());

  // A folder is no sound file either.
  EXPECT_FALSE(player.open(dir.path()));
  EXPECT_EQ(player.errorText(), OpenFailed + native(dir.path()) + u"\nファイルではなくフォルダです。"_s);
}

TEST(MediaPlayer, PlayWithNothingOpenFails) {
  MediaPlayer player;
  EXPECT_FALSE(player.play());
  EXPECT_FALSE(player.errorText().isEmpty());
  EXPECT_FALSE(player.isPlaying());
}
