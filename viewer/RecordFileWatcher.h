#pragma once

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>

#include "platform/RegularFile.h"

// Watches the record file while the viewer is open and says when it is time
// to load it again: the file system's change notices, and a slow poll of the
// file's size, time and identity for file systems that send none (network
// shares, a drive mapped by Wine) or a notice watch dropped because the file
// was replaced.
//
// - Changes that follow each other within the settle time give one signal.
// - grown(): the file is longer and ends with a line end. A tail still being
//   written (no line end yet) is waited for until the next change, and taken
//   as it is once it has stood for the partial-line wait.
// - replaced(): the file became shorter, another file took its name, or it
//   cannot have only grown: its first line or its time is not what it was
//   (a file cut and written anew between two looks).
class RecordFileWatcher : public QObject {
  Q_OBJECT
 public:
  struct Timings {
    std::chrono::milliseconds settle{300};
    std::chrono::milliseconds partialLineWait{5000};
    std::chrono::milliseconds poll{2000};
  };

  explicit RecordFileWatcher(QObject* parent = nullptr);

  // Watches the file from `knownSize` bytes on (the size its runs were loaded
  // up to; -1: its size now). A changed file is looked at at once.
  void watch(const QString& path, qint64 knownSize = -1);
  void stop();
  bool watching() const { return !path_.isEmpty(); }
  void setTimings(const Timings& timings);

 Q_SIGNALS:
  void grown(bool partialLineWaitedFor);  // true: the last line may be unfinished
  void replaced();

 private:
  struct FileState {
    bool exists = false;
    qint64 size = 0;
    QDateTime modified;
    FileIdentity identity{};
    QByteArray firstLine;  // the first bytes, as many as a line takes
  };
  FileState stateNow() const;
  bool endsWithLineEnd(qint64 size) const;
  bool onlyGrew(const FileState& now) const;  // than what was last reported
  void notice();                              // something may have changed: look again once it settles
  void examine();                             // the settled file against what was last reported

  Timings timings_;
  QString path_;
  FileState known_;
  QFileSystemWatcher notices_;
  QTimer settleTimer_;
  QTimer pollTimer_;
  QTimer partialTimer_;
  bool partialWaited_ = false;
};
