#include "platform/NativePath.h"

namespace NativePath {

bool isSeparator(QChar c, Rules rules) { return c == u'/' || (rules.backslashSplits && c == u'\\'); }

qsizetype lastSeparator(QStringView path, Rules rules) {
  for (qsizetype i = path.size() - 1; i >= 0; --i)
    if (isSeparator(path[i], rules)) return i;
  return -1;
}

QString fromNative(const QString& path, Rules rules) {
  if (!rules.backslashSplits) return path;
  return QString(path).replace(u'\\', u'/');
}

QString toNative(const QString& path, Rules rules) {
  if (rules.written == u'/') return path;
  return QString(path).replace(u'/', rules.written);
}

QString folderPart(const QString& path, Rules rules) {
  return fromNative(path.left(lastSeparator(path, rules) + 1), rules);
}

QString namePart(const QString& path, Rules rules) { return path.mid(lastSeparator(path, rules) + 1); }

}  // namespace NativePath
