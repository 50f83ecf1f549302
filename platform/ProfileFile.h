#pragma once

#include <QString>

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

#include "platform/ProfileText.h"

// A settings file in the Windows private-profile ("INI") format, read and
// written one value at a time. Nothing is cached: every read reads the file and
// every write rewrites it, atomically (a temporary file in the same folder, then
// a rename), keeping every other line byte for byte.
//
// - "[Section]" lines open sections; "key=value" lines follow. Section and key
//   names match without regard to case (keys may be asked to match exactly);
//   the first match wins.
// - Values are trimmed of surrounding blanks; a value in matching quotes loses
//   them. At most 1023 bytes of a value are used.
// - Encoding: Shift-JIS (code page 932), or UTF-8 when the file starts with a
//   UTF-8 byte-order mark. A value that code page 932 cannot hold turns the file
//   into UTF-8 with a byte-order mark instead of losing the value.
// - Only a regular file of at most kMaxFileBytes is read: anything else (a
//   FIFO, a device, a folder) reads as a missing file and is never written, so
//   no read blocks or runs without end.
class ProfileFile {
 public:
  using KeyMatch = ProfileText::KeyMatch;

  // No settings file is this large; a larger file is not read.
  static constexpr qint64 kMaxFileBytes = 16 << 20;

  explicit ProfileFile(QString path);

  const QString& path() const { return path_; }

  // The value, or `fallback` when the file, the section or the key is missing.
  QString readString(const QString& section, const QString& key, const QString& fallback) const;
  // The value, or nothing when the file, the section or the key is missing.
  std::optional<QString> readValue(const QString& section, const QString& key, KeyMatch match) const;

  // Creates the file, its folder and the section as needed. Returns false when
  // the file cannot be written; errorString() then says why.
  bool writeString(const QString& section, const QString& key, const QString& value,
                   KeyMatch match = KeyMatch::AnyCase);
  // Removes the key if it is there; false only when the file cannot be written.
  bool removeKey(const QString& section, const QString& key, KeyMatch match = KeyMatch::AnyCase);

  QString errorString() const { return error_; }

  // Writes between beginBatch() and commitBatch() are kept in memory (reads
  // see them) and reach the file together: one lock, one temporary copy, one
  // sync, one rename, the file as the same writes one at a time would leave
  // it. A write refused meanwhile (a name no file can hold) returns false at
  // once and is left out. Batches may nest: the outermost commit writes.
  // commitBatch() returns false when the file cannot be written.
  void beginBatch() { ++batchDepth_; }
  bool commitBatch();

  // How long a write waits for another writer of the file to finish (5 s).
  // A write that waited so long in vain fails and changes nothing.
  void setLockWait(std::chrono::milliseconds wait) { lockWait_ = wait; }

 private:
  using Edit = std::function<bool(ProfileText&)>;

  template <class Change>
  bool change(Change&& apply);
  // Applies the edit now, or keeps it for the batch's commit.
  bool edit(Edit apply);
  void removeStaleTemporaries();

  QString path_;
  QString error_;
  bool staleTemporariesRemoved_ = false;
  int batchDepth_ = 0;
  std::vector<Edit> batch_;
  std::chrono::milliseconds lockWait_{5000};
};
