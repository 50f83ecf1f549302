#include "viewer/ExportOutput.h"

#include <QIODevice>

#include <algorithm>
#include <charconv>

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

void ExportOutput::digits(int value, int width) {
  if (width == 2 && value >= 0 && value < 100) {  // the months, days and clock times of every run
    const char pair[2] = {static_cast<char>('0' + value / 10), static_cast<char>('0' + value % 10)};
    return put(QByteArrayView(pair, 2));
  }
  char text[16];
  const long long magnitude = value < 0 ? -static_cast<long long>(value) : value;
  const auto end = std::to_chars(text, text + sizeof text, magnitude).ptr;
  if (value < 0) put('-');
  for (auto length = end - text; length < width; ++length) put('0');
  put(QByteArrayView(text, end - text));
}

void ExportOutput::isoDate(const DayCount::CivilDate& date) {
  digits(date.year, 4);
  put('-');
  digits(date.month, 2);
  put('-');
  digits(date.day, 2);
}

void ExportOutput::clockTime(const DayCount::ClockTime& time) {
  digits(time.hour, 2);
  put(':');
  digits(time.min, 2);
  put(':');
  digits(time.sec, 2);
}

bool ExportOutput::flush() {
  if (!failed_ && used_ > 0) failed_ = device_.write(buffer_.get(), used_) != used_;
  used_ = 0;
  return !failed_;
}
