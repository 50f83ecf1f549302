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

void ExportOutput::spaces(int count) {
  static constexpr char Blanks[] = "                                                                ";
  for (; count > 0; count -= static_cast<int>(sizeof Blanks - 1))
    put(QByteArrayView(Blanks, std::min<qsizetype>(count, sizeof Blanks - 1)));
}

// Numbers are written in place, not through a copy: an export writes millions of them.
void ExportOutput::number(long long value) {
  char* at = room(24);
  used_ += std::to_chars(at, at + 24, value).ptr - at;
}

// Right-aligned numbers: the blanks, then the characters written in place
// (an export writes millions of them; copying a few bytes took longer than
// making them).
char* ExportOutput::blanksBefore(qsizetype count, int width) {
  constexpr qsizetype Blanks = 16;
  const qsizetype blanks = std::max<qsizetype>(width - count, 0);
  if (blanks > Blanks) {
    spaces(static_cast<int>(blanks));
    return room(count);
  }
  char* at = room(Blanks + count);
  std::memset(at, ' ', Blanks);  // a size the compiler knows: a few moves
  used_ += blanks;
  return at + blanks;
}

void ExportOutput::number(long long value, int width) {
  int digits = value < 0 ? 2 : 1;
  for (auto rest = value / 10; rest != 0; rest /= 10) ++digits;
  char* at = blanksBefore(digits, width);
  used_ += std::to_chars(at, at + digits, value).ptr - at;
}

void ExportOutput::fixed(double value, int decimals, int width) {
  // Without a width (a CSV field) its length is not needed.
  char* at =
      width > 0 ? blanksBefore(TextFormat::fixedLength(value, decimals), width) : room(TextFormat::DateTextCapacity);
  used_ += TextFormat::writeFixed(at, value, decimals) - at;
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
