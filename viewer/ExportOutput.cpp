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

// A number's characters, right-aligned: made in `text` and copied in blocks of a
// fixed size, which the compiler writes as a few moves (a call to copy a few
// bytes took longer than the number).
void ExportOutput::putAligned(const char* text, qsizetype count, int width) {
  constexpr qsizetype Block = 32;
  const qsizetype blanks = std::max<qsizetype>(width - count, 0);
  if (blanks + count > Block) {
    spaces(static_cast<int>(blanks));
    return put(QByteArrayView(text, count));
  }
  char* at = room(2 * Block);
  std::memset(at, ' ', Block);
  std::memcpy(at + blanks, text, Block);
  used_ += blanks + count;
}

void ExportOutput::number(long long value, int width) {
  char text[32];
  putAligned(text, std::to_chars(text, text + 24, value).ptr - text, width);
}

void ExportOutput::fixed(double value, int decimals, int width) {
  char text[std::max<std::size_t>(32, TextFormat::DateTextCapacity)];
  putAligned(text, TextFormat::writeFixed(text, value, decimals) - text, width);
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
