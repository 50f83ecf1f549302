#include "records/DataFileCheck.h"

#include <QBuffer>
#include <QByteArray>

#include <algorithm>
#include <optional>

#include "platform/RegularFile.h"
#include "records/DataFileEntry.h"
#include "records/RecordLineReader.h"
#include "records/Taprec.h"

namespace {

constexpr std::int64_t Window = 16 * 1024;  // bytes of record file read at either end
constexpr std::int64_t ScanChunk = 64 * 1024;
constexpr char EndOfText = 0x1A;

// What a window of the record file says about the runs a full load keeps there.
struct Seen {
  enum Kind { Run, NoRun, Unknown } kind = Unknown;
  PracticeRecord run;  // for Run
};

QByteArray readRange(RegularFile& file, std::int64_t from, std::int64_t to) {
  QByteArray bytes(static_cast<qsizetype>(std::max<std::int64_t>(to - from, 0)), Qt::Uninitialized);
  const std::int64_t got = file.readAt(from, bytes.data(), bytes.size());
  bytes.resize(static_cast<qsizetype>(std::max<std::int64_t>(got, 0)));
  return bytes;
}

// Passes each run a full load keeps from `text` (whole lines, parsed one after
// another from `scratch`) to `take`, until it returns false.
template <class Take>
void forEachKeptRun(QByteArray text, PracticeRecord scratch, Take take) {
  QBuffer buffer(&text);
  buffer.open(QIODevice::ReadOnly);
  RecordLineReader reader(buffer);
  for (std::string_view line; reader.next(line);) {
    ParseRecordLine(line, scratch);
    if (scratch.Mode != ModeFailed && !take(scratch)) return;
  }
}

// The first run a full load keeps from the record file's first `end` bytes.
Seen firstKeptRun(RegularFile& file, std::int64_t end) {
  QByteArray text = readRange(file, 0, std::min(end, Window));
  bool wholeText = text.size() == end;
  if (const qsizetype eot = text.indexOf(EndOfText); eot >= 0) {
    text.truncate(eot);
    wholeText = true;
  } else if (!wholeText) {
    const qsizetype cr = text.lastIndexOf('\r');  // the last line may go on after the window
    if (cr < 0) return {};
    text.truncate(cr + 1);
  }
  Seen seen{wholeText ? Seen::NoRun : Seen::Unknown, {}};
  forEachKeptRun(text, PracticeRecord(), [&](const PracticeRecord& run) {
    seen = {Seen::Run, run};
    return false;
  });
  return seen;
}

// The last run a full load keeps from the lines that end at byte `end`. A line
// without a mode letter at the window's start takes the mode of `scratch`.
Seen lastKeptRun(RegularFile& file, std::int64_t end, const PracticeRecord& scratch) {
  const std::int64_t from = std::max<std::int64_t>(0, end - Window);
  QByteArray text = readRange(file, from, end);
  if (from > 0) {
    // The window begins within a line: its lines begin after the first line end.
    const qsizetype cr = text.indexOf('\r');
    if (cr < 0 || text.left(cr).contains(EndOfText)) return {};
    text.remove(0, cr + 1 < text.size() && text[cr + 1] == '\n' ? cr + 2 : cr + 1);
  }
  Seen seen{from == 0 ? Seen::NoRun : Seen::Unknown, {}};
  forEachKeptRun(text, from == 0 ? PracticeRecord() : scratch, [&](const PracticeRecord& run) {
    seen = {Seen::Run, run};
    return true;
  });
  return seen;
}

// A run agrees with the entry that holds it exactly; no run (the whole text
// keeps none) with no entry; and a window that tells nothing with anything.
bool agrees(const Seen& seen, const DataFileEntry::Bytes* entry) {
  switch (seen.kind) {
    case Seen::Run: return entry && DataFileEntry::holdsExactly(seen.run) && DataFileEntry::encode(seen.run) == *entry;
    case Seen::NoRun: return entry == nullptr;
    case Seen::Unknown: break;
  }
  return true;
}

// Whether the 46-byte piece that ends at `end`, parsed as a load parses the
// pieces of an appended tail, gives the run of `entry`. (A piece need not be
// a line of its own: after a last line without CR LF it joins it.)
bool lastPieceGives(RegularFile& file, std::int64_t end, PracticeRecord scratch, const DataFileEntry::Bytes& entry) {
  constexpr std::int64_t Piece = RecordLineLayout::LineWithEnd;
  if (end < Piece) return false;
  const QByteArray piece = readRange(file, end - Piece, end);
  const qsizetype nul = piece.indexOf('\0');
  ParseRecordLine(std::string_view(piece.constData(), static_cast<std::size_t>(nul >= 0 ? nul : piece.size())),
                  scratch);
  return scratch.Mode != ModeFailed && agrees({Seen::Run, scratch}, &entry);
}

// Where the first 0x1A byte before `end` is, or -1.
std::int64_t firstEndOfText(RegularFile& file, std::int64_t end) {
  for (std::int64_t at = 0; at < end; at += ScanChunk) {
    const QByteArray bytes = readRange(file, at, std::min(end, at + ScanChunk));
    if (const qsizetype eot = bytes.indexOf(EndOfText); eot >= 0) return at + eot;
    if (bytes.size() < std::min(end - at, ScanChunk)) break;
  }
  return -1;
}

}  // namespace

namespace DataFileCheck {

bool describesRecordFile(RegularFile& recordFile, RegularFile& dataFile, std::int64_t stored, std::int64_t entries) {
  if (entries < 0 || entries > mostRunsIn(stored)) return false;
  DataFileEntry::Bytes first{};
  DataFileEntry::Bytes last{};
  PracticeRecord scratch;
  if (entries > 0) {
    constexpr int Size = DataFileEntry::Size;
    if (dataFile.readAt(0, first.data(), Size) != Size ||
        dataFile.readAt((entries - 1) * Size, last.data(), Size) != Size)
      return false;
    const std::optional<PracticeRecord> lastRun = DataFileEntry::decode(last.data());
    if (!lastRun) return false;
    scratch = *lastRun;
  }
  const DataFileEntry::Bytes* firstEntry = entries > 0 ? &first : nullptr;
  const DataFileEntry::Bytes* lastEntry = entries > 0 ? &last : nullptr;
  if (!agrees(firstKeptRun(recordFile, stored), firstEntry)) return false;
  if (agrees(lastKeptRun(recordFile, stored, scratch), lastEntry)) return true;
  if (lastEntry && lastPieceGives(recordFile, stored, scratch, *lastEntry)) return true;
  // A full load's text ends at the first 0x1A: the lines after it gave no entries.
  const std::int64_t endOfText = firstEndOfText(recordFile, stored);
  return endOfText >= 0 && agrees(lastKeptRun(recordFile, endOfText, scratch), lastEntry);
}

}  // namespace DataFileCheck
