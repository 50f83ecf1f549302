#pragma once

// The errno value that stands for a Windows error code (GetLastError()), so
// that problemOfErrno() and describeProblem() serve both platforms. Only the
// Windows files of this folder use it.
int errnoOfWindowsError(unsigned long error);
