#include "settings/StoredSizes.h"

#include <QDir>
#include <QStringList>

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/NativePath.h"
#include "settings/OptionTable.h"
#include "settings/SettingsFile.h"

using namespace Qt::StringLiterals;

namespace {

constexpr char16_t EncodedMark = u'%';
constexpr auto Exact = SettingsFile::KeyMatch::ExactCase;

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

// An absolute path begins with a separator or, on Windows, a drive ("C:\");
// what begins otherwise (blanks, a comment's or a section's mark) is encoded.
bool needsEncoding(const QString& path) {
  if (path.isEmpty()) return false;
  const QChar first = path.front();
  const bool plainStart = NativePath::isSeparator(first) || (first.isLetter() && path.size() > 1 && path[1] == u':');
  if (!plainStart || isBlank(path.back())) return true;
  return path.contains(u'=') || path.contains(u'\r') || path.contains(u'\n');
}

bool isEncoded(QChar c) { return c == u'%' || c == u'=' || c == u'\r' || c == u'\n' || isBlank(c); }

// The key of a path spelled as it is.
QString keyOfSpelling(const QString& path) {
  if (!needsEncoding(path)) return path;
  QString key(1, EncodedMark);
  for (const QChar c : path) {
    if (isEncoded(c))
      key += u'%' + QString::number(c.unicode(), 16).toUpper().rightJustified(2, u'0');
    else
      key += c;
  }
  return key;
}

// The keys the file may have been stored under before: its path as given, when
// that differs from the canonical one (earlier versions), and, where the system
// writes paths with "\", both paths spelled with "/" (as earlier Windows builds
// wrote them) or with "\" (as the given path may be).
QStringList oldKeysOf(const StoredSizeStore::RecordFile& file) {
  const QString key = StoredSizes::keyFor(file.canonicalPath);
  QStringList keys;
  const auto add = [&](const QString& old) {
    if (!old.isEmpty() && old != key && !keys.contains(old)) keys << old;
  };
  add(keyOfSpelling(file.canonicalPath));
  const QString& given = file.givenPath;
  if (QDir::isAbsolutePath(given)) {
    for (const QString& spelling : {NativePath::toNative(given), NativePath::fromNative(given)})
      if (NativePath::fromNative(spelling) != file.canonicalPath && !needsEncoding(spelling)) add(spelling);
  }
  return keys;
}

// A value that does not convert, or is negative, trusts no data file.
std::optional<std::int64_t> sizeOf(const std::optional<QString>& value) {
  if (!value) return std::nullopt;
  return std::max<std::int64_t>(0, SettingsFile::convertInteger64(*value).value_or(0));
}

}  // namespace

namespace StoredSizes {

QString keyFor(const QString& canonicalPath) { return keyOfSpelling(NativePath::toNative(canonicalPath)); }

StoredSizeStore::Stored read(const SettingsFile& settings, const StoredSizeStore::RecordFile& file) {
  const std::optional<std::int64_t> current =
      sizeOf(settings.readValue(SettingsKeys::FileSize, keyFor(file.canonicalPath), Exact));
  std::vector<std::int64_t> old;
  for (const QString& oldKey : oldKeysOf(file))
    if (const std::optional<std::int64_t> size = sizeOf(settings.readValue(SettingsKeys::FileSize, oldKey, Exact)))
      old.push_back(*size);
  // Sizes that disagree: one of them is wrong, and none is trusted.
  const std::optional<std::int64_t> first = current ? current : old.empty() ? std::nullopt : std::optional(old.front());
  const bool agree = std::ranges::all_of(old, [&](std::int64_t size) { return size == *first; });
  StoredSizeStore::Stored stored;
  stored.rewrite = !old.empty() && (!current || !agree);
  stored.size = agree ? first.value_or(0) : 0;
  return stored;
}

bool write(SettingsFile& settings, const StoredSizeStore::RecordFile& file, std::int64_t size) {
  if (!settings.writeText(SettingsKeys::FileSize, keyFor(file.canonicalPath), QString::number(size), Exact))
    return false;
  for (const QString& oldKey : oldKeysOf(file))
    if (!settings.removeKey(SettingsKeys::FileSize, oldKey, Exact)) return false;
  return true;
}

}  // namespace StoredSizes
