#include "platform/ShiftJis.h"

#include <array>
#include <atomic>
#include <cstdint>

#include "platform/ShiftJisCodec.h"

namespace ShiftJis {
namespace {

// Code page 932 keeps ASCII as it is ("\\" and "~" included): such text needs
// no converter, and names and numbers in settings files are such text.
bool isAscii(QByteArrayView bytes) {
  for (const char c : bytes)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}
bool isAscii(QStringView text) {
  for (const QChar c : text)
    if (c.unicode() >= 0x80) return false;
  return true;
}

bool isWideCodePoint(char32_t codePoint) { return codePoint >= 0x1100; }

// Bytes of a BMP character in code page 932; a character outside it gets the
// column count it takes on screen. Worked out the first time a character is
// measured and kept (0: not yet); the slots are atomic because any thread may
// measure.
int widthOfUnit(char16_t unit) {
  if (unit < 0x80) return 1;
  static std::array<std::atomic<std::uint8_t>, 0x10000> known{};
  std::atomic<std::uint8_t>& slot = known[unit];
  if (const std::uint8_t width = slot.load(std::memory_order_relaxed)) return width;
  const std::optional<QByteArray> bytes = encode(QStringView(&unit, 1));
  const bool encoded = bytes && (bytes->size() == 1 || bytes->size() == 2);
  const int width = encoded ? static_cast<int>(bytes->size()) : (isWideCodePoint(unit) ? 2 : 1);
  slot.store(static_cast<std::uint8_t>(width), std::memory_order_relaxed);
  return width;
}

// Width of the character starting at `index`; `units` receives how many UTF-16
// units it takes (a surrogate pair is one character outside the code page).
int characterWidth(QStringView text, qsizetype index, qsizetype* units) {
  const QChar first = text[index];
  const bool pair = first.isHighSurrogate() && index + 1 < text.size() && text[index + 1].isLowSurrogate();
  *units = pair ? 2 : 1;
  if (pair) return isWideCodePoint(QChar::surrogateToUcs4(first, text[index + 1])) ? 2 : 1;
  return widthOfUnit(first.unicode());
}

}  // namespace

std::optional<QByteArray> encode(QStringView text, qsizetype* firstBad) {
  if (firstBad) *firstBad = -1;
  if (text.isEmpty()) return QByteArray();
  if (isAscii(text)) return text.toLatin1();
  return ShiftJisCodec::encode(text, firstBad);
}

std::optional<QString> decode(QByteArrayView bytes) {
  if (bytes.isEmpty()) return QString();
  if (isAscii(bytes)) return QString::fromLatin1(bytes);
  return ShiftJisCodec::decode(bytes);
}

int width(QStringView text) {
  int columns = 0;
  qsizetype units = 0;
  for (qsizetype i = 0; i < text.size(); i += units) columns += characterWidth(text, i, &units);
  return columns;
}

QString padRight(QStringView text, int columns) {
  QString padded = text.toString();
  const int missing = columns - width(text);
  if (missing > 0) padded.append(QString(missing, u' '));
  return padded;
}

QString cutToWidth(QStringView text, int columns) {
  int used = 0;
  qsizetype units = 0;
  qsizetype end = 0;
  for (; end < text.size(); end += units) {
    const int next = characterWidth(text, end, &units);
    if (used + next > columns) break;
    used += next;
  }
  return text.first(end).toString();
}

}  // namespace ShiftJis
