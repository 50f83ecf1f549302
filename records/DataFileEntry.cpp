#include "records/DataFileEntry.h"

#include "records/DayCount.h"

namespace DataFileEntry {

namespace {
constexpr std::uint8_t low8(int value) { return static_cast<std::uint8_t>(value & 0xFF); }
}  // namespace

void encode(const PracticeRecord& r, std::uint8_t* out) noexcept {
  out[0] = low8(r.Mode + 1);
  out[1] = low8(r.Year - YearBase);
  out[2] = r.Month;
  out[3] = r.Day;
  out[4] = low8(r.Hour + 1);
  out[5] = low8(r.Min + 1);
  out[6] = low8(r.Sec + 1);
  out[7] = low8(r.Hits / 255 + 1);
  out[8] = low8(r.Hits % 255 + 1);
  out[9] = low8(r.Misses + 1);
}

Bytes encode(const PracticeRecord& record) noexcept {
  Bytes bytes{};
  encode(record, bytes.data());
  return bytes;
}

namespace {

// Every part but Date; false for a mode byte outside 1..4 or an invalid time.
bool decodeParts(const std::uint8_t* e, PracticeRecord& r) noexcept {
  r.Mode = low8(e[0] - 1);
  r.Year = static_cast<std::uint16_t>(e[1] + YearBase);
  r.Month = e[2];
  r.Day = e[3];
  r.Hour = low8(e[4] - 1);
  r.Min = low8(e[5] - 1);
  r.Sec = low8(e[6] - 1);
  r.Hits = static_cast<std::uint16_t>(low8(e[7] - 1) * 255 + low8(e[8] - 1));
  r.Misses = low8(e[9] - 1);
  const auto time = DayCount::encodeTime(r.Hour, r.Min, r.Sec);
  if (r.Mode > ModeSymbols || !time) return false;
  r.Time = *time;
  return true;
}

}  // namespace

std::optional<PracticeRecord> decode(const std::uint8_t* e) noexcept {
  PracticeRecord r;
  if (!Decoder().decode(e, r)) return std::nullopt;
  return r;
}

bool Decoder::decode(const std::uint8_t* e, PracticeRecord& r) noexcept {
  if (!decodeParts(e, r)) return false;
  const std::uint32_t dateBytes = std::uint32_t{e[1]} << 16 | std::uint32_t{e[2]} << 8 | e[3];
  if (dateBytes != lastDateBytes_) {
    const auto date = DayCount::encodeDate(r.Year, r.Month, r.Day);
    if (!date) return false;
    lastDate_ = *date;
    lastDateBytes_ = dateBytes;
  }
  r.Date = lastDate_;
  return true;
}

bool holdsExactly(const PracticeRecord& record) noexcept {
  // The year byte wraps outside 1900..2155; the high hit digit wraps once
  // Hits div 255 exceeds 255. Every other part of a kept record fits.
  return record.Year >= YearBase && record.Year <= YearBase + 255 && record.Hits <= MaxExactHits &&
         record.Mode <= ModeSymbols;
}

}  // namespace DataFileEntry
