#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

// Text in Windows code page 932 (Shift-JIS as Windows maps it), the encoding of
// TAPPER's record files and of the settings file. Both "～" (U+FF5E) and "〜"
// (U+301C) are written as 0x81 0x60, which reads back as "～".
namespace ShiftJis {

// The encoded bytes, or nothing when a character has no place in code page 932.
// `firstBad`, when given, receives the index of the first such character.
std::optional<QByteArray> encode(QStringView text, qsizetype* firstBad = nullptr);

// The decoded text, or nothing when the bytes are no valid code page 932 text.
std::optional<QString> decode(QByteArrayView bytes);

// Columns of the text in a fixed-pitch font: its length in code page 932 bytes,
// a full-width character counting 2 and a half-width one 1. A character outside
// the code page counts 2 when it is wide (CJK and beyond), else 1.
int width(QStringView text);

// The text followed by blanks up to `columns` (longer text is kept whole).
QString padRight(QStringView text, int columns);

// The longest start of the text that takes at most `columns`, never splitting a
// double-byte character.
QString cutToWidth(QStringView text, int columns);

}  // namespace ShiftJis
