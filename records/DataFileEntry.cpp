#include "records/DataFileEntry.h"

#include "records/DayCount.h"

namespace DataFileEntry {

namespace {
constexpr std::uint8_t low8(int value) { return static_cast<std::uint8_t>(value & 0xFF); }
}  // namespace

void encode(const PracticeRecord& r, std::uint8_t* out) noexcept {
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

Bytes encode(const PracticeRecord& record) noexcept {
  Bytes bytes{};
  encode(record, bytes.data());
  return bytes;
}

namespace {

// Every part but Date; false for a mode byte outside 1..4 or an invalid time.
bool decodeParts(const std::uint8_t* e, PracticeRecord& r) noexcept {
  r.Mode = low8(e[ModeAt] - 1);
  r.Year = static_cast<std::uint16_t>(e[YearAt] + YearBase);
  r.Month = e[MonthAt];
  r.Day = e[DayAt];
  r.Hour = low8(e[HourAt] - 1);
  r.Min = low8(e[MinAt] - 1);
  r.Sec = low8(e[SecAt] - 1);
  r.Hits = static_cast<std::uint16_t>(low8(e[HitsHighAt] - 1) * 255 + low8(e[HitsLowAt] - 1));
  r.Misses = low8(e[MissesAt] - 1);
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
  const std::uint32_t dateBytes = std::uint32_t{e[YearAt]} << 16 | std::uint32_t{e[MonthAt]} << 8 | e[DayAt];
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
