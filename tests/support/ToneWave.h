#pragma once

#include <QByteArray>
#include <QDataStream>
#include <QIODevice>
#include <cmath>
#include <numbers>

// A mono 16-bit WAV file of a 440 Hz tone.
inline QByteArray toneWave(double seconds, int amplitude) {
  constexpr int rate = 22050;
  const int samples = int(seconds * rate);
  QByteArray bytes;
  QDataStream out(&bytes, QIODevice::WriteOnly);
  out.setByteOrder(QDataStream::LittleEndian);
  out.writeRawData("RIFF", 4);
  out << quint32(36 + 2 * samples);
  out.writeRawData("WAVEfmt ", 8);
  out << quint32(16) << quint16(1) << quint16(1) << quint32(rate) << quint32(2 * rate) << quint16(2) << quint16(16);
  out.writeRawData("data", 4);
  out << quint32(2 * samples);
  for (int i = 0; i < samples; ++i)
    out << qint16(std::lround(amplitude * std::sin(2 * std::numbers::pi * 440 * i / rate)));
  return bytes;
}
