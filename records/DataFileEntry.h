#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "records/DayCount.h"
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
// Date is not stored; the reader builds it from the parts as the
// record-line parser does.
namespace DataFileEntry {

inline constexpr int Size = 10;
// Where each part sits in an entry (the table above).
enum Offset : int { ModeAt = 0, YearAt, MonthAt, DayAt, HourAt, MinAt, SecAt, HitsHighAt, HitsLowAt, MissesAt };
inline constexpr int YearBase = 1900;
inline constexpr int MaxExactHits = 255 * 255 + 254;
using Bytes = std::array<std::uint8_t, Size>;

namespace Bits {
constexpr std::uint8_t low8(int value) { return static_cast<std::uint8_t>(value & 0xFF); }
}  // namespace Bits

// Inline, as loads encode and decode a run at a time in their loops.
inline void encode(const PracticeRecord& r, std::uint8_t* out) noexcept {
  using Bits::low8;
  out[ModeAt] = low8(r.Mode + 1);
  out[YearAt] = low8(r.Year - YearBase);
  out[MonthAt] = r.Month;
  out[DayAt] = r.Day;
  out[HourAt] = low8(r.Hour + 1);
  out[MinAt] = low8(r.Min + 1);
  out[SecAt] = low8(r.Sec + 1);
  out[HitsHighAt] = low8(r.Hits / 255 + 1);
  out[HitsLowAt] = low8(r.Hits % 255 + 1);
  out[MissesAt] = low8(r.Misses + 1);
}
Bytes encode(const PracticeRecord& record) noexcept;

// Decodes one entry, or nothing when the entry is damaged: a mode byte outside
// 1..4, or parts that give no valid date or time.
std::optional<PracticeRecord> decode(const std::uint8_t* entry) noexcept;

// Decodes entries in file order. Runs of one day follow each other, so the
// date of the entry before is reused when the date bytes repeat.
class Decoder {
 public:
  // False when the entry is damaged; `record` is then unspecified.
  bool decode(const std::uint8_t* entry, PracticeRecord& record) noexcept {
    const std::uint32_t dateBytes =
        std::uint32_t{entry[YearAt]} << 16 | std::uint32_t{entry[MonthAt]} << 8 | entry[DayAt];
    using Bits::low8;
    record.Mode = low8(entry[ModeAt] - 1);
    record.Year = static_cast<std::uint16_t>(entry[YearAt] + YearBase);
    record.Month = entry[MonthAt];
    record.Day = entry[DayAt];
    record.Hour = low8(entry[HourAt] - 1);
    record.Min = low8(entry[MinAt] - 1);
    record.Sec = low8(entry[SecAt] - 1);
    record.Hits = static_cast<std::uint16_t>(low8(entry[HitsHighAt] - 1) * 255 + low8(entry[HitsLowAt] - 1));
    record.Misses = low8(entry[MissesAt] - 1);
    if (record.Mode > ModeSymbols || record.Hour >= 24 || record.Min >= 60 || record.Sec >= 60) return false;
    if (dateBytes != lastDateBytes_) {
      const auto date = DayCount::encodeDay(record.Year, record.Month, record.Day);
      if (!date) return false;
      lastDate_ = *date;
      lastDateBytes_ = dateBytes;
    }
    record.Date = lastDate_;
    return true;
  }
  // `count` entries one after another into `records`; false at the first
  // damaged one (the records are then unspecified).
  bool decode(const std::uint8_t* entries, std::size_t count, PracticeRecord* records) noexcept;

 private:
  // The three date bytes of the last date decoded; a value no three bytes give
  // until then, so that the first entry's date is always checked.
  static constexpr std::uint32_t NoDateYet = 0xFFFFFFFF;
  std::uint32_t lastDateBytes_ = NoDateYet;
  std::int32_t lastDate_ = 0;
};

// True when the entry of a kept record gives it back exactly. A year outside
// 1900..2155 or a hit count beyond the two base-255 digits comes back changed.
inline bool holdsExactly(const PracticeRecord& record) noexcept {
  // The year byte wraps outside 1900..2155; the high hit digit wraps once
  // Hits div 255 exceeds 255. Every other part of a kept record fits.
  return record.Year >= YearBase && record.Year <= YearBase + 255 && record.Hits <= MaxExactHits &&
         record.Mode <= ModeSymbols;
}

}  // namespace DataFileEntry
