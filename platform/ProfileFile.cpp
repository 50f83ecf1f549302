#include "platform/ProfileFile.h"

#include "platform/FileReplacement.h"
#include "platform/ProfileLock.h"
#include "platform/RegularFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

// The file's bytes; empty for a missing file; nothing when it exists but cannot
// be read or is no regular file of a settings file's size (then `error` says why).
std::optional<QByteArray> readBytes(const QString& path, QString* error) {
  RegularFile file;
  if (!file.open(path, RegularFile::Access::Read)) {
    if (file.problem() == FileProblem::Missing) return QByteArray();
    *error = u"Cannot read %1: %2"_s.arg(QDir::toNativeSeparators(path), describeProblem(file.problem(), file.error()));
    return std::nullopt;
  }
  // Read to the end rather than by the size, which some file systems give as 0.
  QByteArray bytes;
  constexpr qint64 Chunk = 64 * 1024;
  for (;;) {
    const qsizetype had = bytes.size();
    if (had > ProfileFile::kMaxFileBytes) {
      *error = u"Cannot read %1: larger than any settings file"_s.arg(QDir::toNativeSeparators(path));
      return std::nullopt;
    }
    bytes.resize(had + Chunk);
    const qint64 got = file.read(bytes.data() + had, Chunk);
    if (got < 0) {
      *error =
          u"Cannot read %1: %2"_s.arg(QDir::toNativeSeparators(path), describeProblem(file.problem(), file.error()));
      return std::nullopt;
    }
    bytes.resize(had + static_cast<qsizetype>(got));
    if (got < Chunk) break;
  }
  return bytes;
}

bool makeParentFolder(const QString& path, QString* error) {
  const QString folder = QFileInfo(path).absolutePath();
  if (QDir().mkpath(folder)) return true;
  *error = u"Cannot create the folder %1"_s.arg(QDir::toNativeSeparators(folder));
  return false;
}

constexpr QLatin1StringView TemporaryMark(".hoko32-tmp.");

QString systemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// Writes a temporary copy beside the target ("<name>.hoko32-tmp.<random>"),
// puts it on the disk and renames it over the target, so that the file is never
// left half written and what was written last is what a power cut leaves. A
// link is followed: the file it leads to is replaced, the link stays.
bool replaceAtomically(const QString& path, const QByteArray& bytes, QString* error) {
  QString target = path;
  if (QFileInfo(path).isSymLink()) target = QFileInfo(path).canonicalFilePath();

  QString temporary;
  int failure = EEXIST;
  for (int attempt = 0; failure == EEXIST && attempt < 8; ++attempt) {
    temporary = target + TemporaryMark + QString::number(QRandomGenerator::global()->generate64(), 36);
    failure = writeNewFileDurably(temporary, target, bytes);
  }
  if (failure == 0) {
    failure = replaceFileWith(target, temporary);
    if (failure != 0) QFile::remove(temporary);
  }
  if (failure == 0) return true;
  *error = u"Cannot write %1: %2"_s.arg(QDir::toNativeSeparators(path), systemError(failure));
  return false;
}

QString refusal(const QString& path, const QString& section, const QString& key) {
  return u"Cannot store [%1] %2 in %3: names and values cannot hold line breaks, a section name cannot hold ']' "
         u"and a key cannot hold '=' or start with '[' or ';'"_s.arg(section, key, QDir::toNativeSeparators(path));
}

// The temporary copies that a write killed before its rename leaves.
bool isTemporaryName(const QString& name, const QString& target) {
  return name.size() > target.size() + TemporaryMark.size() && name.startsWith(target) &&
         QStringView(name).sliced(target.size()).startsWith(TemporaryMark);
}

}  // namespace

ProfileFile::ProfileFile(QString path) : path_(std::move(path)) {}

QString ProfileFile::readString(const QString& section, const QString& key, const QString& fallback) const {
  return readValue(section, key, KeyMatch::AnyCase).value_or(fallback);
}

std::optional<QString> ProfileFile::readValue(const QString& section, const QString& key, KeyMatch match) const {
  QString ignored;
  const std::optional<QByteArray> bytes = readBytes(path_, &ignored);
  if (!bytes) return std::nullopt;
  ProfileText text(*bytes);
  for (const Edit& pending : batch_) pending(text);  // as the batch will leave it
  return text.readValue(section, key, match);
}

bool ProfileFile::writeString(const QString& section, const QString& key, const QString& value, KeyMatch match) {
  if (ProfileText probe; !probe.writeString(section, key, value, match)) {
    // A name or value no file can hold, whatever the file holds.
    error_ = refusal(path_, section, key);
    return false;
  }
  return edit([section, key, value, match](ProfileText& text) { return text.writeString(section, key, value, match); });
}

bool ProfileFile::removeKey(const QString& section, const QString& key, KeyMatch match) {
  return edit([section, key, match](ProfileText& text) {
    text.removeKey(section, key, match);
    return true;
  });
}

bool ProfileFile::edit(Edit apply) {
  if (batchDepth_ == 0) return change(apply);
  error_.clear();
  batch_.push_back(std::move(apply));
  return true;
}

bool ProfileFile::commitBatch() {
  if (batchDepth_ == 0 || --batchDepth_ > 0) return true;
  const std::vector<Edit> edits = std::exchange(batch_, {});
  if (edits.empty()) return true;
  return change([&edits](ProfileText& text) {
    for (const Edit& apply : edits)
      if (!apply(text)) return false;
    return true;
  });
}

template <class Change>
bool ProfileFile::change(Change&& apply) {
  error_.clear();
  removeStaleTemporaries();
  const ProfileLock lock(path_, lockWait_);
  if (lock.waitedInVain()) {
    error_ =
        u"Cannot write %1: %2"_s.arg(QDir::toNativeSeparators(path_), describeProblem(FileProblem::Other, EWOULDBLOCK));
    return false;
  }
  const FileProblem problem = inspectPath(path_);
  if (problem != FileProblem::None && problem != FileProblem::Missing) {
    // Never replace a FIFO, a device or a folder, nor write through a broken link.
    error_ = u"Cannot write %1: %2"_s.arg(QDir::toNativeSeparators(path_), describeProblem(problem, 0));
    return false;
  }
  const std::optional<QByteArray> bytes = readBytes(path_, &error_);
  if (!bytes) return false;
  ProfileText text(*bytes);
  if (!apply(text)) return false;
  const QByteArray changed = text.toBytes();
  if (changed == *bytes && problem == FileProblem::None) return true;
  return makeParentFolder(path_, &error_) && replaceAtomically(path_, changed, &error_);
}

// A write killed between creating its temporary copy and renaming it leaves the
// copy behind. Copies older than a minute belong to no write still going on.
void ProfileFile::removeStaleTemporaries() {
  if (staleTemporariesRemoved_) return;
  staleTemporariesRemoved_ = true;
  const QFileInfo target(path_);
  const QDir folder = target.absoluteDir();
  const QString name = target.fileName();
  const QDateTime oldest = QDateTime::currentDateTimeUtc().addSecs(-60);
  const QFileInfoList candidates =
      folder.entryInfoList({name + TemporaryMark + u'*'}, QDir::Files | QDir::Hidden | QDir::NoSymLinks);
  for (const QFileInfo& candidate : candidates)
    if (isTemporaryName(candidate.fileName(), name) && candidate.lastModified().toUTC() < oldest)
      QFile::remove(candidate.absoluteFilePath());
}
