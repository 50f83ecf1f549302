#include "viewer/RecordFileWatcher.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

// A record line with its line end.
constexpr qint64 FirstLineBytes = 46;

}  // namespace

RecordFileWatcher::RecordFileWatcher(QObject* parent) : QObject(parent) {
  settleTimer_.setSingleShot(true);
  partialTimer_.setSingleShot(true);
  connect(&notices_, &QFileSystemWatcher::fileChanged, this, &RecordFileWatcher::notice);
  connect(&settleTimer_, &QTimer::timeout, this, &RecordFileWatcher::examine);
  connect(&pollTimer_, &QTimer::timeout, this, [this] {
    // A replaced file is no longer watched for notices: watch the new one.
    if (!notices_.files().contains(path_) && QFileInfo(path_).isFile()) notices_.addPath(path_);
    const FileState now = stateNow();
    if (now.exists != known_.exists || now.size != known_.size || now.modified != known_.modified ||
        !(now.identity == known_.identity))
      notice();
  });
  connect(&partialTimer_, &QTimer::timeout, this, [this] {
    partialWaited_ = true;
    examine();
  });
  setTimings(timings_);
}

void RecordFileWatcher::setTimings(const Timings& timings) {
  timings_ = timings;
  settleTimer_.setInterval(timings.settle);
  partialTimer_.setInterval(timings.partialLineWait);
  pollTimer_.setInterval(timings.poll);
}

void RecordFileWatcher::watch(const QString& path, qint64 knownSize) {
  if (path != path_) {
    stop();
    path_ = path;
  } else {  // the same file after a reload: its notices stay as they are
    settleTimer_.stop();
    partialTimer_.stop();
    partialWaited_ = false;
  }
  known_ = stateNow();
  if (knownSize >= 0 && known_.exists && knownSize < known_.size) {
    known_.size = knownSize;  // appended after the load measured it: looked at below
    notice();
  }
  if (known_.exists && !notices_.files().contains(path_)) notices_.addPath(path_);
  pollTimer_.start();
}

void RecordFileWatcher::stop() {
  if (!notices_.files().isEmpty()) notices_.removePaths(notices_.files());
  settleTimer_.stop();
  pollTimer_.stop();
  partialTimer_.stop();
  partialWaited_ = false;
  path_.clear();
}

RecordFileWatcher::FileState RecordFileWatcher::stateNow() const {
  FileState state;
  const QFileInfo info(path_);
  if (!info.isFile()) return state;
  state.exists = identityOf(path_, state.identity);
  state.size = info.size();
  state.modified = info.lastModified();
  QFile file(path_);
  if (file.open(QIODevice::ReadOnly)) state.firstLine = file.read(FirstLineBytes);
  return state;
}

bool RecordFileWatcher::onlyGrew(const FileState& now) const {
  if (!known_.exists || !(now.identity == known_.identity) || now.size < known_.size) return false;
  if (now.modified < known_.modified) return false;
  // The first line of a file that only grew stays as it was, once whole.
  const qsizetype common = std::min(now.firstLine.size(), known_.firstLine.size());
  return now.firstLine.left(common) == known_.firstLine.left(common);
}

bool RecordFileWatcher::endsWithLineEnd(qint64 size) const {
  QFile file(path_);
  char last = 0;
  return size > 0 && file.open(QIODevice::ReadOnly) && file.seek(size - 1) && file.read(&last, 1) == 1 && last == '\n';
}

void RecordFileWatcher::notice() {
  if (watching()) settleTimer_.start();
}

void RecordFileWatcher::examine() {
  if (!watching()) return;
  const FileState now = stateNow();
  if (!now.exists) return;  // gone for the moment: perhaps being replaced
  if (!onlyGrew(now)) {
    known_ = now;
    partialTimer_.stop();
    partialWaited_ = false;
    Q_EMIT replaced();
    return;
  }
  if (now.size == known_.size) {
    known_.modified = now.modified;
    return;
  }
  if (!endsWithLineEnd(now.size) && !partialWaited_) {
    if (!partialTimer_.isActive()) partialTimer_.start();
    return;
  }
  const bool waited = partialWaited_;
  known_ = now;
  partialTimer_.stop();
  partialWaited_ = false;
  Q_EMIT grown(waited);
}
