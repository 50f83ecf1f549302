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
  for (std::size_t i = 0; i < count; ++i)
    if (!decode(entries + i * Size, records[i])) return false;
  return true;
}

}  // namespace DataFileEntry
