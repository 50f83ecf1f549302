#pragma once

#include <QIODevice>

#include <string>
#include <string_view>
#include <vector>

// Reads a record file as text, line by line, the way the full load counts its
// lines: a line ends at a CR byte, and an LF directly after that CR belongs to
// the line end (an LF anywhere else is part of the line); a 0x1A byte ends the
// text like the end of the file. Only the first `keptBytes` of a line are
// returned (the record-line parser never reads further), so a file without CR
// bytes costs no more memory than a short line.
//
// With a byte limit, the text ends after that many bytes however much more the
// device holds: a file that grows while it is read is read up to the size it
// had when the load began.
class RecordLineReader {
 public:
  static constexpr std::size_t DefaultKeptBytes = 256;
  static constexpr qint64 NoLimit = -1;

  explicit RecordLineReader(QIODevice& device, std::size_t keptBytes = DefaultKeptBytes, qint64 byteLimit = NoLimit);

  // The next line, or false at the end of the text.
  bool next(std::string_view& line);

  // The bytes from the start of the next line on that are read already: at
  // least `bytes` of them unless the text ends sooner (then what is left;
  // never more than the reader's buffer holds). They may hold a 0x1A byte:
  // the text ends there for next(). A caller that takes whole lines ending
  // in CR LF from their front, without a 0x1A among them, passes what it took
  // to skip(); next() goes on after them. Used to parse the usual lines in
  // place.
  std::string_view ahead(std::size_t bytes);
  void skip(std::size_t bytes) { pos_ += bytes; }

  // False when the device reported a read error.
  bool ok() const { return !readError_; }

  // Bytes taken from the device so far (at most the limit).
  qint64 bytesRead() const { return bytesRead_; }
  // Bytes of the text before the next line, as far as the reader has gone
  // (right after ahead(), the offset where the next line starts).
  qint64 position() const { return bytesRead_ - static_cast<qint64>(end_ - pos_); }
  // True once a 0x1A byte has ended the text.
  bool endedAtEndOfText() const { return endOfText_; }

 private:
  // Reads more after the bytes not taken yet, which move to the buffer's
  // front; false when nothing more came.
  bool refill();

  QIODevice& device_;
  std::size_t keptBytes_;
  std::vector<char> buffer_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  std::string line_;
  bool skipLf_ = false;
  bool finished_ = false;
  bool readError_ = false;
  bool endOfText_ = false;
  qint64 byteLimit_;
  qint64 bytesRead_ = 0;
};
