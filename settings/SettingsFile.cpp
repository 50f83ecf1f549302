#include "settings/SettingsFile.h"

#include <limits>

#include "platform/IntegerText.h"
#include "platform/NativePath.h"
#include "settings/StoredSizes.h"

using namespace Qt::StringLiterals;

std::optional<std::int32_t> SettingsFile::convertInteger(const QString& value) {
  for (const QChar c : value)
    if (c.unicode() > 0x7F) return std::nullopt;
  QByteArray text = value.toLatin1();
  if (value.size() > 2 && value[0] == u'0' && (value[1] == u'x' || value[1] == u'X')) text = "$" + text.mid(2);
  return convertFieldNumber(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
}

std::optional<std::int64_t> SettingsFile::convertInteger64(const QString& value) {
  if (const auto narrow = convertInteger(value)) return *narrow;
  // Optional leading blanks, an optional sign and decimal digits, nothing else.
  qsizetype i = 0;
  while (i < value.size() && value[i] == u' ') ++i;
  const bool negative = i < value.size() && value[i] == u'-';
  if (i < value.size() && (value[i] == u'+' || value[i] == u'-')) ++i;
  if (i == value.size()) return std::nullopt;
  std::uint64_t magnitude = 0;
  constexpr std::uint64_t Limit = std::uint64_t{1} << 63;  // the magnitude of the smallest value
  for (; i < value.size(); ++i) {
    const char16_t c = value[i].unicode();
    if (c < u'0' || c > u'9') return std::nullopt;
    const unsigned digit = c - u'0';
    if (magnitude > (Limit - digit) / 10) return std::nullopt;
    magnitude = magnitude * 10 + digit;
  }
  if (negative)
    return magnitude == Limit ? std::numeric_limits<std::int64_t>::min() : -static_cast<std::int64_t>(magnitude);
  if (magnitude == Limit) return std::nullopt;
  return static_cast<std::int64_t>(magnitude);
}

QString firstCharacter(const QString& text) {
  if (text.isEmpty()) return {};
  const qsizetype length = text.size() > 1 && text[0].isHighSurrogate() && text[1].isLowSurrogate() ? 2 : 1;
  return text.left(length);
}

SettingsFile::SettingsFile(QString path) : profile_(std::move(path)) {}

int SettingsFile::readInteger(const QString& section, const QString& key, int fallback) const {
  return convertInteger(profile_.readString(section, key, QString())).value_or(fallback);
}

std::uint8_t SettingsFile::readByte(const QString& section, const QString& key, std::uint8_t fallback) const {
  return static_cast<std::uint8_t>(readInteger(section, key, fallback) & 0xFF);
}

bool SettingsFile::readBool(const QString& section, const QString& key, bool fallback) const {
  return readInteger(section, key, fallback ? 1 : 0) != 0;
}

SettingsColor SettingsFile::readColor(const QString& section, const QString& key, SettingsColor fallback) const {
  return readInteger(section, key, fallback);
}

QString SettingsFile::readText(const QString& section, const QString& key, const QString& fallback) const {
  return profile_.readString(section, key, fallback);
}

std::optional<QString> SettingsFile::readValue(const QString& section, const QString& key, KeyMatch match) const {
  return profile_.readValue(section, key, match);
}

QString SettingsFile::readMark(const QString& section, const QString& key, const QString& fallback) const {
  const QString mark = firstCharacter(profile_.readString(section, key, QString()));
  return mark.isEmpty() ? fallback : mark;
}

bool SettingsFile::writeInteger(const QString& section, const QString& key, int value) {
  return profile_.writeString(section, key, QString::number(value));
}

bool SettingsFile::writeBool(const QString& section, const QString& key, bool value) {
  return writeInteger(section, key, value ? 1 : 0);
}

bool SettingsFile::writeColor(const QString& section, const QString& key, std::uint32_t rgb) {
  return writeInteger(section, key, static_cast<int>(rgb & 0xFFFFFFu));
}

bool SettingsFile::writeText(const QString& section, const QString& key, const QString& value, KeyMatch match) {
  return profile_.writeString(section, key, value, match);
}

bool SettingsFile::removeKey(const QString& section, const QString& key, KeyMatch match) {
  return profile_.removeKey(section, key, match);
}

bool SettingsFile::writeMark(const QString& section, const QString& key, const QString& mark) {
  return profile_.writeString(section, key, firstCharacter(mark));
}

QString SettingsFile::writeFailureMessage() const {
  return u"%1 に書き込めません"_s.arg(NativePath::toNative(path()));  // as the system writes paths
}

StoredSizeStore::Stored SettingsFile::readStoredSize(const RecordFile& file) const {
  return StoredSizes::read(*this, file);
}

bool SettingsFile::writeStoredSize(const RecordFile& file, std::int64_t size) {
  return StoredSizes::write(*this, file, size);
}
