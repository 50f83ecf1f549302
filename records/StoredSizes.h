#pragma once

#include <QString>

#include <cstdint>

class SettingsFile;

// The settings file's section "FileSize": for each record file, the size in
// bytes the file had when its compressed data file was last completed (0 or
// missing: no data file is trusted).
//
// A record file is keyed by its canonical path (absolute, links resolved),
// matched exactly: file names differ by case here, and one file reached through
// a linked folder or a relative path keeps one key. A path that cannot be a key
// as it stands (an "=", a line break, a blank at its end) is written as "%"
// followed by the path with "%", "=", CR, LF, tab and blank as %XX; a canonical
// path starts with "/", so the two forms never meet.
//
// Earlier versions keyed a file by its path as given. Such a key of the same
// absolute spelling is still read when the canonical key is missing, and is
// removed once the canonical key is written. When both are there and disagree,
// one of them is wrong and the stored size reads as 0, so the next load rebuilds
// the data file.
class StoredSizes {
 public:
  // `canonicalPath` as QFileInfo::canonicalFilePath() gives it; `givenPath` the
  // path the file was opened by (only an absolute one is looked up as an old key).
  StoredSizes(SettingsFile& settings, QString canonicalPath, const QString& givenPath);

  std::int64_t read();
  // After read(): the size came from an old key (or two keys disagreed), and
  // should be written under the canonical key at once.
  bool needsRewrite() const { return needsRewrite_; }
  // False when the settings file cannot be written.
  bool write(std::int64_t size);

  static QString keyFor(const QString& canonicalPath);

 private:
  SettingsFile& settings_;
  QString key_;
  QString oldKey_;  // empty when there is none to look for
  bool needsRewrite_ = false;
};
