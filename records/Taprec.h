#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/IntegerText.h"
#include "records/PracticeRecord.h"

// Byte positions (1-based, inclusive) of the fields of a TAPPER record line:
// "A 1998/03/15  21:05:33  HIT =  85  MISS=   3" followed by CR LF.
// Bytes between the fields are separators and labels and are not read.
namespace RecordLineLayout {
inline constexpr int LineBytes = 44;    // fields and labels
inline constexpr int LineWithEnd = 46;  // plus CR LF
struct Field {
  int first;
  int width;
};
inline constexpr Field Year{3, 4};
inline constexpr Field Month{8, 2};
inline constexpr Field Day{11, 2};
inline constexpr Field Hour{15, 2};
inline constexpr Field Min{18, 2};
inline constexpr Field Sec{21, 2};
inline constexpr Field Hits{31, 3};
inline constexpr Field Misses{42, 3};
}  // namespace RecordLineLayout

// Parses one record line into `record`. The outcome is record.Mode: ModeFailed
// (4) when the line did not parse. The record is not reset first: a first byte
// that is no mode letter keeps the mode the record had, and the fields stored
// before a failure keep their new values while the later ones keep the old.
// Never throws. The usual line takes ParseUsualRecordLine, any other
// ParseRecordLineByFields; both give the same record.
void ParseRecordLine(std::string_view line, PracticeRecord& record) noexcept;

// The usual line, as TAPPER writes it: a mode letter, every label and
// separator in place, date and time in digits and a valid date and time, hits
// and misses in digits after leading blanks. Reads exactly the first 44 bytes
// at `line`. When they are such a line, fills every field of `record` as
// ParseRecordLineByFields would and returns true; otherwise returns false and
// leaves `record` as it was.
bool ParseUsualRecordLine(const char* line, PracticeRecord& record) noexcept;

// Parses the usual lines at the front of `text`, each followed by CR LF, into
// `records` for as long as they come and there is room: how many it parsed.
// Each record is the one ParseUsualRecordLine gives.
std::size_t ParseUsualRecordLines(std::string_view text, PracticeRecord* records, std::size_t room) noexcept;

// The general parser, field by field: any number form convertFieldNumber
// takes, lines of any length, lines without a mode letter.
void ParseRecordLineByFields(std::string_view line, PracticeRecord& record) noexcept;
