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

namespace {

// A column's characters, written backwards to end at end(); as many may be
// read on from where they start.
struct Field {
  char text[2 * TextFormat::FieldTextCapacity] = {};
  char* end() { return text + TextFormat::FieldTextCapacity; }
};

}  // namespace

// Right-aligned columns: blanks of a size the compiler knows, the characters
// over them copied whole (an export writes millions of them; copying a few
// bytes of a length known only at run time took longer than making them).
void ExportOutput::rightAligned(const char* start, const char* end, int width) {
  constexpr qsizetype Blanks = 16;
  constexpr auto Copied = static_cast<qsizetype>(TextFormat::FieldTextCapacity);
  const qsizetype count = end - start;
  const qsizetype blanks = std::max<qsizetype>(width - count, 0);
  if (blanks > Blanks) {
    spaces(static_cast<int>(blanks));
    return put(QByteArrayView(start, count));
  }
  char* at = room(Blanks + Copied);
  std::memset(at, ' ', Blanks);
  std::memcpy(at + blanks, start, Copied);
  used_ += blanks + count;
}

void ExportOutput::number(long long value, int width) {
  Field field;
  rightAligned(TextFormat::writeNumberBefore(field.end(), value), field.end(), width);
}

void ExportOutput::fixed(double value, int decimals, int width) {
  Field field;
  rightAligned(TextFormat::writeFixedBefore(field.end(), value, decimals), field.end(), width);
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
