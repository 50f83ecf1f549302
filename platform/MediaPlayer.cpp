#include "platform/MediaPlayer.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <QFile>
#include <QFileInfo>
#include <cstdlib>

#include <dlfcn.h>

using namespace Qt::StringLiterals;

namespace {

// SDL's audio for the whole process: started by the first open(), stopped at exit.
struct AudioSystem {
  bool started = false;
  bool shutDown = false;
  int devicesOpen = 0;                      // open() calls holding the device (Mix_OpenAudio counts them too)
  const MediaPlayer* musicOwner = nullptr;  // whose MIDI is in SDL_mixer's single music slot
};

AudioSystem& audio() {
  static AudioSystem system;
  return system;
}

void shutDownAudio() {
  AudioSystem& system = audio();
  if (!system.started) return;
  // Players still open at exit are left as they are; their close() then does nothing.
  while (system.devicesOpen > 0) {
    Mix_CloseAudio();
    --system.devicesOpen;
  }
  Mix_Quit();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  SDL_Quit();
  system.started = false;
  system.shutDown = true;
}

QString sdlError() { return QString::fromUtf8(SDL_GetError()); }

// ALSA's library prints every failed probe to the terminal ("ALSA lib
// confmisc.c:855:(parse_card) cannot find card '0'", a dozen lines on a machine
// without a sound card) before SDL reports the failure in one sentence. SDL
// loads the library itself; it is loaded here first to give it a handler that
// keeps quiet. Nothing happens where the library is not installed.
extern "C" void quietAlsaError(const char*, int, const char*, int, const char*, ...) {}

void silenceAlsaLibrary() {
  void* alsa = ::dlopen("libasound.so.2", RTLD_NOW | RTLD_GLOBAL);
  if (!alsa) return;
  using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
  using SetHandler = int (*)(Handler);
  if (auto set = reinterpret_cast<SetHandler>(::dlsym(alsa, "snd_lib_error_set_handler"))) set(quietAlsaError);
  // Kept loaded: the handler lives in this copy of the library, which SDL then shares.
}

// Starts SDL's audio once per process. An empty result means it runs.
QString startAudio() {
  AudioSystem& system = audio();
  if (system.shutDown) return u"SDL has been shut down"_s;
  if (system.started) return {};
  // SDL's audio brings its event system, which would otherwise take over
  // SIGINT and SIGTERM from the program.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  silenceAlsaLibrary();
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    const QString error = sdlError();
    SDL_Quit();
    return error;  // tried again by the next open()
  }
  system.started = true;
  std::atexit(shutDownAudio);
  return {};
}

enum class FileKind { Midi, Wave, Other };

FileKind kindOf(const QByteArray& bytes) {
  // A MIDI file: the "MThd" chunk whole (six bytes of data or more) and the
  // next chunk's header after it. FluidSynth takes anything less without an
  // error and plays nothing.
  if (bytes.startsWith("MThd") && bytes.size() >= 8) {
    const quint32 length = quint32(quint8(bytes[4])) << 24 | quint32(quint8(bytes[5])) << 16 |
                           quint32(quint8(bytes[6])) << 8 | quint32(quint8(bytes[7]));
    return length >= 6 && quint64(bytes.size()) >= 8 + quint64(length) + 8 ? FileKind::Midi : FileKind::Other;
  }
  if (bytes.size() >= 12 && bytes.startsWith("RIFF") && bytes.mid(8, 4) == "WAVE") return FileKind::Wave;
  return FileKind::Other;
}

}  // namespace

MediaPlayer::~MediaPlayer() { close(); }

QString MediaPlayer::soundFontPath() { return u"/usr/share/sounds/sf3/default-GM.sf3"_s; }

bool MediaPlayer::fail(const QString& path, const QString& reason, const QString& detail) {
  error_ = u"サウンドを開けません: "_s + path + u'\n' + reason;
  if (!detail.isEmpty()) error_ += u'\n' + detail;
  return false;
}

// SDL's reason ("Audio target 'pulseaudio' not available", "ALSA: Couldn't
// open audio device: ...") tells a typist nothing more: it is left out.
bool MediaPlayer::failForDevice(const QString& path) {
  deviceFailed_ = true;
  error_ = u"サウンドを再生できる装置がありません。ファンファーレは鳴りません。\n("_s + path + u')';
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
  const FileKind kind = kindOf(bytes);
  if (kind == FileKind::Other)
    return fail(path, u"この形式のファイルは再生できません (MIDI か WAV のファイルではありません)"_s);

  if (!startAudio().isEmpty()) return failForDevice(path);
  if (Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, MIX_DEFAULT_CHANNELS, 2048) != 0)
    return failForDevice(path);
  audioOpen_ = true;
  ++audio().devicesOpen;

  if (kind == FileKind::Midi) {
    // SDL_SOUNDFONTS, when set, names the user's own choice.
    if (!std::getenv("SDL_SOUNDFONTS") && QFileInfo::exists(soundFontPath()))
      Mix_SetSoundFonts(QFile::encodeName(soundFontPath()).constData());
    bytes_ = std::move(bytes);
    SDL_RWops* rw = SDL_RWFromConstMem(bytes_.constData(), int(bytes_.size()));
    music_ = rw ? Mix_LoadMUSType_RW(rw, MUS_MID, SDL_TRUE) : nullptr;
  } else {
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.constData(), int(bytes.size()));
    chunk_ = rw ? Mix_LoadWAV_RW(rw, 1) : nullptr;
  }
  if (!isOpen()) {
    const QString error = sdlError();
    close();
    return fail(path, u"ファイルが壊れているか、再生できない形式です。"_s, error);
  }
  path_ = path;
  return true;
}

bool MediaPlayer::failToPlay() {
  error_ = u"サウンドを再生できません: "_s + path_ + u"\n再生を始められませんでした。\n"_s + sdlError();
  return false;
}

bool MediaPlayer::play() {
  error_.clear();
  if (!isOpen()) {
    error_ = u"サウンドを再生できません: ファイルが開かれていません"_s;
    return false;
  }
  if (music_) {
    if (Mix_PlayMusic(music_, 0) != 0) return failToPlay();
    audio().musicOwner = this;
    return true;
  }
  if (channel_ >= 0 && Mix_GetChunk(channel_) == chunk_) Mix_HaltChannel(channel_);
  channel_ = Mix_PlayChannel(-1, chunk_, 0);
  if (channel_ < 0) return failToPlay();
  return true;
}

bool MediaPlayer::isPlaying() const {
  if (music_) return audio().musicOwner == this && Mix_PlayingMusic();
  if (chunk_) return channel_ >= 0 && Mix_Playing(channel_) && Mix_GetChunk(channel_) == chunk_;
  return false;
}

void MediaPlayer::close() {
  AudioSystem& system = audio();
  if (system.shutDown) {
    // SDL is gone (the process is exiting): nothing may be freed through it any more.
    music_ = nullptr;
    chunk_ = nullptr;
  }
  if (music_) {
    if (system.musicOwner == this) Mix_HaltMusic();
    Mix_FreeMusic(music_);
    music_ = nullptr;
  }
  if (system.musicOwner == this) system.musicOwner = nullptr;
  if (chunk_) {
    Mix_FreeChunk(chunk_);  // halts every channel playing it
    chunk_ = nullptr;
  }
  channel_ = -1;
  if (audioOpen_ && !system.shutDown && system.devicesOpen > 0) {
    Mix_CloseAudio();
    --system.devicesOpen;
  }
  audioOpen_ = false;
  bytes_.clear();
  path_.clear();
}
