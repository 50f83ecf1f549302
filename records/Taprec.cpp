#include "records/Taprec.h"

#include "records/DayCount.h"

#include <algorithm>

namespace {

constexpr unsigned char KanaModeByte = 0xB1;  // "ｱ" in Shift-JIS

// The usual field is blanks and decimal digits; it converts here without a
// call. Anything else (signs, "$", stray characters) takes the general path.
inline bool convertField(std::string_view line, RecordLineLayout::Field field, std::int32_t& value) {
  const auto start = static_cast<std::size_t>(field.first - 1);
  if (start >= line.size()) return false;
  const std::size_t end = std::min(line.size(), start + static_cast<std::size_t>(field.width));
  std::size_t i = start;
  while (i < end && line[i] == ' ') ++i;
  if (i == end) return false;
  std::int32_t v = 0;
  for (std::size_t k = i; k < end; ++k) {
    const unsigned digit = static_cast<unsigned char>(line[k]) - unsigned{'0'};
    if (digit > 9) {
      const auto converted = convertFieldNumber(line.substr(start, end - start));
      if (!converted) return false;
      value = *converted;
      return true;
    }
    v = v * 10 + static_cast<std::int32_t>(digit);
  }
  value = v;
  return true;
}

std::optional<PracticeMode> modeOfLetter(unsigned char letter) {
  switch (letter) {
    case 'A': return ModeAlphabet;
    case KanaModeByte: return ModeKana;
    case 'R': return ModeRomaji;
    case '!': return ModeSymbols;
    default: return std::nullopt;
  }
}

// Stores the fields one by one; returns false at the first failure, leaving
// what was stored before it.
bool parseFields(std::string_view line, PracticeRecord& r) {
  using namespace RecordLineLayout;
  std::int32_t v = 0;
  if (!convertField(line, Year, v)) return false;
  r.Year = static_cast<std::uint16_t>(v);
  if (!convertField(line, Month, v)) return false;
  r.Month = static_cast<std::uint8_t>(v);
  if (!convertField(line, Day, v)) return false;
  r.Day = static_cast<std::uint8_t>(v);
  const auto date = DayCount::encodeDate(r.Year, r.Month, r.Day);
  if (!date) return false;
  r.Date = *date;
  if (!convertField(line, Hour, v)) return false;
  r.Hour = static_cast<std::uint8_t>(v);
  if (!convertField(line, Min, v)) return false;
  r.Min = static_cast<std::uint8_t>(v);
  if (!convertField(line, Sec, v)) return false;
  r.Sec = static_cast<std::uint8_t>(v);
  const auto time = DayCount::encodeTime(r.Hour, r.Min, r.Sec);
  if (!time) return false;
  r.Time = *time;
  if (!convertField(line, Hits, v)) return false;
  r.Hits = static_cast<std::uint16_t>(v);
  if (!convertField(line, Misses, v)) return false;
  r.Misses = static_cast<std::uint8_t>(v);
  return true;
}

}  // namespace

void ParseRecordLine(std::string_view line, PracticeRecord& record) noexcept {
  if (line.empty()) {
    record.Mode = ModeFailed;
    return;
  }
  if (const auto mode = modeOfLetter(static_cast<unsigned char>(line.front()))) record.Mode = *mode;
  if (!parseFields(line, record)) record.Mode = ModeFailed;
}
