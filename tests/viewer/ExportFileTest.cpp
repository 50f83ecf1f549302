// A failed export says why, in the user's words, and leaves the file as it
// was. POSIX only: the failures are made with a closed folder and a file size
// limit (setrlimit), as a full disk would make them.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

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
  EXPECT_EQ(exportBytes(dir.file(u"fits.csv"_s), runs), QString());
  EXPECT_EQ(dir.read(u"fits.csv"_s), runs) << "an export that fits is written whole";

  const QString target = dir.write(u"runs.csv"_s, old);
  {
    FileSizeLimit limit(4096);
    const QString message = exportBytes(target, runs);
    EXPECT_EQ(message, LoaderMessages::cannotWrite(target, u"ファイルが大きすぎます。"_s));
  }
  EXPECT_EQ(dir.read(u"runs.csv"_s), old) << "the old file is kept";
  {
    ClosedFolder closed(dir.path());
    if (closed.closed()) {
      EXPECT_EQ(exportBytes(target, runs), LoaderMessages::cannotWrite(target, u"アクセスが許可されていません。"_s));
    }
  }
  EXPECT_EQ(dir.read(u"runs.csv"_s), old) << "the old file is kept";

  const QString gone = dir.file(u"gone/runs.csv"_s);
  EXPECT_EQ(exportBytes(gone, runs), LoaderMessages::cannotWrite(gone, u"ファイルがありません。"_s));
}

}  // namespace
