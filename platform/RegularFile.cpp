// The parts of RegularFile that are the same on every platform; the system
// calls live in RegularFile_posix.cpp and RegularFile_windows.cpp.
#include "platform/RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

using namespace Qt::StringLiterals;

FileProblem problemOfErrno(int error) {
  switch (error) {
    case ENOENT: return FileProblem::Missing;
    case EISDIR: return FileProblem::Folder;
    case EACCES:
    case EPERM:
    case EROFS: return FileProblem::NoPermission;
    default: return FileProblem::Other;
  }
}

RegularFile::~RegularFile() { close(); }

RegularFile::RegularFile(RegularFile&& other) noexcept
    : fd_(other.fd_), problem_(other.problem_), errno_(other.errno_), created_(other.created_) {
  other.fd_ = -1;
}

RegularFile& RegularFile::operator=(RegularFile&& other) noexcept {
  if (this != &other) {
    close();
    fd_ = other.fd_;
    problem_ = other.problem_;
    errno_ = other.errno_;
    created_ = other.created_;
    other.fd_ = -1;
  }
  return *this;
}

bool RegularFile::fail(FileProblem problem, int error) {
  problem_ = problem;
  errno_ = error;
  return false;
}

std::int64_t RegularFile::readAt(std::int64_t offset, void* buffer, std::int64_t bytes) {
  return readFully(std::max<std::int64_t>(offset, 0), buffer, bytes);
}

std::int64_t RegularFile::read(void* buffer, std::int64_t bytes) { return readFully(-1, buffer, bytes); }

bool RegularFile::lockExclusive(std::chrono::milliseconds wait) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + wait;
  auto pause = std::chrono::milliseconds(2);
  for (;;) {
    if (tryLockExclusive()) return true;
    if (errno_ != EWOULDBLOCK || Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::milliseconds(50));
  }
}

QString describeProblem(FileProblem problem, int error) {
  switch (problem) {
    case FileProblem::None: return {};
    case FileProblem::Missing: return u"ファイルがありません。"_s;
    case FileProblem::BrokenLink: return u"リンク先のファイルがありません。"_s;
    case FileProblem::Folder: return u"ファイルではなくフォルダです。"_s;
    case FileProblem::NotRegular: return u"通常のファイルではありません(パイプやデバイスなど)。"_s;
    case FileProblem::NoPermission:
      return error == EROFS ? u"読み取り専用の場所です。"_s : u"アクセスが許可されていません。"_s;
    case FileProblem::Other: break;
  }
  if (error == EWOULDBLOCK) return u"ほかのプログラムが使用中です。"_s;
  if (error == ENOSPC) return u"ディスクに空きがありません。"_s;
  if (error == EFBIG) return u"ファイルが大きすぎます。"_s;
  if (error == ELOOP) return u"リンクが循環しています。"_s;
  if (error == ENOTDIR) return u"途中のフォルダがフォルダではありません。"_s;
  if (error == ENAMETOOLONG) return u"パスが長すぎます。"_s;
  if (error == EIO) return u"読み書きのエラーが起きました。"_s;
  return u"エラー: %1"_s.arg(QString::fromLocal8Bit(std::strerror(error)));
}
