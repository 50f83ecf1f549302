#include "viewer/EncodedText.h"

#include "platform/ShiftJis.h"

namespace EncodedText {

QByteArray encode(QStringView text, TextEncoding encoding, int* replaced) {
  if (encoding == TextEncoding::Utf8) return text.toUtf8();
  if (auto bytes = ShiftJis::encode(text)) return *bytes;
  // Character by character, a surrogate pair being one character.
  QByteArray out;
  for (qsizetype i = 0; i < text.size();) {
    const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    if (auto bytes = ShiftJis::encode(text.mid(i, length))) {
      out += *bytes;
    } else {
      out += '?';
      if (replaced) ++*replaced;
    }
    i += length;
  }
  return out;
}

}  // namespace EncodedText
