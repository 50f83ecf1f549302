#include "ui/HintText.h"

QString wrappedHint(const QString& hint, const QFontMetrics& metrics, int maxWidth) {
  if (metrics.horizontalAdvance(hint) <= maxWidth) return hint;
  QString wrapped;
  QString line;
  for (const QChar c : hint) {
    if (c == u'\n' || (!line.isEmpty() && metrics.horizontalAdvance(line + c) > maxWidth)) {
      wrapped += line + u'\n';
      line.clear();
      if (c == u'\n') continue;
    }
    line += c;
  }
  return wrapped + line;
}
