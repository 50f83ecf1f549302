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

void ExportOutput::number(long long value) {
  char text[24];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  put(QByteArrayView(text, end - text));
}

void ExportOutput::isoDate(const DayCount::CivilDate& date) {
  char text[TextFormat::DateTextCapacity];
  put(QByteArrayView(text, TextFormat::writeDate(text, date, '-') - text));
}

void ExportOutput::clockTime(const DayCount::ClockTime& time) {
  char text[TextFormat::DateTextCapacity];
  put(QByteArrayView(text, TextFormat::writeClockTime(text, time) - text));
}

bool ExportOutput::flush() {
  if (!failed_ && used_ > 0) failed_ = device_.write(buffer_.get(), used_) != used_;
  used_ = 0;
  return !failed_;
}
