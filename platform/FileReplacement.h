#pragma once

#include <QByteArray>
#include <QString>

// The two system steps of replacing a file atomically (ProfileFile): write a
// new copy to the disk, then put it in the place of the old file in one step.
// Both return 0, or the errno value of the failure (on Windows a Windows error
// mapped to one).

// Creates `copy` (EEXIST when something is there already), writes `bytes` to
// it with the permissions of `like` when that exists, and waits until they are
// on the disk. On a failure after creating it, the copy is removed again.
int writeNewFileDurably(const QString& copy, const QString& like, const QByteArray& bytes);

// Puts `copy` in the place of `target` (which may be missing), durably: a
// rename and a sync of the folder on POSIX, MoveFileExW on Windows (and
// ReplaceFileW where Windows will not rename over a file held open).
int replaceFileWith(const QString& target, const QString& copy);
