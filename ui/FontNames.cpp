#include "ui/FontNames.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace FontNames {

void installSubstitutions() {
  const QStringList gothic = {u"IPAGothic"_s, u"IPAゴシック"_s,  u"Noto Sans Mono CJK JP"_s,
                              u"VL Gothic"_s, u"Takao Gothic"_s, u"DejaVu Sans Mono"_s};
  const QStringList proportionalGothic = {u"IPAPGothic"_s, u"IPA Pゴシック"_s, u"Noto Sans CJK JP"_s, u"VL PGothic"_s,
                                          u"Takao PGothic"_s};
  const QStringList mincho = {u"IPAMincho"_s, u"IPA明朝"_s, u"Noto Serif CJK JP"_s, u"Takao Mincho"_s};
  const QStringList proportionalMincho = {u"IPAPMincho"_s, u"IPA P明朝"_s, u"Noto Serif CJK JP"_s};
  QFont::insertSubstitutions(u"ＭＳ ゴシック"_s, gothic);
  QFont::insertSubstitutions(u"MS Gothic"_s, gothic);
  QFont::insertSubstitutions(u"ＭＳ Ｐゴシック"_s, proportionalGothic);
  QFont::insertSubstitutions(u"MS PGothic"_s, proportionalGothic);
  QFont::insertSubstitutions(u"ＭＳ 明朝"_s, mincho);
  QFont::insertSubstitutions(u"MS Mincho"_s, mincho);
  QFont::insertSubstitutions(u"ＭＳ Ｐ明朝"_s, proportionalMincho);
  QFont::insertSubstitutions(u"MS PMincho"_s, proportionalMincho);
}

QFont paneFont(const QString& name, int pointSize) {
  QFont font(name);
  if (pointSize > 0) font.setPointSize(pointSize);
  font.setStyleHint(QFont::TypeWriter);
  return font;
}

}  // namespace FontNames
