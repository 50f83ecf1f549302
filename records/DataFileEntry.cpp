#include "records/DataFileEntry.h"

#include <algorithm>
#include <array>

namespace DataFileEntry {

Bytes encode(const PracticeRecord& record) noexcept {
  Bytes bytes{};
  encode(record, bytes.data());
  return bytes;
}

std::optional<PracticeRecord> decode(const std::uint8_t* e) noexcept {
  PracticeRecord r;
  if (!Decoder().decode(e, r)) return std::nullopt;
  return r;
}

bool Decoder::decode(const std::uint8_t* entries, std::size_t count, PracticeRecord* records) noexcept {
  // The divisions apart, so that they overlap rather than wait for one another.
  std::array<int, 64> seconds;
  for (std::size_t first = 0; first < count; first += seconds.size()) {
    const std::size_t last = std::min(count, first + seconds.size());
    for (std::size_t i = first; i < last; ++i)
      if (!decodeAllButTime(entries + i * Size, records[i], seconds[i - first])) return false;
    for (std::size_t i = first; i < last; ++i) records[i].Time = timeOfSeconds(seconds[i - first]);
  }
  return true;
}

}  // namespace DataFileEntry
