#pragma once

#include <QIODevice>

#include <cstdio>

// A C stream (the report tool's standard output) as a device for the exports:
// each write goes to the stream as it comes. The first failure, of a write or
// of the flush at the end, is kept with its errno; later writes fail at once.
class StdioDevice : public QIODevice {
 public:
  explicit StdioDevice(std::FILE* stream);

  bool isSequential() const override { return true; }

  // Hands what the stream holds to the system; false when it or any write
  // before it failed.
  bool flushStream();
  // The errno of the first failure, 0 while none.
  int failure() const { return failure_; }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override;

 private:
  void fail();

  std::FILE* stream_;
  int failure_ = 0;
};
