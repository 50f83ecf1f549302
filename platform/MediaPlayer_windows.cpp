#include "platform/MediaPlayer.h"

#include <windows.h>
// after windows.h, whose types it uses
#include <mmsystem.h>

#include <QDir>

using namespace Qt::StringLiterals;

// The file as the media control interface holds it: a "sequencer" device for
// MIDI, a "waveaudio" device for WAV, each opened on the file itself.
struct MediaPlayer::Sound {
  MCIDEVICEID device = 0;
  bool midi = false;
};

namespace {

// Whose MIDI file sounds: the system has one sequencer, so playing one stops another.
const MediaPlayer* midiOwner = nullptr;
MCIDEVICEID midiOwnerDevice = 0;

QString mciWords(MCIERROR error) {
  wchar_t text[256] = {};
  if (!::mciGetErrorStringW(error, text, 256)) return u"MCI error %1"_s.arg(error);
  return QString::fromWCharArray(text);
}

// Errors that mean the machine cannot sound the file at all, whatever the file.
bool isDeviceError(MCIERROR error) {
  switch (error) {
    case MCIERR_CANNOT_LOAD_DRIVER:
    case MCIERR_DEVICE_NOT_INSTALLED:
    case MCIERR_INVALID_DEVICE_NAME:
    case MCIERR_HARDWARE:
    case MCIERR_SEQ_NOMIDIPRESENT:
    case MCIERR_SEQ_PORT_NONEXISTENT:
    case MCIERR_SEQ_PORT_MAPNODEVICE:
    case MCIERR_SEQ_PORTUNSPECIFIED:
    case MCIERR_WAVE_OUTPUTSUNSUITABLE:
    case MCIERR_WAVE_OUTPUTUNSPECIFIED: return true;
    default: return false;
  }
}

void closeDevice(MCIDEVICEID device) {
  if (device) ::mciSendCommandW(device, MCI_CLOSE, MCI_WAIT, 0);
}

}  // namespace

MediaPlayer::MediaPlayer() = default;
MediaPlayer::~MediaPlayer() { close(); }

MediaPlayer::Failure MediaPlayer::openSound(const QString& path, FileKind kind, QByteArray, QString& systemWords) {
  const bool midi = kind == FileKind::Midi;
  if ((midi ? ::midiOutGetNumDevs() : ::waveOutGetNumDevs()) == 0) return Failure::NoDevice;

  const std::wstring type = midi ? L"sequencer" : L"waveaudio";
  const std::wstring file = QDir::toNativeSeparators(QDir::cleanPath(path)).toStdWString();
  MCI_OPEN_PARMSW parameters{};
  parameters.lpstrDeviceType = type.c_str();
  parameters.lpstrElementName = file.c_str();
  const MCIERROR error = ::mciSendCommandW(0, MCI_OPEN, MCI_WAIT | MCI_OPEN_TYPE | MCI_OPEN_ELEMENT,
                                           reinterpret_cast<DWORD_PTR>(&parameters));
  if (error) {
    if (isDeviceError(error)) return Failure::NoDevice;
    systemWords = mciWords(error);
    return Failure::Unplayable;
  }
  sound_ = std::make_unique<Sound>();
  sound_->device = parameters.wDeviceID;
  sound_->midi = midi;
  return Failure::None;
}

bool MediaPlayer::startSound(QString& systemWords) {
  if (sound_->midi && midiOwner && midiOwner != this) ::mciSendCommandW(midiOwnerDevice, MCI_STOP, MCI_WAIT, 0);
  MCI_PLAY_PARMS from{};
  from.dwFrom = 0;
  // Without MCI_WAIT the call returns while the sound goes on.
  const MCIERROR error = ::mciSendCommandW(sound_->device, MCI_PLAY, MCI_FROM, reinterpret_cast<DWORD_PTR>(&from));
  if (error) {
    systemWords = mciWords(error);
    return false;
  }
  if (sound_->midi) {
    midiOwner = this;
    midiOwnerDevice = sound_->device;
  }
  return true;
}

bool MediaPlayer::soundIsPlaying() const {
  if (sound_->midi && midiOwner != this) return false;
  MCI_STATUS_PARMS status{};
  status.dwItem = MCI_STATUS_MODE;
  if (::mciSendCommandW(sound_->device, MCI_STATUS, MCI_WAIT | MCI_STATUS_ITEM, reinterpret_cast<DWORD_PTR>(&status)))
    return false;
  return status.dwReturn == MCI_MODE_PLAY;
}

void MediaPlayer::closeSound() {
  if (midiOwner == this) {
    midiOwner = nullptr;
    midiOwnerDevice = 0;
  }
  if (!sound_) return;
  closeDevice(sound_->device);
  sound_.reset();
}
