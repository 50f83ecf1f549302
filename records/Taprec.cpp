#include "records/Taprec.h"

#include "records/DayCount.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <utility>

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

constexpr std::optional<PracticeMode> modeOfLetter(unsigned char letter) {
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
  const auto date = DayCount::encodeDay(r.Year, r.Month, r.Day);
  if (!date) return false;
  r.Date = *date;
  if (!convertField(line, Hour, v)) return false;
  r.Hour = static_cast<std::uint8_t>(v);
  if (!convertField(line, Min, v)) return false;
  r.Min = static_cast<std::uint8_t>(v);
  if (!convertField(line, Sec, v)) return false;
  r.Sec = static_cast<std::uint8_t>(v);
  if (!DayCount::encodeTime(r.Hour, r.Min, r.Sec)) return false;
  if (!convertField(line, Hits, v)) return false;
  r.Hits = static_cast<std::uint16_t>(v);
  if (!convertField(line, Misses, v)) return false;
  r.Misses = static_cast<std::uint8_t>(v);
  return true;
}

// The usual line byte by byte: 'm' the mode letter, 'd' a digit, 'n' a digit or
// a blank, blanks only before the first digit of a count; any other byte stands
// for itself.
constexpr std::string_view UsualLine = "m dddd/dd/dd  dd:dd:dd  HIT = nnd  MISS= nnd";
static_assert(UsualLine.size() == RecordLineLayout::LineBytes);

constexpr bool fieldIs(RecordLineLayout::Field field, std::string_view kinds) {
  return UsualLine.substr(static_cast<std::size_t>(field.first - 1), static_cast<std::size_t>(field.width)) == kinds;
}
static_assert(fieldIs(RecordLineLayout::Year, "dddd") && fieldIs(RecordLineLayout::Month, "dd") &&
              fieldIs(RecordLineLayout::Day, "dd") && fieldIs(RecordLineLayout::Hour, "dd") &&
              fieldIs(RecordLineLayout::Min, "dd") && fieldIs(RecordLineLayout::Sec, "dd") &&
              fieldIs(RecordLineLayout::Hits, "nnd") && fieldIs(RecordLineLayout::Misses, "nnd"));

// The line is checked eight bytes at a time, the last word overlapping the one
// before it; every check is per byte, and a byte is wrong when it sets a bit:
// - (word & mask) ^ expected: a fixed byte is itself, a digit is 0x30..0x3F,
//   a digit or blank 0x20..0x3F;
// - (word + 6) & 0x40 at digits, digits or blanks: not 0x3A..0x3F (no carry
//   leaves a byte that passed the first check);
// - at digits or blanks, 0x20..0x2F must be the blank 0x20: bit 4 clear
//   (0x2X) and a low nibble other than 0 (which adding 0x0F carries into bit 4);
// - a blank after a digit or blank that is a digit (bit 4 set in the byte
//   before, clear in this one).
struct WordCheck {
  std::uint64_t mask = 0;
  std::uint64_t expected = 0;
  std::uint64_t digitCarry = 0;
  std::uint64_t digitOverflow = 0;
  std::uint64_t blankNibble = 0;
  std::uint64_t blankBit = 0;
  std::uint64_t blankAfterDigit = 0;
};

static_assert(std::endian::native == std::endian::little || std::endian::native == std::endian::big);
constexpr bool LittleEndian = std::endian::native == std::endian::little;

// A word that has `byte` as its byte i when it is read from memory.
constexpr std::uint64_t placed(unsigned byte, int i) {
  return std::uint64_t{byte} << (LittleEndian ? 8 * i : 8 * (7 - i));
}
// Each byte of a word moved to where the byte after it is, or before it.
constexpr std::uint64_t toNextByte(std::uint64_t word) { return LittleEndian ? word << 8 : word >> 8; }
constexpr std::uint64_t fromNextByte(std::uint64_t word) { return LittleEndian ? word >> 8 : word << 8; }
// Byte i of a word read from memory.
constexpr std::uint64_t byteOf(std::uint64_t word, int i) {
  return word >> (LittleEndian ? 8 * i : 8 * (7 - i)) & 0xFF;
}

constexpr WordCheck checkOfWordAt(std::size_t at) {
  WordCheck c;
  for (int i = 0; i < 8; ++i) {
    const char kind = UsualLine[at + static_cast<std::size_t>(i)];
    if (kind == 'd' || kind == 'n') {
      c.mask |= placed(kind == 'd' ? 0xF0 : 0xE0, i);
      c.expected |= placed(kind == 'd' ? 0x30 : 0x20, i);
      c.digitCarry |= placed(0x06, i);
      c.digitOverflow |= placed(0x40, i);
    } else if (kind != 'm') {
      c.mask |= placed(0xFF, i);
      c.expected |= placed(static_cast<unsigned char>(kind), i);
    }
    if (kind == 'n') {
      c.blankNibble |= placed(0x0F, i);
      c.blankBit |= placed(0x10, i);
      if (i > 0 && UsualLine[at + static_cast<std::size_t>(i) - 1] == 'n') c.blankAfterDigit |= placed(0x10, i);
    }
  }
  return c;
}

constexpr std::array<std::size_t, 6> WordAt = {0, 8, 16, 24, 32, 36};
static_assert(WordAt.back() + 8 == UsualLine.size());
// Each 'n' after an 'n' lies in the same word as the one before it.
static_assert(UsualLine.substr(30, 2) == "nn" && UsualLine.substr(41, 2) == "nn");
static_assert(WordAt[3] <= 30 && 31 < WordAt[3] + 8 && WordAt[5] <= 41 && 42 < WordAt[5] + 8);

template <std::size_t K>
[[gnu::always_inline]] inline std::uint64_t wrongBitsOfWord(const char* line) {
  constexpr WordCheck c = checkOfWordAt(WordAt[K]);
  std::uint64_t word;
  std::memcpy(&word, line + WordAt[K], sizeof word);
  std::uint64_t wrong = ((word & c.mask) ^ c.expected) | ((word + c.digitCarry) & c.digitOverflow);
  if constexpr (c.blankBit != 0)
    wrong |= (((word & c.blankNibble) + c.blankNibble) & ~word & c.blankBit) |
             (toNextByte(word) & ~word & c.blankAfterDigit);
  return wrong;
}

template <std::size_t... K>
[[gnu::always_inline]] inline bool isUsualLayout(const char* line, std::index_sequence<K...>) {
  return (wrongBitsOfWord<K>(line) | ...) == 0;
}

constexpr PracticeMode NoModeLetter = 0xFF;
constexpr std::array<PracticeMode, 256> ModeOfByte = [] {
  std::array<PracticeMode, 256> modes{};
  modes.fill(NoModeLetter);
  for (unsigned byte = 0; byte < 256; ++byte)
    if (const auto mode = modeOfLetter(static_cast<unsigned char>(byte))) modes[byte] = *mode;
  return modes;
}();

// A digit's value, and a blank's: 0.
inline unsigned digitAt(const unsigned char* line, int position) { return line[position - 1] & 0x0Fu; }

template <RecordLineLayout::Field F>
[[gnu::always_inline]] inline unsigned numberAt(const unsigned char* line) {
  return [line]<int... I>(std::integer_sequence<int, I...>) {
    unsigned value = 0;
    ((value = value * 10 + digitAt(line, F.first + I)), ...);
    return value;
  }
  (std::make_integer_sequence<int, F.width>());
}

// Parses usual lines one after another. The runs of a day follow each other,
// so a date the same as the line before's is not worked out again.
class UsualLineParser {
 public:
  [[gnu::always_inline]] bool parse(const char* text, PracticeRecord& record) noexcept {
    using namespace RecordLineLayout;
    const auto* line = reinterpret_cast<const unsigned char*>(text);
    const PracticeMode mode = ModeOfByte[line[0]];
    if (!isUsualLayout(text, std::make_index_sequence<WordAt.size()>()) || mode == NoModeLetter) return false;

    // The date's ten bytes: "YY" at 3 and "YY/MM/DD" at 5.
    std::uint16_t century;
    std::uint64_t yearToDay;
    std::memcpy(&century, text + Year.first - 1, sizeof century);
    std::memcpy(&yearToDay, text + Year.first + 1, sizeof yearToDay);
    if (yearToDay != lastYearToDay_ || century != lastCentury_) {
      const unsigned year = numberAt<Year>(line);
      const unsigned month = numberAt<Month>(line);
      const unsigned day = numberAt<Day>(line);
      const auto date = DayCount::encodeDay(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day));
      if (!date) return false;
      last_.Date = *date;
      last_.Year = static_cast<std::uint16_t>(year);
      last_.Month = static_cast<std::uint8_t>(month);
      last_.Day = static_cast<std::uint8_t>(day);
      lastCentury_ = century;
      lastYearToDay_ = yearToDay;
    }
    // "hh:mm:ss": each digit's value in its byte, then each pair's number in
    // the byte of its first digit.
    static_assert(Min.first == Hour.first + 3 && Sec.first == Hour.first + 6 && Hour.width == 2);
    std::uint64_t clock;
    std::memcpy(&clock, text + Hour.first - 1, sizeof clock);
    clock &= 0x0F0F0F0F0F0F0F0F;
    clock = clock * 10 + fromNextByte(clock);  // at most 15 * 10 + 15 in a byte: no carry
    const auto hour = static_cast<unsigned>(byteOf(clock, 0));
    const auto min = static_cast<unsigned>(byteOf(clock, 3));
    const auto sec = static_cast<unsigned>(byteOf(clock, 6));
    if (hour >= 24 || min >= 60 || sec >= 60) return false;
    const unsigned hits = numberAt<Hits>(line);
    const unsigned misses = numberAt<Misses>(line);

    record.Date = last_.Date;
    record.Hits = static_cast<std::uint16_t>(hits);
    record.Year = last_.Year;
    record.Mode = mode;
    record.Misses = static_cast<std::uint8_t>(misses);
    record.Month = last_.Month;
    record.Day = last_.Day;
    record.Hour = static_cast<std::uint8_t>(hour);
    record.Min = static_cast<std::uint8_t>(min);
    record.Sec = static_cast<std::uint8_t>(sec);
    return true;
  }

 private:
  // The date of the line before, and its bytes; no line has 0 bytes there,
  // so the first line's date is always worked out.
  PracticeRecord last_;
  std::uint16_t lastCentury_ = 0;
  std::uint64_t lastYearToDay_ = 0;
};

}  // namespace

bool ParseUsualRecordLine(const char* line, PracticeRecord& record) noexcept {
  return UsualLineParser().parse(line, record);
}

std::size_t ParseUsualRecordLines(std::string_view text, PracticeRecord* records, std::size_t room) noexcept {
  using RecordLineLayout::LineBytes;
  using RecordLineLayout::LineWithEnd;
  UsualLineParser parser;
  const char* at = text.data();
  std::size_t count = 0;
  for (; count < room; ++count, at += LineWithEnd) {
    if (text.data() + text.size() - at < LineWithEnd || at[LineBytes] != '\r' || at[LineBytes + 1] != '\n' ||
        !parser.parse(at, records[count]))
      break;
  }
  return count;
}

void ParseRecordLine(std::string_view line, PracticeRecord& record) noexcept {
  if (line.size() >= RecordLineLayout::LineBytes && ParseUsualRecordLine(line.data(), record)) return;
  ParseRecordLineByFields(line, record);
}

void ParseRecordLineByFields(std::string_view line, PracticeRecord& record) noexcept {
  if (line.empty()) {
    record.Mode = ModeFailed;
    return;
  }
  if (const auto mode = modeOfLetter(static_cast<unsigned char>(line.front()))) record.Mode = *mode;
  if (!parseFields(line, record)) record.Mode = ModeFailed;
}
