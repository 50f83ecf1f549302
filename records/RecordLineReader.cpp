#include "records/RecordLineReader.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr std::size_t ChunkBytes = 64 * 1024;
constexpr char EndOfText = 0x1A;
}  // namespace

RecordLineReader::RecordLineReader(QIODevice& device, std::size_t keptBytes, qint64 byteLimit)
    : device_(device), keptBytes_(keptBytes), buffer_(ChunkBytes), byteLimit_(byteLimit) {}

bool RecordLineReader::refill() {
  if (readError_) return false;
  if (pos_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + pos_, end_ - pos_);
    end_ -= pos_;
    pos_ = 0;
  }
  qint64 wanted = static_cast<qint64>(buffer_.size() - end_);
  if (byteLimit_ >= 0) wanted = std::min(wanted, byteLimit_ - bytesRead_);
  const qint64 got = wanted > 0 ? device_.read(buffer_.data() + end_, wanted) : 0;
  if (got < 0) readError_ = true;
  if (got <= 0) return false;
  bytesRead_ += got;
  end_ += static_cast<std::size_t>(got);
  return true;
}

std::string_view RecordLineReader::ahead(std::size_t bytes) {
  if (finished_) return {};
  for (;;) {
    if (skipLf_ && pos_ < end_) {
      skipLf_ = false;
      if (buffer_[pos_] == '\n') ++pos_;
    }
    if (end_ - pos_ >= bytes || !refill()) break;
  }
  if (skipLf_) return {};  // nothing after the last CR
  return std::string_view(buffer_.data() + pos_, end_ - pos_);
}

bool RecordLineReader::next(std::string_view& line) {
  if (finished_) return false;
  line_.clear();
  bool sawAnything = false;
  for (;;) {
    if (pos_ == end_ && !refill()) {
      finished_ = true;
      if (!sawAnything) return false;
      line = line_;
      return true;
    }
    if (skipLf_) {
      skipLf_ = false;
      if (buffer_[pos_] == '\n') {
        ++pos_;
        continue;
      }
    }
    const char* begin = buffer_.data() + pos_;
    const std::size_t available = end_ - pos_;
    const char* cr = static_cast<const char*>(std::memchr(begin, '\r', available));
    const std::size_t segment = cr ? static_cast<std::size_t>(cr - begin) : available;
    const char* eot = static_cast<const char*>(std::memchr(begin, EndOfText, segment));
    const std::size_t taken = eot ? static_cast<std::size_t>(eot - begin) : segment;

    if (cr && !eot && line_.empty()) {
      // The whole line is in the buffer: no copy.
      line = std::string_view(begin, std::min(taken, keptBytes_));
      pos_ += taken + 1;
      skipLf_ = true;
      return true;
    }
    if (line_.size() < keptBytes_) line_.append(begin, std::min(taken, keptBytes_ - line_.size()));
    sawAnything = sawAnything || taken > 0;
    pos_ += taken;

    if (eot) {
      finished_ = true;
      endOfText_ = true;
      if (!sawAnything) return false;
      line = line_;
      return true;
    }
    if (cr) {
      ++pos_;
      skipLf_ = true;
      line = line_;
      return true;
    }
  }
}
