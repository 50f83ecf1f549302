#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "records/PracticeRecord.h"

// The compressed data file (".hok") beside a record file caches its parsed runs.
// It has no header, version or checksum: it is a plain sequence of 10-byte
// entries, one per kept run, in record-file order. Byte arithmetic wraps
// modulo 256.
//
//   offset  content              written as              read back as
//   0       mode                 Mode + 1 (1..4)         byte - 1
//   1       year                 Year - 1900, low 8 bits byte + 1900
//   2       month                Month                   byte
//   3       day                  Day                     byte
//   4       hour                 Hour + 1                byte - 1
//   5       min                  Min + 1                 byte - 1
//   6       sec                  Sec + 1                 byte - 1
//   7       hits, high digit     Hits div 255 + 1        (byte - 1) * 255
//   8       hits, low digit      Hits mod 255 + 1        + (byte - 1), 16 bits
//   9       misses               Misses + 1              byte - 1
//
// Date and Time are not stored; the reader builds them from the parts as the
// record-line parser does.
namespace DataFileEntry {

inline constexpr int Size = 10;
// Where each part sits in an entry (the table above).
enum Offset : int { ModeAt = 0, YearAt, MonthAt, DayAt, HourAt, MinAt, SecAt, HitsHighAt, HitsLowAt, MissesAt };
inline constexpr int YearBase = 1900;
inline constexpr int MaxExactHits = 255 * 255 + 254;
using Bytes = std::array<std::uint8_t, Size>;

void encode(const PracticeRecord& record, std::uint8_t* out) noexcept;
Bytes encode(const PracticeRecord& record) noexcept;

// Decodes one entry, or nothing when the entry is damaged: a mode byte outside
// 1..4, or parts that give no valid date or time.
std::optional<PracticeRecord> decode(const std::uint8_t* entry) noexcept;

// Decodes entries in file order. Runs of one day follow each other, so the
// date of the entry before is reused when the date bytes repeat.
class Decoder {
 public:
  // False when the entry is damaged; `record` is then unspecified.
  bool decode(const std::uint8_t* entry, PracticeRecord& record) noexcept;

 private:
  // The three date bytes of the last date decoded; a value no three bytes give
  // until then, so that the first entry's date is always checked.
  static constexpr std::uint32_t NoDateYet = 0xFFFFFFFF;
  std::uint32_t lastDateBytes_ = NoDateYet;
  double lastDate_ = 0;
};

// True when the entry of a kept record gives it back exactly. A year outside
// 1900..2155 or a hit count beyond the two base-255 digits comes back changed.
bool holdsExactly(const PracticeRecord& record) noexcept;

}  // namespace DataFileEntry
