#include "records/AheadLineParser.h"

#include <algorithm>
#include <cerrno>
#include <new>
#include <string_view>
#include <vector>

#include "platform/RegularFile.h"
#include "records/DataFileEntry.h"
#include "records/Taprec.h"

namespace {

constexpr qint64 LinesPerRead = 5698;  // about 256 KiB a read, whole lines

}  // namespace

AheadLineParser::AheadLineParser(int fileDescriptor, qint64 from, qint64 end, PracticeRecord* runs,
                                 const PracticeRecord** references, std::size_t room)
    : fd_(fileDescriptor),
      from_(from),
      end_(end),
      runs_(runs),
      references_(references),
      room_(room),
      thread_([this](const std::stop_token& stop) { parse(stop); }) {}

AheadLineParser::Result& AheadLineParser::finish() {
  if (thread_.joinable()) thread_.join();
  return result_;
}

void AheadLineParser::cancel() {
  thread_.request_stop();
  if (thread_.joinable()) thread_.join();
}

void AheadLineParser::parse(const std::stop_token& stop) {
  using RecordLineLayout::LineWithEnd;
  result_.end = from_;
  std::vector<char> chunk;
  try {
    chunk.resize(static_cast<std::size_t>(LinesPerRead * LineWithEnd));
  } catch (const std::bad_alloc&) {
    result_.failed = true;
    return;
  }
  qint64 at = from_;
  while (at < end_ && !stop.stop_requested()) {
    const qint64 got =
        readFullyAt(fd_, at, chunk.data(), std::min<qint64>(static_cast<qint64>(chunk.size()), end_ - at));
    if (got < 0) {
      result_.failed = true;
      return;
    }
    const std::size_t before = result_.runs;
    const std::size_t lines = ParseUsualRecordLines(std::string_view(chunk.data(), static_cast<std::size_t>(got)),
                                                    runs_ + before, room_ - before);
    for (std::size_t i = before; i < before + lines; ++i) {
      ++result_.modeCounts[runs_[i].Mode];
      result_.exact = result_.exact && DataFileEntry::holdsExactly(runs_[i]);
      references_[i] = runs_ + i;
    }
    result_.runs += lines;
    const auto taken = static_cast<qint64>(lines) * LineWithEnd;
    at += taken;
    result_.end = at;
    if (taken < got || got == 0) break;  // a line of another kind, the end, or no more room
  }
}
