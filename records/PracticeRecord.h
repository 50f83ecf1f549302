#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// Practice mode of one run, as TAPPER writes it in the first byte of a record line.
using PracticeMode = std::uint8_t;

inline constexpr PracticeMode ModeAlphabet = 0;  // "A"
inline constexpr PracticeMode ModeKana = 1;      // "ｱ", the single byte 0xB1 in Shift-JIS
inline constexpr PracticeMode ModeRomaji = 2;    // "R"
inline constexpr PracticeMode ModeSymbols = 3;   // "!"
inline constexpr PracticeMode ModeFailed = 4;    // the line did not parse; never kept
inline constexpr int PracticeModeCount = 4;

// Display names of the four modes, used in view titles and the celebration banner.
inline constexpr std::array<std::u16string_view, PracticeModeCount> ModeName = {u"英字", u"カナ", u"ローマ字", u"記号"};

// One practice run. Date is the whole day count since 1899-12-30 and Time()
// the fraction of a day, both from the parts beside them; the parts are kept
// because the compressed data file and the worst-run lines use them. A day
// count is whole, so it is held as an integer (every date of the years 1 to
// 9999 fits), and the time of day is worked out from the clock parts when it
// is asked for.
//
// Fields are ordered for packing (16 bytes: a million runs take 16 MB), not
// as TAPPER's line lists them.
struct PracticeRecord {
  std::int32_t Date = 0;
  std::uint16_t Hits = 0;
  std::uint16_t Year = 0;
  PracticeMode Mode = ModeFailed;
  std::uint8_t Misses = 0;  // held modulo 256
  std::uint8_t Month = 0;
  std::uint8_t Day = 0;
  std::uint8_t Hour = 0;
  std::uint8_t Min = 0;
  std::uint8_t Sec = 0;

  // As DayCount::encodeTime makes it from the clock parts.
  double Time() const noexcept { return (Hour * 3600 + Min * 60 + Sec) / 86400.0; }

  bool operator==(const PracticeRecord&) const = default;
};

static_assert(sizeof(PracticeRecord) == 16, "the record store is sized for 16-byte records");
