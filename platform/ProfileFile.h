#pragma once

#include <QString>

// A settings file in the Windows private-profile ("INI") format, read and
// written one value at a time. Nothing is cached: every read reads the file and
// every write rewrites it, atomically (a temporary file in the same folder, then
// a rename), keeping every other line byte for byte.
//
// - "[Section]" lines open sections; "key=value" lines follow. Section and key
//   names match without regard to case; the first match wins.
// - Values are trimmed of surrounding blanks; a value in matching quotes loses
//   them. At most 1023 bytes of a value are used.
// - Encoding: Shift-JIS (code page 932), or UTF-8 when the file starts with a
//   UTF-8 byte-order mark. A value that code page 932 cannot hold turns the file
//   into UTF-8 with a byte-order mark instead of losing the value.
class ProfileFile {
 public:
  explicit ProfileFile(QString path);

  const QString& path() const { return path_; }

  // The value, or `fallback` when the file, the section or the key is missing.
  QString readString(const QString& section, const QString& key, const QString& fallback) const;

  // Creates the file, its folder and the section as needed. Returns false when
  // the file cannot be written; errorString() then says why.
  bool writeString(const QString& section, const QString& key, const QString& value);

  QString errorString() const { return error_; }

 private:
  QString path_;
  QString error_;
};
