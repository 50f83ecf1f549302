#pragma once

#include <QString>

#include "records/StoredSizeStore.h"

class SettingsFile;

// The settings file's section "FileSize": for each record file, the size in
// bytes the file had when its compressed data file was last completed (0 or
// missing: no data file is trusted).
//
// A record file is keyed by its canonical path (absolute, links resolved),
// spelled as the system writes paths (NativePath: on Windows with "\"),
// matched exactly: file names differ by case here, and one file reached through
// a linked folder or a relative path keeps one key. A path that cannot be a key
// as it stands (an "=", a line break, a blank at its end) is written as "%"
// followed by the path with "%", "=", CR, LF, tab and blank as %XX; a canonical
// path starts with a separator or a drive, so the two forms never meet.
//
// Earlier versions keyed a file by its path as given, and on Windows spelled
// with "/"; a settings file of an earlier program of this kind spells it with
// "\". Such a key of the same absolute path is still read when the canonical
// key is missing, and is removed once the canonical key is written. When they
// disagree, one of them is wrong and the stored size reads as 0, so the next
// load rebuilds the data file.
namespace StoredSizes {

StoredSizeStore::Stored read(const SettingsFile& settings, const StoredSizeStore::RecordFile& file);
// False when the settings file cannot be written.
bool write(SettingsFile& settings, const StoredSizeStore::RecordFile& file, std::int64_t size);

QString keyFor(const QString& canonicalPath);

}  // namespace StoredSizes
