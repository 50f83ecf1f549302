#pragma once

#include <QByteArray>
#include <QStringView>

// The encodings the viewer writes text in: UTF-8, or Shift-JIS as Windows
// writes it (code page 932), the encoding of TAPPER's own files.
enum class TextEncoding { Utf8, ShiftJis };

namespace EncodedText {

// The text's bytes. A character code page 932 cannot hold becomes "?" in
// Shift-JIS, and `replaced`, when given, grows by one for each.
QByteArray encode(QStringView text, TextEncoding encoding, int* replaced = nullptr);

}  // namespace EncodedText
