// A failed export says why, in the user's words, and leaves the file as it
// was. POSIX only: the failures are made with a closed folder and a file size
// limit (setrlimit), as a full disk would make them.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <functional>

#include "records/LoaderMessages.h"
#include "support/ClosedFolder.h"
#include "support/TempDir.h"
#include "viewer/ExportFile.h"

using namespace Qt::StringLiterals;

namespace {

// The process's files may grow to `bytes` only, while it lives: a write past
// it fails with EFBIG (the signal it would raise is ignored meanwhile).
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    oldSignal_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldSignal_);
  }

 private:
  rlimit old_{};
  void (*oldSignal_)(int) = nullptr;
};

// Writes `bytes` through an ExportFile as the window does: the message of the
// failure, or empty when it was written.
QString exportBytes(const QString& path, const QByteArray& bytes) {
  ExportFile file(path);
  if (!file.open()) return file.failure(path);
  if (file.write(bytes) != bytes.size()) {
    file.cancelWriting();
    file.commit();
    return file.failure(path);
  }
  return file.commit() ? QString() : file.failure(path);
}

TEST(ExportFile, AFailedExportSaysWhyAndKeepsTheOldFile) {
  TempDir dir;
  const QByteArray old = "old,export\r\n";
  const QByteArray runs(64 * 1024, 'x');
  struct Case {
    const char* name;
    QString folder;
    std::function<QString(const QString& target)> attempt;
    QString reason;
  };
  const Case cases[] = {
      {"the file grows past what the system allows", u"limited"_s,
       [&](const QString& target) {
         FileSizeLimit limit(4096);
         return exportBytes(target, runs);
       },
       u"ファイルが大きすぎます。"_s},
      {"a folder that may not be written", u"closed"_s,
       [&](const QString& target) {
         ClosedFolder closed(QFileInfo(target).absolutePath());
         if (!closed.closed()) return u"(skipped)"_s;
         return exportBytes(target, runs);
       },
       u"アクセスが許可されていません。"_s},
      {"a folder that is not there", u"gone"_s,
       [&](const QString& target) {
         QDir(QFileInfo(target).absolutePath()).removeRecursively();
         return exportBytes(target, runs);
       },
       u"ファイルがありません。"_s},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(QDir(dir.path()).mkpath(c.folder));
    const QString target = dir.write(c.folder + u"/runs.csv"_s, old);
    const QString message = c.attempt(target);
    if (message == u"(skipped)"_s) continue;
    EXPECT_EQ(message, LoaderMessages::cannotWrite(target, c.reason));
    if (QFileInfo::exists(target)) EXPECT_EQ(dir.read(c.folder + u"/runs.csv"_s), old) << "the old file is kept";
  }
}

TEST(ExportFile, AnExportThatFitsIsWrittenWhole) {
  TempDir dir;
  const QByteArray runs(64 * 1024, 'x');
  EXPECT_EQ(exportBytes(dir.file(u"runs.csv"_s), runs), QString());
  EXPECT_EQ(dir.read(u"runs.csv"_s), runs);
}

}  // namespace
