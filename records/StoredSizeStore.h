#pragma once

#include <QString>

#include <cstdint>

// Where the loader keeps, per record file, the size in bytes the record file
// had when its compressed data file was last completed (0: no data file is
// trusted, the next load is a full load). The programs keep them in the
// settings file's section "FileSize" (SettingsFile); the loader knows only
// this.
class StoredSizeStore {
 public:
  // A record file as the user named it and as the file system resolves it
  // (absolute, links resolved).
  struct RecordFile {
    QString canonicalPath;
    QString givenPath;
  };
  struct Stored {
    std::int64_t size = 0;
    bool rewrite = false;  // found under an old name: write it back under the file's own at once
  };

  virtual ~StoredSizeStore() = default;

  virtual Stored readStoredSize(const RecordFile& file) const = 0;
  // False when the store cannot be written; storedSizeFailure() then says why.
  virtual bool writeStoredSize(const RecordFile& file, std::int64_t size) = 0;
  virtual QString storedSizeFailure() const = 0;
};
