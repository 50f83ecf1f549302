#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

class QFile;

// Plays one sound file, a MIDI or a WAV file: open, play (returns at once
// while the sound goes on), close. On Windows through the system's media
// control interface (MediaPlayer_windows.cpp); on Linux through SDL2_mixer,
// MIDI through FluidSynth with the General MIDI soundfont of Debian's
// timgm6mb-soundfont (MediaPlayer_posix.cpp).
//
// - The kind of file is told by its first bytes ("MThd" for MIDI, "RIFF" with
//   "WAVE" for WAV), not by its name; anything else is refused, since
//   SDL_mixer would accept it and play nothing.
// - The sound device is held from open() to close(). On Linux SDL's audio is
//   started the first time any player opens a file and shut down when the
//   process exits.
// - Only one MIDI file sounds at a time in a process: playing one stops another
//   player's MIDI. WAV files mix.
// - Use from one thread.
class MediaPlayer {
 public:
  MediaPlayer();
  ~MediaPlayer();
  MediaPlayer(const MediaPlayer&) = delete;
  MediaPlayer& operator=(const MediaPlayer&) = delete;

  // Closes what was open, then opens `path` and the sound device. On failure
  // returns false and errorText() says why in Japanese: a first line with the
  // path, the reason on the next, and for a file the library cannot load its
  // own message on a last line.
  bool open(const QString& path);

  // Starts the open sound from its beginning and returns at once. False when
  // nothing is open or the sound cannot start (errorText() then says why).
  bool play();

  // Stops the sound and frees it and the sound device. Harmless when nothing is open.
  void close();

  bool isOpen() const { return sound_ != nullptr; }
  bool isPlaying() const;

  // Why the last open() or play() failed; empty after one that succeeded.
  QString errorText() const { return error_; }
  // The last open() failed for want of a sound device, not because of the file.
  bool failedForDevice() const { return deviceFailed_; }

 private:
  // The text: what failed with the path, why in Japanese, and where it helps
  // the library's own words on a last line.
  bool fail(const QString& path, const QString& reason, const QString& detail = {});
  bool failForDevice(const QString& path);
  bool failToRead(const QString& path, const QFile& file);
  bool failToPlay(const QString& systemWords);

  // What the platform's file does: the file is read and its kind checked before.
  enum class FileKind { Midi, Wave };
  enum class Failure { None, NoDevice, Unplayable };
  // Opens the sound device and loads the file into sound_; on failure leaves
  // sound_ empty and puts the system's own words in systemWords.
  Failure openSound(const QString& path, FileKind kind, QByteArray bytes, QString& systemWords);
  // Starts sound_ from its beginning; false with the system's words.
  bool startSound(QString& systemWords);
  bool soundIsPlaying() const;
  // Frees sound_ and the device; sound_ is empty afterwards.
  void closeSound();

  struct Sound;  // the open file as the system holds it
  std::unique_ptr<Sound> sound_;
  QString path_;
  QString error_;
  bool deviceFailed_ = false;
};
