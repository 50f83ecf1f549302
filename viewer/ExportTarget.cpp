#include "viewer/ExportTarget.h"

#include <QDir>
#include <QFileInfo>

#include "platform/NativePath.h"
#include "records/RecordLoader.h"

using namespace Qt::StringLiterals;

namespace ExportTarget {

namespace {

constexpr KeptFile Kept[] = {KeptFile::RecordFile, KeptFile::DataFile, KeptFile::SettingsFile};

// Where a file at `path` is (or would be created): a link followed, the
// folder's links resolved.
QString placeOf(const QString& path) {
  QFileInfo info(path);
  if (info.isSymLink()) info = QFileInfo(info.symLinkTarget());
  const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
  return folder.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : folder + u'/' + info.fileName();
}

QString roleName(KeptFile file) {
  switch (file) {
    case KeptFile::RecordFile: return u"記録ファイル"_s;
    case KeptFile::DataFile: return u"圧縮ﾃﾞｰﾀのファイル"_s;
    case KeptFile::SettingsFile: return u"設定ファイル"_s;
    case KeptFile::None: break;
  }
  return {};
}

}  // namespace

KeptFiles KeptFiles::of(const QString& recordPath, const QString& settingsPath) {
  const QString canonical = QFileInfo(recordPath).canonicalFilePath();
  return {recordPath, RecordLoader::dataFilePathFor(canonical.isEmpty() ? recordPath : canonical), settingsPath};
}

const QString& KeptFiles::path(KeptFile file) const {
  switch (file) {
    case KeptFile::DataFile: return dataFile;
    case KeptFile::SettingsFile: return settingsFile;
    case KeptFile::RecordFile:
    case KeptFile::None: break;
  }
  return recordFile;
}

KeptFile clash(const FileIdentity& target, const KeptFiles& files) {
  for (KeptFile file : Kept) {
    FileIdentity kept;
    if (!files.path(file).isEmpty() && identityOf(files.path(file), kept) && kept == target) return file;
  }
  return KeptFile::None;
}

KeptFile clash(const QString& target, const KeptFiles& files) {
  if (FileIdentity identity; identityOf(target, identity)) return clash(identity, files);
  const QString place = placeOf(target);
  for (KeptFile file : Kept)
    if (!files.path(file).isEmpty() && placeOf(files.path(file)) == place) return file;
  return KeptFile::None;
}

QString refusal(const QString& target, KeptFile file, const KeptFiles& files) {
  const QString role = roleName(file);
  const QString& path = files.path(file);
  // The kept file's path as the system writes paths; the target as the caller shows it.
  const QString what =
      QFileInfo(NativePath::fromNative(target)).absoluteFilePath() == QFileInfo(path).absoluteFilePath()
          ? u"%1 は%2です。"_s.arg(target, role)
          : u"%1 は%2 %3 と同じファイルです。"_s.arg(target, role, NativePath::toNative(path));
  return what + u'\n' + role + u"を守るため、書き込みません。"_s;
}

}  // namespace ExportTarget
