// Feeds arbitrary bytes to the record-line parser and the line reader. The
// parser's quick field conversion is checked against the general one, and a
// kept record must be a valid run.
#include <QBuffer>

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "records/DayCount.h"
#include "records/RecordLineReader.h"
#include "records/Taprec.h"

namespace {

void check(bool condition) {
  if (!condition) __builtin_trap();
}

std::optional<std::int32_t> fieldValue(std::string_view line, RecordLineLayout::Field field) {
  const auto start = static_cast<std::size_t>(field.first - 1);
  if (start >= line.size()) return std::nullopt;
  return convertFieldNumber(line.substr(start, static_cast<std::size_t>(field.width)));
}

// The parser's outcome, worked out field by field with the general conversion.
void checkAgainstGeneralConversion(std::string_view line, const PracticeRecord& r) {
  using namespace RecordLineLayout;
  const auto year = fieldValue(line, Year), month = fieldValue(line, Month), day = fieldValue(line, Day);
  const auto hour = fieldValue(line, Hour), min = fieldValue(line, Min), sec = fieldValue(line, Sec);
  const auto hits = fieldValue(line, Hits), misses = fieldValue(line, Misses);
  const bool allConvert = year && month && day && hour && min && sec && hits && misses;
  if (r.Mode == ModeFailed) return;
  check(allConvert);
  check(r.Year == static_cast<std::uint16_t>(*year) && r.Month == static_cast<std::uint8_t>(*month) &&
        r.Day == static_cast<std::uint8_t>(*day) && r.Hour == static_cast<std::uint8_t>(*hour) &&
        r.Min == static_cast<std::uint8_t>(*min) && r.Sec == static_cast<std::uint8_t>(*sec) &&
        r.Hits == static_cast<std::uint16_t>(*hits) && r.Misses == static_cast<std::uint8_t>(*misses));
  check(DayCount::encodeDate(r.Year, r.Month, r.Day) == r.Date);
  check(DayCount::encodeTime(r.Hour, r.Min, r.Sec) == r.Time());
  check(r.Mode <= ModeSymbols);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  PracticeRecord whole;
  whole.Mode = ModeAlphabet;
  ParseRecordLine(bytes, whole);
  checkAgainstGeneralConversion(bytes, whole);

  QByteArray copy(bytes.data(), static_cast<qsizetype>(bytes.size()));
  QBuffer buffer(&copy);
  buffer.open(QIODevice::ReadOnly);
  RecordLineReader reader(buffer, 64);
  PracticeRecord scratch;
  std::string_view line;
  std::size_t lines = 0;
  while (reader.next(line)) {
    check(line.size() <= 64);
    ParseRecordLine(line, scratch);
    checkAgainstGeneralConversion(line, scratch);
    check(++lines <= size + 1);
  }
  return 0;
}
