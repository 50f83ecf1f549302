#pragma once

#include <QtGlobal>

#include <array>
#include <cstdint>
#include <stop_token>
#include <thread>

#include "records/PracticeRecord.h"

// Parses the usual lines of the second half of a record file on a thread of
// its own while the full load reads the first half. TAPPER writes every line
// in the same 46 bytes, so the line starts of the second half are known
// without reading the first: the parser starts at a multiple of 46 and takes
// usual lines (each with its CR LF) until the first line that is not one, or
// the end. The load uses the runs only when its own reading of the first half
// ends exactly where the parser started (every line before was 46 bytes, no
// 0x1A ended the text); otherwise they are dropped and the load reads on
// itself. What the parser took never needs the general parser, so no message
// and no line number is lost.
//
// The file is read at offsets (readFullyAt) on the load's descriptor, up to
// `end` (the size the load began with). The runs go straight to where the load keeps them
// when the first half has as many: `runs`, room for `room` of them, and a
// reference to each at the same index of `references`.
class AheadLineParser {
 public:
  struct Result {
    std::size_t runs = 0;  // how many were written
    std::array<std::uint32_t, PracticeModeCount> modeCounts{};
    bool exact = true;    // every run holds exactly in a data-file entry
    qint64 end = 0;       // the offset after the last line taken
    bool failed = false;  // a read error: the runs are of no use
  };

  AheadLineParser(int fileDescriptor, qint64 from, qint64 end, PracticeRecord* runs, const PracticeRecord** references,
                  std::size_t room);
  ~AheadLineParser() = default;  // stops the thread and waits for it
  AheadLineParser(const AheadLineParser&) = delete;
  AheadLineParser& operator=(const AheadLineParser&) = delete;

  qint64 from() const { return from_; }

  // Waits for the parser to finish; then its result.
  Result& finish();
  // Stops the parser early and waits for it: its runs are not wanted.
  void cancel();

 private:
  void parse(const std::stop_token& stop);

  const int fd_;
  const qint64 from_;
  const qint64 end_;
  PracticeRecord* const runs_;
  const PracticeRecord** const references_;
  const std::size_t room_;
  Result result_;
  std::jthread thread_;
};
