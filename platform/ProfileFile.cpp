#include "platform/ProfileFile.h"

#include "platform/ProfileText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

// The file's bytes; empty for a missing file; nothing when it exists but cannot
// be read (then `error` says why).
std::optional<QByteArray> readBytes(const QString& path, QString* error) {
  QFile file(path);
  if (!file.exists()) return QByteArray();
  if (!file.open(QIODevice::ReadOnly)) {
    *error = u"Cannot read %1: %2"_s.arg(QDir::toNativeSeparators(path), file.errorString());
    return std::nullopt;
  }
  return file.readAll();
}

bool makeParentFolder(const QString& path, QString* error) {
  const QString folder = QFileInfo(path).absolutePath();
  if (QDir().mkpath(folder)) return true;
  *error = u"Cannot create the folder %1"_s.arg(QDir::toNativeSeparators(folder));
  return false;
}

// Writes a temporary file beside the target and renames it over the target, so
// that the file is never left half written.
bool replaceAtomically(const QString& path, const QByteArray& bytes, QString* error) {
  QSaveFile file(path);
  file.setDirectWriteFallback(false);
  if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) return true;
  *error = u"Cannot write %1: %2"_s.arg(QDir::toNativeSeparators(path), file.errorString());
  file.cancelWriting();
  return false;
}

QString refusal(const QString& path, const QString& section, const QString& key) {
  return u"Cannot store [%1] %2 in %3: names and values cannot hold line breaks, a section name cannot hold ']' "
         u"and a key cannot hold '=' or start with '[' or ';'"_s.arg(section, key, QDir::toNativeSeparators(path));
}

}  // namespace

ProfileFile::ProfileFile(QString path) : path_(std::move(path)) {}

QString ProfileFile::readString(const QString& section, const QString& key, const QString& fallback) const {
  QFile file(path_);
  if (!file.open(QIODevice::ReadOnly)) return fallback;
  return ProfileText(file.readAll()).readString(section, key, fallback);
}

bool ProfileFile::writeString(const QString& section, const QString& key, const QString& value) {
  error_.clear();
  const std::optional<QByteArray> bytes = readBytes(path_, &error_);
  if (!bytes) return false;
  ProfileText text(*bytes);
  if (!text.writeString(section, key, value)) {
    error_ = refusal(path_, section, key);
    return false;
  }
  const QByteArray changed = text.toBytes();
  if (changed == *bytes && QFile::exists(path_)) return true;
  return makeParentFolder(path_, &error_) && replaceAtomically(path_, changed, &error_);
}
