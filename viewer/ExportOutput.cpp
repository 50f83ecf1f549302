#include "viewer/ExportOutput.h"

#include <QIODevice>

#include <algorithm>
#include <charconv>

#include "analysis/TextFormat.h"

ExportOutput::ExportOutput(QIODevice& device) : device_(device), buffer_(new char[Capacity]) {}

ExportOutput::~ExportOutput() = default;

void ExportOutput::putAcross(QByteArrayView bytes) {
  const char* data = bytes.data();
  qsizetype left = bytes.size();
  while (left > 0) {
    if (used_ == Capacity) flush();
    const qsizetype taken = std::min(left, Capacity - used_);
    std::memcpy(buffer_.get() + used_, data, static_cast<std::size_t>(taken));
    used_ += taken;
    data += taken;
    left -= taken;
  }
}

// Blanks in runs of a size the compiler knows, a few moves each (a JSON
// export indents every one of its millions of lines); the end of the last run
// is left to what follows.
void ExportOutput::spaces(int count) {
  constexpr int Run = 64;
  for (; count > 0; count -= Run) {
    char* at = room(Run);
    std::memset(at, ' ', Run);
    used_ += std::min(count, Run);
  }
}

// Numbers are written in place, not through a copy: an export writes millions of them.
void ExportOutput::number(long long value) {
  char* at = room(24);
  used_ += std::to_chars(at, at + 24, value).ptr - at;
}

void ExportOutput::isoDate(const DayCount::CivilDate& date) {
  char* at = room(TextFormat::DateTextCapacity);
  used_ += TextFormat::writeDate(at, date, '-') - at;
}

void ExportOutput::clockTime(const DayCount::ClockTime& time) {
  char* at = room(TextFormat::DateTextCapacity);
  used_ += TextFormat::writeClockTime(at, time) - at;
}

bool ExportOutput::flush() {
  if (!failed_ && used_ > 0) failed_ = device_.write(buffer_.get(), used_) != used_;
  used_ = 0;
  return !failed_;
}
