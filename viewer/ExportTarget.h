#pragma once

#include <QString>

#include "platform/RegularFile.h"

// The typist's own files, which an export never writes: the record file (the
// program never writes it), its data file (".hok") and the settings file. The
// viewer's export and the report tool's standard output are checked against
// them before anything is written.
namespace ExportTarget {

enum class KeptFile { None, RecordFile, DataFile, SettingsFile };

struct KeptFiles {
  QString recordFile;
  QString dataFile;  // beside the record file as the loader finds it, links followed
  QString settingsFile;

  static KeptFiles of(const QString& recordPath, const QString& settingsPath);
  const QString& path(KeptFile file) const;
};

// Which of the kept files `target` is: the same file by device and inode,
// whatever links or spellings lead to it. A target that does not exist yet
// (or a link to nothing) is one of them when it would be created at its path.
KeptFile clash(const QString& target, const KeptFiles& files);
// Which of them the open file with this identity is.
KeptFile clash(const FileIdentity& target, const KeptFiles& files);

// Why nothing is written to `target` (a path, or a name such as 標準出力).
QString refusal(const QString& target, KeptFile file, const KeptFiles& files);

}  // namespace ExportTarget
