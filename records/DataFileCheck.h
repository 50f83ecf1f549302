#pragma once

#include <cstdint>

class RegularFile;

// Whether a data file (".hok") still describes its record file up to the
// stored size, judged from a few small reads of both files before a load
// trusts its entries. The rules are those of a full load: what it would keep
// from the record file's first `stored` bytes is what the data file must hold.
//
// Looked at:
// - the number of entries: no more than `stored` bytes can give (a kept line
//   has at least 42 bytes). Fewer are always possible, as lines that do not
//   parse give no entry;
// - the first entry against the first run a full load keeps from the record
//   file's first 16 KiB, or no entry when those bytes are all the text and
//   keep no run;
// - the last entry against the last run a full load keeps from the lines that
//   end at byte `stored` (the 16 KiB before it), compared as the entry would
//   hold the run; a run the data file cannot hold exactly is never in a
//   trusted data file. The 46-byte piece that ends there, read as an
//   appended tail is read, serves as well (after a last line without CR LF,
//   the tail's pieces are not lines of their own). When a 0x1A byte ended
//   the text further back, the lines before it count.
// This catches a data file cut or grown by whole entries, one written over
// with other entries at either end, an empty one beside a record file with
// runs, and a stored size moved to another line or into one.
//
// Not looked at (reading both files whole would be needed):
// - entries changed in the middle while the first and the last stay as they
//   were (the decoder still refuses entries that are no valid run), and bytes
//   of the record file changed between the two places read;
// - the mode of a last line without a mode letter, when no line before it in
//   the 16 KiB fixes the mode: it is taken to be the last entry's;
// - a window without a line end, or whose lines all fail to parse: there is
//   nothing to compare there, and only the count is checked;
// - a stored size moved by a byte or two within the last line's end (CR LF):
//   the line before it still reads the same. The tail then begins within a
//   line, does not parse, and the load asks for a rebuild.
namespace DataFileCheck {

// A kept line reaches at least the first byte of the miss field (byte 42), so
// `bytes` of record file never hold more runs than this.
inline constexpr std::int64_t MinKeptLineBytes = 42;
constexpr std::int64_t mostRunsIn(std::int64_t bytes) { return bytes / MinKeptLineBytes + 1; }

// `entries` is the data file's number of whole entries; `stored` is not
// beyond the record file's end.
bool describesRecordFile(RegularFile& recordFile, RegularFile& dataFile, std::int64_t stored, std::int64_t entries);

}  // namespace DataFileCheck
