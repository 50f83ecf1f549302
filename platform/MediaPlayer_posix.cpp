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

}  // namespace

// What SDL_mixer holds for the open file.
struct MediaPlayer::Sound {
  _Mix_Music* music = nullptr;
  Mix_Chunk* chunk = nullptr;
  int channel = -1;
  bool audioOpen = false;
  QByteArray bytes;  // a MIDI file streams from these while it is open
};

namespace {

// Where the General MIDI soundfont is looked for.
QString soundFontPath() { return u"/usr/share/sounds/sf3/default-GM.sf3"_s; }

}  // namespace

MediaPlayer::MediaPlayer() = default;
MediaPlayer::~MediaPlayer() { close(); }

MediaPlayer::Failure MediaPlayer::openSound(const QString&, FileKind kind, QByteArray bytes, QString& systemWords) {
  if (!startAudio().isEmpty()) return Failure::NoDevice;
  if (Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, MIX_DEFAULT_CHANNELS, 2048) != 0)
    return Failure::NoDevice;
  sound_ = std::make_unique<Sound>();
  sound_->audioOpen = true;
  ++audio().devicesOpen;

  if (kind == FileKind::Midi) {
    // SDL_SOUNDFONTS, when set, names the user's own choice.
    if (!std::getenv("SDL_SOUNDFONTS") && QFileInfo::exists(soundFontPath()))
      Mix_SetSoundFonts(QFile::encodeName(soundFontPath()).constData());
    sound_->bytes = std::move(bytes);
    SDL_RWops* rw = SDL_RWFromConstMem(sound_->bytes.constData(), int(sound_->bytes.size()));
    sound_->music = rw ? Mix_LoadMUSType_RW(rw, MUS_MID, SDL_TRUE) : nullptr;
  } else {
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.constData(), int(bytes.size()));
    sound_->chunk = rw ? Mix_LoadWAV_RW(rw, 1) : nullptr;
  }
  if (!sound_->music && !sound_->chunk) {
    systemWords = sdlError();
    closeSound();
    return Failure::Unplayable;
  }
  return Failure::None;
}

bool MediaPlayer::startSound(QString& systemWords) {
  Sound& sound = *sound_;
  if (sound.music) {
    if (Mix_PlayMusic(sound.music, 0) != 0) {
      systemWords = sdlError();
      return false;
    }
    audio().musicOwner = this;
    return true;
  }
  if (sound.channel >= 0 && Mix_GetChunk(sound.channel) == sound.chunk) Mix_HaltChannel(sound.channel);
  sound.channel = Mix_PlayChannel(-1, sound.chunk, 0);
  if (sound.channel < 0) {
    systemWords = sdlError();
    return false;
  }
  return true;
}

bool MediaPlayer::soundIsPlaying() const {
  const Sound& sound = *sound_;
  if (sound.music) return audio().musicOwner == this && Mix_PlayingMusic();
  return sound.channel >= 0 && Mix_Playing(sound.channel) && Mix_GetChunk(sound.channel) == sound.chunk;
}

void MediaPlayer::closeSound() {
  AudioSystem& system = audio();
  if (system.musicOwner == this) {
    if (!system.shutDown) Mix_HaltMusic();
    system.musicOwner = nullptr;
  }
  if (!sound_) return;
  Sound& sound = *sound_;
  // Once SDL is gone (the process is exiting) nothing may be freed through it any more.
  if (!system.shutDown) {
    if (sound.music) Mix_FreeMusic(sound.music);
    if (sound.chunk) Mix_FreeChunk(sound.chunk);  // halts every channel playing it
    if (sound.audioOpen && system.devicesOpen > 0) {
      Mix_CloseAudio();
      --system.devicesOpen;
    }
  }
  sound_.reset();
}
