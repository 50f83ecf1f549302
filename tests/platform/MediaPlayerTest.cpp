#include "platform/MediaPlayer.h"

#include <gtest/gtest.h>

#include <QDataStream>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "support/QtPrinters.h"
#include "support/TempDir.h"
#include "support/ToneWave.h"

using namespace Qt::StringLiterals;

// QString in GoogleTest's failure messages.
static std::ostream& operator<<(std::ostream& out, const QString& text) { return out << text.toStdString(); }

// The tests play through SDL's "disk" audio driver, which writes what the
// device would sound to a file (SDL_DISKAUDIOFILE) as signed 16-bit samples.
// main() below sets it up before SDL starts. What a player does on every
// system is tested in MediaPlayerFileTest.cpp, linked in here as well.

namespace {

QString fanfare() { return QString::fromUtf8(HOKO32_FANFARE_FILE); }
QString diskAudioFile() { return QString::fromLocal8Bit(qgetenv("SDL_DISKAUDIOFILE")); }

struct Sound {
  int peak = 0;               // largest sample
  double audibleSeconds = 0;  // from the first loud sample to the last
};

// What the disk driver wrote: 16-bit stereo at 44.1 kHz.
Sound soundOnDisk(int loud = 1000) {
  QFile file(diskAudioFile());
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = file.readAll();
  Sound sound;
  qsizetype first = -1, lastLoud = -1;
  for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
    std::int16_t sample;
    std::memcpy(&sample, bytes.constData() + i, 2);
    const int size = std::abs(int(sample));
    sound.peak = std::max(sound.peak, size);
    if (size >= loud) {
      if (first < 0) first = i;
      lastLoud = i;
    }
  }
  if (first >= 0) sound.audibleSeconds = double(lastLoud - first) / (44100 * 4);
  return sound;
}

// Waits (at most 20 seconds) for the sound to end; false if it never does.
bool waitToEnd(const MediaPlayer& player) {
  QElapsedTimer timer;
  timer.start();
  while (player.isPlaying()) {
    if (timer.elapsed() > 20000) return false;
    QThread::msleep(20);
  }
  return true;
}

}  // namespace

TEST(MediaPlayer, PlaysTheBundledFanfareToTheEnd) {
  MediaPlayer player;
  ASSERT_TRUE(player.open(fanfare())) << player.errorText();
  EXPECT_TRUE(player.errorText().isEmpty());
  EXPECT_FALSE(player.isPlaying()) << "before play()";
  ASSERT_TRUE(player.play()) << player.errorText();
  EXPECT_TRUE(player.isPlaying()) << "play() returns while the sound goes on";
  EXPECT_TRUE(waitToEnd(player)) << "still playing after 20 seconds";
  player.close();

  const Sound sound = soundOnDisk();
  EXPECT_GT(sound.peak, 1000) << "the fanfare was silent";
  EXPECT_LT(sound.peak, 32000) << "the fanfare is so loud that it clips";
  EXPECT_GE(sound.audibleSeconds, 2.0) << "the fanfare was cut short";
}

TEST(MediaPlayer, TellsAFileByItsBytesNotItsName) {
  TempDir dir;
  QFile::copy(fanfare(), dir.file(u"fanfare.wav"_s));
  MediaPlayer player;
  EXPECT_TRUE(player.open(dir.file(u"fanfare.wav"_s))) << player.errorText();

  const QString path = dir.write(u"tone.mid"_s, toneWave(0.3, 12000));
  ASSERT_TRUE(player.open(path)) << player.errorText();
  ASSERT_TRUE(player.play()) << player.errorText();
  EXPECT_TRUE(waitToEnd(player));
  player.close();
  EXPECT_GT(soundOnDisk().peak, 6000);
}

TEST(MediaPlayer, WorksWhenMadeAndDestroyedAgainAndAgain) {
  TempDir dir;
  const QString loud = dir.write(u"loud.wav"_s, toneWave(0.25, 12000));
  const QString silent = dir.write(u"silent.wav"_s, toneWave(0.25, 0));
  for (int round = 0; round < 3; ++round) {
    {
      MediaPlayer player;
      ASSERT_TRUE(player.open(round == 1 ? silent : loud)) << "round " << round << ": " << player.errorText();
      ASSERT_TRUE(player.play()) << player.errorText();
      EXPECT_TRUE(waitToEnd(player));
      player.close();
      player.close();  // twice is harmless
    }
    // Each opening of the device starts the disk file anew, so it holds this round's sound only.
    if (round == 1) {
      EXPECT_EQ(soundOnDisk().peak, 0) << "the silent file sounded";
    } else {
      EXPECT_GT(soundOnDisk().peak, 6000) << "round " << round;
    }
  }
  // Destroyed while playing: the next player still gets the device.
  {
    MediaPlayer player;
    ASSERT_TRUE(player.open(fanfare()));
    ASSERT_TRUE(player.play());
  }
  MediaPlayer player;
  ASSERT_TRUE(player.open(loud)) << player.errorText();
  EXPECT_TRUE(player.play()) << player.errorText();
}

TEST(MediaPlayer, OnlyOneMidiSoundsAtATime) {
  MediaPlayer first, second;
  ASSERT_TRUE(first.open(fanfare()));
  ASSERT_TRUE(second.open(fanfare())) << second.errorText();
  ASSERT_TRUE(first.play());
  EXPECT_TRUE(first.isPlaying());
  ASSERT_TRUE(second.play());
  EXPECT_TRUE(second.isPlaying());
  EXPECT_FALSE(first.isPlaying()) << "the second MIDI took the first one's place";
  first.close();
  EXPECT_TRUE(second.isPlaying()) << "closing the first stopped the second";
}

// SDL picks its audio driver once per process, so the device that cannot be
// opened is tried in a child: this test program run with --open-media.
TEST(MediaPlayer, ReportsASoundDeviceThatCannotBeOpened) {
  TempDir dir;
  const auto openInChild = [&](const QString& driver) {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"SDL_AUDIODRIVER"_s, driver);
    environment.insert(u"SDL_DISKAUDIOFILE"_s, dir.file(u"child.raw"_s));
    child.setProcessEnvironment(environment);
    child.start(QFileInfo(u"/proc/self/exe"_s).symLinkTarget(), {u"--open-media"_s, fanfare()});
    EXPECT_TRUE(child.waitForFinished(60000));
    return std::tuple{child.exitCode(), QString::fromUtf8(child.readAllStandardOutput()),
                      QString::fromUtf8(child.readAllStandardError())};
  };
  const auto [diskStatus, diskText, diskErrors] = openInChild(u"disk"_s);
  EXPECT_EQ(diskStatus, 0) << "the child cannot open the fanfare even with a device: " << diskText;

  const auto [status, text, errors] = openInChild(u"nonexistent_driver"_s);
  EXPECT_EQ(status, 2) << "a failure for want of a device";  // said in Japanese, SDL's English left out
  EXPECT_EQ(text, u"サウンドを再生できる装置がありません。ファンファーレは鳴りません。\n("_s + fanfare() + u')')
      << text;

  // ALSA, with or without a sound card: never its library's lines on the terminal.
  const auto [alsaStatus, alsaText, alsaErrors] = openInChild(u"alsa"_s);
  EXPECT_FALSE(alsaErrors.contains(u"ALSA lib"_s)) << alsaErrors;
}

int main(int argc, char** argv) {
  // The child of ReportsASoundDeviceThatCannotBeOpened: opens one file, prints the error text.
  if (argc == 3 && !std::strcmp(argv[1], "--open-media")) {
    MediaPlayer player;
    const bool opened = player.open(QString::fromLocal8Bit(argv[2]));
    std::fputs(player.errorText().toUtf8().constData(), stdout);
    return opened ? 0 : player.failedForDevice() ? 2 : 1;
  }
  QTemporaryDir dir;
  qputenv("SDL_AUDIODRIVER", "disk");
  qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(dir.filePath(u"disk-audio.raw"_s)));
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
