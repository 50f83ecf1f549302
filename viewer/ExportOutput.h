#pragma once

#include <QByteArrayView>

#include <cstring>
#include <memory>

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
    if (bytes.size() > Capacity - used_) return putAcross(bytes);
    std::memcpy(buffer_.get() + used_, bytes.data(), static_cast<std::size_t>(bytes.size()));
    used_ += bytes.size();
  }
  void spaces(int count);
  void number(long long value);
  // Right-aligned in `width` characters with blanks, widening for a longer one.
  void number(long long value, int width);
  // TextFormat::fixed, right-aligned in `width` characters.
  void fixed(double value, int decimals, int width = 0);
  // "yyyy-mm-dd" and "hh:nn:ss", as the views write them (TextFormat).
  void isoDate(const DayCount::CivilDate& date);
  void clockTime(const DayCount::ClockTime& time);

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
  // The characters from `start` up to `end`, right-aligned in `width` with
  // blanks; `start` may be read FieldTextCapacity characters on (see
  // Field), so that a column is a few fixed-size moves.
  void rightAligned(const char* start, const char* end, int width);

  void putAcross(QByteArrayView bytes);  // through one or more flushes

  QIODevice& device_;
  std::unique_ptr<char[]> buffer_;
  qsizetype used_ = 0;
  bool failed_ = false;
};
