#include "app/StdioDevice.h"

#include <cerrno>

#include "platform/RegularFile.h"

StdioDevice::StdioDevice(std::FILE* stream) : stream_(stream) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }

void StdioDevice::fail() {
  if (failure_ == 0) failure_ = errno != 0 ? errno : EIO;
  setErrorString(describeProblem(problemOfErrno(failure_), failure_));
}

qint64 StdioDevice::writeData(const char* data, qint64 size) {
  if (failure_ != 0) return -1;
  errno = 0;
  if (std::fwrite(data, 1, static_cast<std::size_t>(size), stream_) != static_cast<std::size_t>(size)) {
    fail();
    return -1;
  }
  return size;
}

bool StdioDevice::flushStream() {
  if (failure_ != 0) return false;
  errno = 0;
  if (std::fflush(stream_) != 0 || std::ferror(stream_)) fail();
  return failure_ == 0;
}
