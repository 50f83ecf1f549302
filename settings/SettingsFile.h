#pragma once

#include <QString>

#include <cstdint>
#include <optional>

#include "platform/ProfileFile.h"
#include "records/StoredSizeStore.h"

// A colour as the settings file holds it: red in bits 0-7, green in 8-15, blue
// in 16-23. A negative value (top bit set) names a system colour by the index
// in its low byte; the windows resolve it. Saved files hold plain RGB only.
using SettingsColor = std::int32_t;

inline constexpr SettingsColor SystemColorBit = static_cast<SettingsColor>(0x80000000u);
inline constexpr int SystemColorWindow = 5;      // window background
inline constexpr int SystemColorWindowText = 8;  // window text
inline constexpr SettingsColor SystemColor(int index) { return SystemColorBit | index; }
inline constexpr bool isSystemColor(SettingsColor c) { return c < 0; }
inline constexpr int systemColorIndex(SettingsColor c) { return c & 0xFF; }
inline constexpr SettingsColor White = 16777215;

// The settings file's value encodings over the profile layer. Reads fall back
// to the given default when the key is missing or its value does not convert.
// It also keeps the loader's stored sizes, in its section "FileSize"
// (StoredSizes).
class SettingsFile : public StoredSizeStore {
 public:
  using KeyMatch = ProfileFile::KeyMatch;

  explicit SettingsFile(QString path);

  // Converts a value the way integers are read: decimal with an optional sign,
  // "$" + hexadecimal, or "0x" + hexadecimal; nothing when it does not convert.
  static std::optional<std::int32_t> convertInteger(const QString& value);
  // The same, and decimals up to 64 bits (the stored sizes of record files
  // beyond 2 GiB). Whatever convertInteger converts gives the same value here;
  // hexadecimal stays as convertInteger reads it.
  static std::optional<std::int64_t> convertInteger64(const QString& value);

  const QString& path() const { return profile_.path(); }

  // Decimal with an optional sign, "$" + hexadecimal, or "0x" + hexadecimal.
  int readInteger(const QString& section, const QString& key, int fallback) const;
  // An integer kept in its low 8 bits (300 reads as 44, -1 as 255).
  std::uint8_t readByte(const QString& section, const QString& key, std::uint8_t fallback) const;
  // An integer; any value other than 0 is true.
  bool readBool(const QString& section, const QString& key, bool fallback) const;
  SettingsColor readColor(const QString& section, const QString& key, SettingsColor fallback) const;
  QString readText(const QString& section, const QString& key, const QString& fallback) const;
  // The text, or nothing when the key is missing.
  std::optional<QString> readValue(const QString& section, const QString& key, KeyMatch match) const;
  // The first character of the value; an empty value gives the default.
  QString readMark(const QString& section, const QString& key, const QString& fallback) const;

  // Writes return false when the file cannot be written; writeFailureMessage()
  // then gives the text to show.
  bool writeInteger(const QString& section, const QString& key, int value);
  bool writeBool(const QString& section, const QString& key, bool value);
  // `rgb` must already be plain RGB (system colours resolved by the caller).
  bool writeColor(const QString& section, const QString& key, std::uint32_t rgb);
  bool writeText(const QString& section, const QString& key, const QString& value, KeyMatch match = KeyMatch::AnyCase);
  bool removeKey(const QString& section, const QString& key, KeyMatch match);
  bool writeMark(const QString& section, const QString& key, const QString& mark);

  // Runs `writes` (a window's save: many writes) as one write of the file: one
  // lock, one temporary copy, one sync, one rename, the bytes those writes
  // one at a time would leave. Writes stop at the first that fails, and what
  // was written before it is kept, as without the batch. False when a write
  // or the file's write failed (writeFailureMessage()).
  template <class Writes>
  bool writeTogether(Writes&& writes) {
    profile_.beginBatch();
    const bool written = writes();
    return profile_.commitBatch() && written;
  }

  // "<path> に書き込めません"
  QString writeFailureMessage() const;

  // A window's options (a type with `bool save(SettingsFile&) const`) written
  // together: nothing when they were, else the text of the failure to show.
  template <class Options>
  std::optional<QString> keep(const Options& options) {
    if (writeTogether([&] { return options.save(*this); })) return std::nullopt;
    return writeFailureMessage();
  }

  Stored readStoredSize(const RecordFile& file) const override;
  bool writeStoredSize(const RecordFile& file, std::int64_t size) override;
  QString storedSizeFailure() const override { return writeFailureMessage(); }

 private:
  ProfileFile profile_;
};

// The first character of a text (a surrogate pair counts as one), or empty.
QString firstCharacter(const QString& text);
