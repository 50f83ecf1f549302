#pragma once

#include <QString>
#include <QTemporaryDir>

#include <cstdint>

#include "records/LoadedRecords.h"

// A million runs, 250,000 per mode, made once per benchmark run: a record file
// of exactly that many lines with its data file, a second record file with
// 1,000 lines more (and a copy of the same data file), and the loaded runs.
class MillionRuns {
 public:
  static constexpr int Runs = 1'000'000;
  static constexpr int AppendedRuns = 1'000;

  static MillionRuns& instance();

  QString recordPath() const { return dir_.filePath(QStringLiteral("million.ｷﾛｸ")); }
  QString appendedPath() const { return dir_.filePath(QStringLiteral("appended.ｷﾛｸ")); }
  QString settingsPath() const { return dir_.filePath(QStringLiteral("hoko32.ini")); }
  // A settings file of its own for the report tool's benchmarks.
  QString reportSettingsPath() const { return dir_.filePath(QStringLiteral("report.ini")); }
  qint64 dataBytes() const { return dataBytes_; }
  const LoadedRecords& loaded() const { return loaded_; }

 private:
  MillionRuns();

  QTemporaryDir dir_;
  qint64 dataBytes_ = 0;
  LoadedRecords loaded_;
};

// What `wc -l` does: the LF bytes of a file, counted with memchr over 64 KiB reads.
std::int64_t countLinesWithMemchr(const QString& path);
