#include "platform/MediaPlayer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

// Whether the bytes are a sound MediaPlayer plays, told by their first bytes.
// A MIDI file: the "MThd" chunk whole (six bytes of data or more) and the next
// chunk's header after it. The players take anything less without an error
// and play nothing.
enum class Kind { Midi, Wave, Other };

Kind kindOf(const QByteArray& bytes) {
  if (bytes.startsWith("MThd") && bytes.size() >= 8) {
    const quint32 length = quint32(quint8(bytes[4])) << 24 | quint32(quint8(bytes[5])) << 16 |
                           quint32(quint8(bytes[6])) << 8 | quint32(quint8(bytes[7]));
    return length >= 6 && quint64(bytes.size()) >= 8 + quint64(length) + 8 ? Kind::Midi : Kind::Other;
  }
  if (bytes.size() >= 12 && bytes.startsWith("RIFF") && bytes.mid(8, 4) == "WAVE") return Kind::Wave;
  return Kind::Other;
}

}  // namespace

// Paths in the texts are written as the system writes them, with backslashes on Windows.
bool MediaPlayer::fail(const QString& path, const QString& reason, const QString& detail) {
  error_ = u"サウンドを開けません: "_s + QDir::toNativeSeparators(path) + u'\n' + reason;
  if (!detail.isEmpty()) error_ += u'\n' + detail;
  return false;
}

// The system's reason ("Audio target 'pulseaudio' not available", "ALSA:
// Couldn't open audio device: ...") tells a typist nothing more: it is left out.
bool MediaPlayer::failForDevice(const QString& path) {
  deviceFailed_ = true;
  error_ = u"サウンドを再生できる装置がありません。ファンファーレは鳴りません。\n("_s + QDir::toNativeSeparators(path) +
           u')';
  return false;
}

bool MediaPlayer::failToRead(const QString& path, const QFile& file) {
  const QFileInfo info(path);
  if (!info.exists()) return fail(path, u"ファイルが見つかりません。"_s);
  if (info.isDir()) return fail(path, u"ファイルではなくフォルダです。"_s);
  if (!info.isReadable()) return fail(path, u"ファイルを読む権限がありません。"_s);
  return fail(path, u"ファイルを読めません。"_s, file.errorString());
}

bool MediaPlayer::open(const QString& path) {
  close();
  error_.clear();
  deviceFailed_ = false;

  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return failToRead(path, file);
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return failToRead(path, file);
  const Kind kind = kindOf(bytes);
  if (kind == Kind::Other)
    return fail(path, u"この形式のファイルは再生できません (MIDI か WAV のファイルではありません)"_s);

  QString systemWords;
  switch (openSound(path, kind == Kind::Midi ? FileKind::Midi : FileKind::Wave, std::move(bytes), systemWords)) {
    case Failure::None: path_ = path; return true;
    case Failure::NoDevice: return failForDevice(path);
    case Failure::Unplayable: break;
  }
  return fail(path, u"ファイルが壊れているか、再生できない形式です。"_s, systemWords);
}

bool MediaPlayer::failToPlay(const QString& systemWords) {
  error_ = u"サウンドを再生できません: "_s + QDir::toNativeSeparators(path_) + u"\n再生を始められませんでした。\n"_s +
           systemWords;
  return false;
}

bool MediaPlayer::play() {
  error_.clear();
  if (!isOpen()) {
    error_ = u"サウンドを再生できません: ファイルが開かれていません"_s;
    return false;
  }
  QString systemWords;
  return startSound(systemWords) || failToPlay(systemWords);
}

bool MediaPlayer::isPlaying() const { return isOpen() && soundIsPlaying(); }

void MediaPlayer::close() {
  closeSound();
  path_.clear();
}
