#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <cstdint>

#include "platform/RegularFile.h"
#include "records/PracticeRecord.h"
#include "records/StoreArray.h"

class LoadFeedback;
class ProgressCounter;
class StoreFiller;

// The compressed data file (".hok") as one load uses it: opened and locked,
// its entries decoded into the store, written whole or appended to, and
// synced to the disk. A write that fails says so (LoaderMessages::cannotWrite)
// and returns false. Many entries are decoded or written in two halves, the
// second on a second thread; the rule for "many" is the loader's
// (RecordLoader::setSecondThreadFrom, in bytes of record file).
class DataFile {
 public:
  // How long the lock is waited for. Kept by the loader from load to load: a
  // wait that ran out is not waited again by the next try.
  struct LockWait {
    std::chrono::milliseconds wait{10000};
    bool ranOut = false;
  };

  DataFile(QString path, LoadFeedback& feedback, std::int64_t secondThreadFrom);

  const QString& path() const { return path_; }
  // Whether the path leads to `file`: the same path, a link to it or a second
  // name of the same file.
  bool leadsTo(const FileIdentity& file) const;

  // Opens (or creates) the data file and takes the lock under which the data
  // file and the stored size are read and changed. False when the load must do
  // without a cache: it cannot be opened, no lock is had, or the path has
  // come to lead to `recordFile` meanwhile. A file that may be read but not
  // written is opened for reading (writable() false, writeProblem() says why).
  bool openAndLock(RegularFile::Access access, const FileIdentity& recordFile, LockWait& wait);
  // Opens an existing data file for reading and waits for its lock, so that
  // no load goes on meanwhile; nothing when there is none or the wait runs out.
  void lockIfThere(LockWait& wait);

  bool locked() const { return locked_; }  // open and locked by openAndLock
  bool writable() const { return writable_; }
  const QString& writeProblem() const { return writeProblem_; }
  bool created() const { return file_.created(); }
  std::int64_t size() const { return file_.size(); }
  RegularFile& file() { return file_; }

  // Decodes the first `entries` entries into the store's spare room, moving
  // the loading window's bar; false at a damaged entry or a short read. When
  // the store could not be reserved for every entry, they are decoded a block
  // at a time into a store that grows only as far as they prove sound, and
  // never beyond the entries there are.
  bool decode(std::int64_t entries, StoreFiller& store);
  // Writes the entries of `runs` over the old ones and cuts the file after
  // them (blocks the file had are not given up only to be taken again), then
  // syncs it.
  bool write(const StoreArray<PracticeRecord>& runs, ProgressCounter& progress);
  // Appends encoded entries at the end.
  bool append(const QByteArray& entries);
  // The entries reach the disk before this returns; a data file just created
  // has its folder synced too.
  bool sync();

 private:
  struct Halves {
    bool ok = true;           // both halves went well
    std::int64_t second = 0;  // entries of the second half
  };
  // Where the second of two halves begins: `entries` when they are too few
  // for a second thread.
  std::int64_t firstHalfOf(std::int64_t entries) const;
  template <class Work>
  Halves inTwoHalves(std::int64_t entries, ProgressCounter& progress, Work work) const;

  bool lock(LockWait& wait);
  int writeEntries(const StoreArray<PracticeRecord>& runs, std::int64_t first, std::int64_t last,
                   ProgressCounter* progress);
  bool failed();  // shows the file's last error

  const QString path_;
  LoadFeedback& feedback_;
  const std::int64_t secondThreadFrom_;
  RegularFile file_;
  bool locked_ = false;
  bool writable_ = false;
  QString writeProblem_;
};
