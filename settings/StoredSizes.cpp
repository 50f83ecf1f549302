#include "settings/StoredSizes.h"

#include <QDir>

#include <algorithm>
#include <optional>

#include "settings/OptionTable.h"
#include "settings/SettingsFile.h"

using namespace Qt::StringLiterals;

namespace {

constexpr char16_t EncodedMark = u'%';
constexpr auto Exact = SettingsFile::KeyMatch::ExactCase;

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

// An absolute path begins with "/" or, on Windows, a drive ("C:/"); what
// begins otherwise (blanks, a comment's or a section's mark) is encoded.
bool needsEncoding(const QString& path) {
  if (path.isEmpty()) return false;
  const QChar first = path.front();
  const bool plainStart = first == u'/' || (first.isLetter() && path.size() > 1 && path[1] == u':');
  if (!plainStart || isBlank(path.back())) return true;
  return path.contains(u'=') || path.contains(u'\r') || path.contains(u'\n');
}

bool isEncoded(QChar c) { return c == u'%' || c == u'=' || c == u'\r' || c == u'\n' || isBlank(c); }

// The key an earlier version wrote for the file: its absolute path as given,
// when that differs from the canonical one.
QString oldKeyOf(const StoredSizeStore::RecordFile& file) {
  const QString& given = file.givenPath;
  if (QDir::isAbsolutePath(given) && given != file.canonicalPath && !needsEncoding(given)) return given;
  return {};
}

// A value that does not convert, or is negative, trusts no data file.
std::optional<std::int64_t> sizeOf(const std::optional<QString>& value) {
  if (!value) return std::nullopt;
  return std::max<std::int64_t>(0, SettingsFile::convertInteger64(*value).value_or(0));
}

}  // namespace

namespace StoredSizes {

QString keyFor(const QString& canonicalPath) {
  if (!needsEncoding(canonicalPath)) return canonicalPath;
  QString key(1, EncodedMark);
  for (const QChar c : canonicalPath) {
    if (isEncoded(c))
      key += u'%' + QString::number(c.unicode(), 16).toUpper().rightJustified(2, u'0');
    else
      key += c;
  }
  return key;
}

StoredSizeStore::Stored read(const SettingsFile& settings, const StoredSizeStore::RecordFile& file) {
  const std::optional<std::int64_t> current =
      sizeOf(settings.readValue(SettingsKeys::FileSize, keyFor(file.canonicalPath), Exact));
  std::optional<std::int64_t> old;
  if (const QString oldKey = oldKeyOf(file); !oldKey.isEmpty())
    old = sizeOf(settings.readValue(SettingsKeys::FileSize, oldKey, Exact));
  StoredSizeStore::Stored stored;
  stored.rewrite = old.has_value() && (!current || *current != *old);
  stored.size = current && old && *current != *old ? 0 : current.value_or(old.value_or(0));
  return stored;
}

bool write(SettingsFile& settings, const StoredSizeStore::RecordFile& file, std::int64_t size) {
  if (!settings.writeText(SettingsKeys::FileSize, keyFor(file.canonicalPath), QString::number(size), Exact))
    return false;
  const QString oldKey = oldKeyOf(file);
  return oldKey.isEmpty() || settings.removeKey(SettingsKeys::FileSize, oldKey, Exact);
}

}  // namespace StoredSizes
