#include <QDir>

#include <windows.h>

#include <algorithm>
#include <cerrno>

#include "platform/FileReplacement.h"
#include "platform/WindowsError.h"

namespace {

std::wstring nativePath(const QString& path) { return QDir::toNativeSeparators(path).toStdWString(); }

}  // namespace

int writeNewFileDurably(const QString& copy, const QString&, const QByteArray& bytes) {
  // ReplaceFileW keeps the attributes and the security of the file it
  // replaces, so the copy needs none of its own.
  const std::wstring name = nativePath(copy);
  const HANDLE handle =
      ::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return errnoOfWindowsError(::GetLastError());
  DWORD failure = ERROR_SUCCESS;
  qsizetype written = 0;
  while (failure == ERROR_SUCCESS && written < bytes.size()) {
    DWORD put = 0;
    const auto wanted = static_cast<DWORD>(std::min<qsizetype>(bytes.size() - written, 1 << 30));
    if (!::WriteFile(handle, bytes.constData() + written, wanted, &put, nullptr))
      failure = ::GetLastError();
    else if (put == 0)
      failure = ERROR_WRITE_FAULT;
    written += put;
  }
  if (failure == ERROR_SUCCESS && !::FlushFileBuffers(handle)) failure = ::GetLastError();
  if (!::CloseHandle(handle) && failure == ERROR_SUCCESS) failure = ::GetLastError();
  if (failure != ERROR_SUCCESS) ::DeleteFileW(name.c_str());
  return errnoOfWindowsError(failure);
}

int replaceFileWith(const QString& target, const QString& copy) {
  const std::wstring to = nativePath(target);
  const std::wstring from = nativePath(copy);
  // A rename over the target is one step: no one ever finds the path missing.
  // Windows refuses it while a reader has the target open, so it is tried for
  // a while before ReplaceFileW, which can but takes two steps.
  DWORD failure = ERROR_SUCCESS;
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return 0;
    failure = ::GetLastError();
    if (failure != ERROR_ACCESS_DENIED && failure != ERROR_SHARING_VIOLATION) return errnoOfWindowsError(failure);
    ::Sleep(10);
  }
  if (::ReplaceFileW(to.c_str(), from.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) return 0;
  return errnoOfWindowsError(::GetLastError());
}
