#include "records/StoredSizes.h"

#include <QDir>

#include <optional>

#include "settings/Options.h"
#include "settings/SettingsFile.h"

using namespace Qt::StringLiterals;

namespace {

constexpr char16_t EncodedMark = u'%';

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

bool needsEncoding(const QString& path) {
  if (path.isEmpty()) return false;
  if (!path.startsWith(u'/') || isBlank(path.back())) return true;
  return path.contains(u'=') || path.contains(u'\r') || path.contains(u'\n');
}

bool isEncoded(QChar c) {
  return c == u'%' || c == u'=' || c == u'\r' || c == u'\n' || isBlank(c);
}

std::optional<std::int64_t> sizeOf(const std::optional<QString>& value) {
  if (!value) return std::nullopt;
  return std::max<std::int64_t>(0, SettingsFile::convertInteger(*value).value_or(0));
}

}  // namespace

StoredSizes::StoredSizes(SettingsFile& settings, QString canonicalPath, const QString& givenPath)
    : settings_(settings), key_(keyFor(canonicalPath)) {
  if (QDir::isAbsolutePath(givenPath) && givenPath != canonicalPath && !needsEncoding(givenPath))
    oldKey_ = givenPath;
}

QString StoredSizes::keyFor(const QString& canonicalPath) {
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

std::int64_t StoredSizes::read() {
  const std::optional<std::int64_t> current =
      sizeOf(settings_.readValue(SettingsKeys::FileSize, key_, SettingsFile::KeyMatch::ExactCase));
  std::optional<std::int64_t> old;
  if (!oldKey_.isEmpty())
    old = sizeOf(settings_.readValue(SettingsKeys::FileSize, oldKey_, SettingsFile::KeyMatch::ExactCase));
  needsRewrite_ = old.has_value() && (!current || *current != *old);
  if (current && old && *current != *old) return 0;
  return current.value_or(old.value_or(0));
}

bool StoredSizes::write(std::int64_t size) {
  if (!settings_.writeText(SettingsKeys::FileSize, key_, QString::number(size), SettingsFile::KeyMatch::ExactCase))
    return false;
  if (oldKey_.isEmpty()) return true;
  return settings_.removeKey(SettingsKeys::FileSize, oldKey_, SettingsFile::KeyMatch::ExactCase);
}
