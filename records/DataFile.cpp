#include "records/DataFile.h"

#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cerrno>
#include <new>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "records/DataFileEntry.h"
#include "records/LoadFeedback.h"
#include "records/LoaderMessages.h"
#include "records/ProgressCounter.h"
#include "records/StoreFiller.h"
#include "records/Taprec.h"

using namespace std::chrono_literals;

namespace {

constexpr std::int64_t EntriesPerChunk = 26214;      // 262,140 bytes of data file read at a time
constexpr std::int64_t EntriesPerWrite = 4 * 26214;  // 1,048,560 bytes written at a time

// A load waits this long for the lock before it says that it is waiting.
constexpr std::chrono::milliseconds QuietLockWait = 200ms;

using ModeCounts = std::array<std::uint32_t, PracticeModeCount>;

// A second thread for half of the work, or none when the system cannot start
// one (a small address space, a limit on threads): the caller then does that
// half itself.
template <class Work>
std::jthread secondThread(Work&& work) {
  try {
    return std::jthread(std::forward<Work>(work));
  } catch (const std::system_error&) {
    return {};
  }
}

// Entries [from, to) into runs[from, to) and, unless `references` is null, a
// reference to each into references[from, to), counted by mode into `counts`.
// Reads at offsets, so two threads share the file.
bool decodeRange(int fd, std::int64_t from, std::int64_t to, PracticeRecord* runs, const PracticeRecord** references,
                 ModeCounts& counts, ProgressCounter* progress) {
  std::vector<std::uint8_t> chunk;
  try {
    chunk.resize(static_cast<std::size_t>(EntriesPerChunk * DataFileEntry::Size));
  } catch (const std::bad_alloc&) {
    return false;
  }
  DataFileEntry::Decoder decoder;
  for (std::int64_t index = from; index < to;) {
    const std::int64_t count = std::min(EntriesPerChunk, to - index);
    if (readFullyAt(fd, index * DataFileEntry::Size, chunk.data(), count * DataFileEntry::Size) !=
        count * DataFileEntry::Size)
      return false;
    if (!decoder.decode(chunk.data(), static_cast<std::size_t>(count), runs + index)) return false;
    for (std::int64_t i = index; i < index + count; ++i) ++counts[runs[i].Mode];
    if (references)
      for (std::int64_t i = index; i < index + count; ++i) references[i] = runs + i;
    if (progress) progress->count(count);
    index += count;
  }
  return true;
}

}  // namespace

DataFile::DataFile(QString path, LoadFeedback& feedback, std::int64_t secondThreadFrom)
    : path_(std::move(path)), feedback_(feedback), secondThreadFrom_(secondThreadFrom) {}

bool DataFile::leadsTo(const FileIdentity& file) const {
  FileIdentity data;
  return identityOf(path_, data) && data == file;
}

bool DataFile::openAndLock(RegularFile::Access access, const FileIdentity& recordFile, LockWait& wait) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    writable_ = file_.open(path_, access);
    if (!writable_) {
      const FileProblem problem = file_.problem();
      const int error = file_.error();
      // A data file that may be read but not written still serves a load
      // that has nothing to append.
      writeProblem_ = describeProblem(problem, error);
      if (problem != FileProblem::NoPermission || !file_.open(path_, RegularFile::Access::Read)) return false;
    }
    if (!lock(wait)) return false;
    // The file may have been replaced while this load waited: lock the one
    // that is there now.
    FileIdentity current;
    if (identityOf(path_, current) && current == file_.identity()) {
      if (current == recordFile) return false;  // made a link to the record file meanwhile
      locked_ = true;
      return true;
    }
    file_.close();
  }
  return false;
}

void DataFile::lockIfThere(LockWait& wait) {
  // Opened for writing, as the exclusive lock asks; for reading only, it
  // gets a shared lock, which still waits for a load that writes.
  if (file_.open(path_, RegularFile::Access::ReadWrite) || file_.open(path_, RegularFile::Access::Read)) lock(wait);
}

bool DataFile::lock(LockWait& lockWait) {
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  // One wait per load or reload: right after a wait that ran out, one try.
  const auto wait = std::exchange(lockWait.ranOut, false) ? 0ms : lockWait.wait;
  auto pause = 2ms;
  bool told = false;
  for (;;) {
    const bool locked = file_.tryLockExclusive();
    if (locked || file_.error() != EWOULDBLOCK) {
      // Locked, or no lock can be had on the file at all (the load goes on without it).
      if (told) feedback_.setCaption(LoaderMessages::readingCaption());
      return locked;
    }
    const auto waited = Clock::now() - start;
    if (waited >= wait) break;
    if (!told && waited >= QuietLockWait) {
      feedback_.setCaption(LoaderMessages::waitingCaption());
      feedback_.startProgress(0, 1);
      told = true;
    }
    if (!feedback_.keepWaiting()) break;
    std::this_thread::sleep_for(std::min<Clock::duration>(pause, wait - waited));
    pause = std::min(pause * 2, 50ms);
  }
  lockWait.ranOut = wait > 0ms;
  if (told) feedback_.setCaption(LoaderMessages::readingCaption());
  return false;
}

std::int64_t DataFile::firstHalfOf(std::int64_t entries) const {
  if (secondThreadFrom_ > 0 && entries >= secondThreadFrom_ / RecordLineLayout::LineWithEnd) return entries / 2;
  return entries;
}

// Does `work(from, to, progress)` over the entries [0, entries): many of them
// in two halves, the second on a second thread with no progress of its own
// (or here after the first, when no thread can be had and the first went
// well).
template <class Work>
DataFile::Halves DataFile::inTwoHalves(std::int64_t entries, ProgressCounter& progress, Work work) const {
  const std::int64_t half = firstHalfOf(entries);
  bool secondOk = true;
  const auto secondHalf = [&] { secondOk = work(half, entries, nullptr); };
  std::jthread thread;
  if (half < entries) thread = secondThread(secondHalf);
  const bool firstOk = work(0, half, &progress);
  if (thread.joinable())
    thread.join();
  else if (half < entries && firstOk)
    secondHalf();
  return {firstOk && secondOk, entries - half};
}

bool DataFile::decode(std::int64_t entries, StoreFiller& filler) {
  ProgressCounter progress(feedback_, entries, ProgressCounter::ReadStep);
  LoadedRecords& records = filler.records();
  StoreArray<PracticeRecord>& store = records.RecordStore;
  StoreArray<const PracticeRecord*>& references = records.AllRecords;
  const int fd = file_.handle();
  ModeCounts first{};
  ModeCounts second{};
  if (static_cast<std::int64_t>(store.capacity()) < entries) {
    for (std::int64_t index = 0; index < entries; index += EntriesPerChunk) {
      const std::int64_t to = std::min(entries, index + EntriesPerChunk);
      if (static_cast<std::int64_t>(store.capacity()) < to)
        store.reserve(
            static_cast<std::size_t>(std::min(entries, std::max(2 * static_cast<std::int64_t>(store.capacity()), to))));
      // The store may still move: StoreFiller::finishReferences() takes the references.
      if (!decodeRange(fd, index, to, store.data(), nullptr, first, &progress)) return false;
      store.commit(static_cast<std::size_t>(to - index));
    }
  } else {
    references.clear();
    references.reserve(store.capacity());
    const Halves halves =
        inTwoHalves(entries, progress, [&](std::int64_t from, std::int64_t to, ProgressCounter* counter) {
          return decodeRange(fd, from, to, store.data(), references.data(), counter ? first : second, counter);
        });
    if (!halves.ok) return false;
    progress.count(halves.second);
    store.commit(static_cast<std::size_t>(entries));
    references.commit(static_cast<std::size_t>(entries));
  }
  for (int m = 0; m < PracticeModeCount; ++m) records.ModeCounts[m] += first[m] + second[m];
  return true;
}

bool DataFile::write(const StoreArray<PracticeRecord>& runs, ProgressCounter& progress) {
  const auto entries = static_cast<std::int64_t>(runs.size());
  int firstError = 0;
  int secondError = 0;
  const Halves halves =
      inTwoHalves(entries, progress, [&](std::int64_t from, std::int64_t to, ProgressCounter* counter) {
        int& error = counter ? firstError : secondError;
        error = writeEntries(runs, from, to, counter);
        return error == 0;
      });
  progress.countAhead(halves.second);
  if (!halves.ok) {
    const int error = firstError != 0 ? firstError : secondError;
    feedback_.showMessage(LoaderMessages::cannotWrite(path_, describeProblem(problemOfErrno(error), error)));
    return false;
  }
  if (!file_.resize(entries * DataFileEntry::Size)) return failed();
  return sync();
}

// Encodes and writes the entries of runs [first, last) where they belong,
// starting each block's way to the disk at once, so that the closing sync has
// little left to wait for: 0, or the errno of a failed write. Safe beside a
// second call on another range.
int DataFile::writeEntries(const StoreArray<PracticeRecord>& runs, std::int64_t first, std::int64_t last,
                           ProgressCounter* progress) {
  std::vector<std::uint8_t> chunk;
  try {
    chunk.resize(static_cast<std::size_t>(EntriesPerWrite * DataFileEntry::Size));
  } catch (const std::bad_alloc&) {
    return ENOMEM;
  }
  const int fd = file_.handle();
  for (std::int64_t at = first; at < last; at += EntriesPerWrite) {
    const std::int64_t count = std::min(last - at, EntriesPerWrite);
    if (progress) progress->countAhead(count);
    std::uint8_t* out = chunk.data();
    for (std::int64_t i = at; i < at + count; ++i, out += DataFileEntry::Size)
      DataFileEntry::encode(runs[static_cast<std::size_t>(i)], out);
    const std::int64_t offset = at * DataFileEntry::Size;
    const std::int64_t bytes = count * DataFileEntry::Size;
    if (const int error = writeFullyAt(fd, offset, chunk.data(), bytes)) return error;
    startWriteBackAt(fd, offset, bytes);
  }
  return 0;
}

bool DataFile::append(const QByteArray& entries) {
  if (file_.seekToEnd() && file_.writeAll(entries.constData(), entries.size())) return true;
  return failed();
}

bool DataFile::sync() {
  if (!file_.sync()) return failed();
  if (file_.created()) syncFolder(QFileInfo(path_).absolutePath());
  return true;
}

bool DataFile::failed() {
  feedback_.showMessage(LoaderMessages::cannotWrite(path_, describeProblem(file_.problem(), file_.error())));
  return false;
}
