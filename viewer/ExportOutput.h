#pragma once

#include <QByteArrayView>

#include <algorithm>
#include <cstring>
#include <memory>

#include "analysis/TextFormat.h"
#include "records/DayCount.h"

class QIODevice;

// The bytes of an export on their way to a device (a file being saved,
// standard output): gathered in a buffer of 64 KiB that is written whenever it
// fills, so that an export of any size holds no more than that in memory.
// After the first failed write the device is given nothing more; the bytes
// that follow are dropped and the writers can stop early.
class ExportOutput {
 public:
  explicit ExportOutput(QIODevice& device);
  ~ExportOutput();
  ExportOutput(const ExportOutput&) = delete;
  ExportOutput& operator=(const ExportOutput&) = delete;

  void put(char c) {
    if (used_ == Capacity) flush();
    buffer_[used_++] = c;
  }
  void put(QByteArrayView bytes) {
    if (bytes.isEmpty()) return;  // an empty view may hold no pointer at all
    if (bytes.size() > Capacity - used_) return putAcross(bytes);
    std::memcpy(buffer_.get() + used_, bytes.data(), static_cast<std::size_t>(bytes.size()));
    used_ += bytes.size();
  }
  void spaces(int count);
  void number(long long value);
  // Right-aligned in `width` characters with blanks, widening for a longer one.
  void number(long long value, int width) { rightAligned(TextFormat::NumberText(value), width); }
  // TextFormat::fixed, right-aligned in `width` characters.
  void fixed(double value, int decimals, int width = 0) { rightAligned(TextFormat::FixedText(value, decimals), width); }
  // "yyyy-mm-dd" and "hh:nn:ss", as the views write them (TextFormat).
  void isoDate(const DayCount::CivilDate& date);
  void clockTime(const DayCount::ClockTime& time);

  // A line written in place, for the exports of millions of lines: room for
  // `count` bytes (at most 32 KiB) at the end of the buffer, then the end of
  // what was written there.
  char* reserve(qsizetype count) { return room(count); }
  void wrote(char* end) { used_ = end - buffer_.get(); }

  // Writes what is gathered; false once a write has failed.
  bool flush();
  bool failed() const { return failed_; }

 private:
  static constexpr qsizetype Capacity = 64 * 1024;

  // Room for `count` more bytes at the end of the buffer, flushed first when it lacks it.
  char* room(qsizetype count) {
    if (Capacity - used_ < count) flush();
    return buffer_.get() + used_;
  }
  // A TextFormat::FixedText or NumberText right-aligned in `width` with blanks.
  template <class Text>
  void rightAligned(const Text& text, int width) {
    if (width > Capacity / 2) {
      spaces(width - text.length());
      width = 0;
    }
    char* at = room(std::max(width, TextFormat::RightAlignedSlack) + text.length());
    wrote(TextFormat::writeRightAligned(at, text, width));
  }

  void putAcross(QByteArrayView bytes);  // through one or more flushes

  QIODevice& device_;
  std::unique_ptr<char[]> buffer_;
  qsizetype used_ = 0;
  bool failed_ = false;
};
