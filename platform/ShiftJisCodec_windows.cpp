// Code page 932 through MultiByteToWideChar and WideCharToMultiByte, giving
// the bytes glibc's "CP932" gives on Linux: Windows' own table, without its
// best-fit guesses, plus the few characters glibc also writes one way only,
// and without the single bytes only Windows reads.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/ShiftJisCodec.h"

namespace ShiftJisCodec {
namespace {

constexpr UINT CodePage = 932;

// Characters written as the bytes of another that reads back in their place
// ("〜" as "～"): glibc's one-way mappings. Windows would write these through
// its best-fit table only, which also guesses for characters glibc refuses.
char16_t twinOf(char16_t unit) {
  switch (unit) {
    case 0x00A2: return 0xFFE0;  // ¢ as ￠
    case 0x00A3: return 0xFFE1;  // £ as ￡
    case 0x00A5: return 0x005C;  // ¥ as the byte 0x5C
    case 0x00AC: return 0xFFE2;  // ¬ as ￢
    case 0x2014: return 0x2015;  // em dash as the horizontal bar
    case 0x2016: return 0x2225;  // ‖ as ∥
    case 0x203E: return 0x007E;  // overline as the byte 0x7E
    case 0x2212: return 0xFF0D;  // minus sign as －
    case 0x301C: return 0xFF5E;  // 〜 as ～
    default: return unit;
  }
}

// Units Windows maps to the single bytes 0x80, 0xA0 and 0xFD to 0xFF, and
// surrogates: glibc's table has no place for them.
bool onlyWindowsWrites(char16_t unit) {
  return unit == 0x0080 || (unit >= 0xF8F0 && unit <= 0xF8F3) || (unit >= 0xD800 && unit <= 0xDFFF);
}

bool isLeadByte(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }
bool isTrailByte(unsigned char byte) { return byte >= 0x40 && byte <= 0xFC && byte != 0x7F; }

// Whether the bytes are made of single bytes glibc reads and of lead bytes
// each followed by a trail byte; which pairs are assigned Windows tells.
bool hasValidShape(QByteArrayView bytes) {
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (isLeadByte(byte)) {
      if (++i == bytes.size() || !isTrailByte(static_cast<unsigned char>(bytes[i]))) return false;
    } else if (byte == 0x80 || byte == 0xA0 || byte >= 0xFD) {
      return false;
    }
  }
  return true;
}

// Converts without best-fit guesses; false when a unit had no place.
bool convert(const wchar_t* units, int count, QByteArray& out) {
  BOOL usedDefault = FALSE;
  const int written = ::WideCharToMultiByte(CodePage, WC_NO_BEST_FIT_CHARS, units, count, out.data(),
                                            static_cast<int>(out.size()), nullptr, &usedDefault);
  if (written <= 0 || usedDefault) return false;
  out.resize(written);
  return true;
}

}  // namespace

std::optional<QByteArray> encode(QStringView text, qsizetype* firstBad) {
  std::vector<wchar_t> units(static_cast<std::size_t>(text.size()));
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i].unicode();
    if (onlyWindowsWrites(unit)) {
      if (firstBad) *firstBad = i;
      return std::nullopt;
    }
    units[static_cast<std::size_t>(i)] = static_cast<wchar_t>(twinOf(unit));
  }
  // A UTF-16 unit never takes more than two bytes in code page 932.
  QByteArray out(text.size() * 2, Qt::Uninitialized);
  if (convert(units.data(), static_cast<int>(units.size()), out)) return out;
  if (firstBad) {
    *firstBad = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
      QByteArray one(2, Qt::Uninitialized);
      if (!convert(units.data() + i, 1, one)) {
        *firstBad = i;
        break;
      }
    }
  }
  return std::nullopt;
}

std::optional<QString> decode(QByteArrayView bytes) {
  if (!hasValidShape(bytes)) return std::nullopt;
  // Every code page 932 character is a single UTF-16 unit.
  std::vector<wchar_t> units(static_cast<std::size_t>(bytes.size()));
  const int count = ::MultiByteToWideChar(CodePage, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                                          units.data(), static_cast<int>(units.size()));
  if (count <= 0) return std::nullopt;
  return QString::fromWCharArray(units.data(), count);
}

}  // namespace ShiftJisCodec
