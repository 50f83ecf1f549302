#include "records/StoreFiller.h"

#include <algorithm>
#include <new>
#include <stdexcept>

namespace {

// Room for the runs of a day or two of practice beyond what a load found, so
// that runs appended while the viewer is open are added without moving the
// store.
constexpr std::int64_t AppendHeadroom = 1024;

}  // namespace

void StoreFiller::start(std::int64_t capacity, std::int64_t reserved) {
  records_.clear();
  records_.RecordCapacity = capacity;
  try {
    records_.RecordStore.reserve(static_cast<std::size_t>(std::max<std::int64_t>(reserved, 0) + 1 + AppendHeadroom));
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
  inexact_ = false;
}

std::size_t StoreFiller::makeRoom() {
  StoreArray<PracticeRecord>& store = records_.RecordStore;
  if (store.capacity() - store.size() < RunsAtATime)
    store.reserve(std::max(2 * store.capacity(), store.size() + RunsAtATime));
  return RunsAtATime;
}

void StoreFiller::keepInPlace(std::size_t count) {
  StoreArray<PracticeRecord>& store = records_.RecordStore;
  const PracticeRecord* runs = store.spare();
  for (std::size_t i = 0; i < count; ++i) countIn(runs[i]);
  store.commit(count);
}

void StoreFiller::finishReferences() {
  StoreArray<PracticeRecord>& store = records_.RecordStore;
  StoreArray<const PracticeRecord*>& references = records_.AllRecords;
  if (!references.empty() && (references.front() != store.data() || references.size() > store.size()))
    references.clear();
  references.reserve(store.size());
  const std::size_t from = references.size();
  const PracticeRecord** out = references.spare();
  for (std::size_t i = from; i < store.size(); ++i) out[i - from] = &store[i];
  references.commit(store.size() - from);
}
