#pragma once

#include <QByteArray>
#include <QString>

class QFile;

// SDL_mixer's own types, declared here so that users need not see its header.
struct _Mix_Music;
struct Mix_Chunk;

// Plays one sound file, a MIDI or a WAV file, the way the viewer played its
// fanfare through the Windows media control interface: open, play (returns at
// once while the sound goes on), close. Built on SDL2_mixer; MIDI goes through
// FluidSynth with the General MIDI soundfont of Debian's timgm6mb-soundfont.
//
// - The kind of file is told by its first bytes ("MThd" for MIDI, "RIFF" with
//   "WAVE" for WAV), not by its name; anything else is refused, since
//   SDL_mixer would accept it and play nothing.
// - SDL's audio is started the first time any player opens a file and shut down
//   when the process exits. The sound device is held from open() to close().
// - Only one MIDI file sounds at a time in a process: playing one stops another
//   player's MIDI. WAV files mix.
// - Use from one thread.
class MediaPlayer {
 public:
  MediaPlayer() = default;
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

  bool isOpen() const { return music_ || chunk_; }
  bool isPlaying() const;

  // Why the last open() or play() failed; empty after one that succeeded.
  QString errorText() const { return error_; }
  // The last open() failed for want of a sound device, not because of the file.
  bool failedForDevice() const { return deviceFailed_; }

  // Where the General MIDI soundfont is looked for.
  static QString soundFontPath();

 private:
  // The text: what failed with the path, why in Japanese, and where it helps
  // the library's own words on a last line.
  bool fail(const QString& path, const QString& reason, const QString& detail = {});
  bool failForDevice(const QString& path);
  bool failToRead(const QString& path, const QFile& file);
  bool failToPlay();

  _Mix_Music* music_ = nullptr;
  Mix_Chunk* chunk_ = nullptr;
  int channel_ = -1;
  bool audioOpen_ = false;
  QByteArray bytes_;  // a MIDI file streams from these while it is open
  QString path_;
  QString error_;
  bool deviceFailed_ = false;
};
