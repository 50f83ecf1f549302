#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

// The system's code page 932 converter under ShiftJis::encode() and decode():
// glibc iconv's "CP932" on Linux (ShiftJisCodec_posix.cpp), MultiByteToWideChar
// and WideCharToMultiByte on Windows (ShiftJisCodec_windows.cpp), giving the
// same bytes and the same refusals. Called only for text that is not all ASCII.
namespace ShiftJisCodec {

// The bytes, or nothing with `*firstBad` (when given) the index of the first
// UTF-16 unit the code page cannot hold.
std::optional<QByteArray> encode(QStringView text, qsizetype* firstBad);

// The text, or nothing when the bytes are no valid code page 932 text.
std::optional<QString> decode(QByteArrayView bytes);

}  // namespace ShiftJisCodec
