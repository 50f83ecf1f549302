#include "platform/ShiftJis.h"

#include <QtGlobal>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdint>

#include <iconv.h>

namespace ShiftJis {
namespace {

// glibc's "CP932" is the Windows table; its "SHIFT_JIS" rejects characters that
// Windows writes (NEC and IBM extensions, "～" and others).
constexpr const char* kCodePage = "CP932";
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr const char* kUtf16 = "UTF-16LE";
#else
constexpr const char* kUtf16 = "UTF-16BE";
#endif

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// One iconv handle, owned by one thread (iconv handles keep state and must not
// be shared between threads).
class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
  ~Converter() {
    if (isOpen()) iconv_close(handle_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool isOpen() const { return handle_ != kNoConverter; }

  // Converts all of `in` into `out`, growing it as needed. On failure returns
  // false and tells, through `failedAt`, how many input bytes went through.
  bool convert(const char* in, size_t inSize, QByteArray& out, size_t* failedAt) {
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    char* inPtr = const_cast<char*>(in);
    size_t inLeft = inSize;
    size_t used = 0;
    for (;;) {
      char* outPtr = out.data() + used;
      size_t outLeft = static_cast<size_t>(out.size()) - used;
      const size_t result = iconv(handle_, &inPtr, &inLeft, &outPtr, &outLeft);
      used = static_cast<size_t>(outPtr - out.data());
      if (result != static_cast<size_t>(-1)) break;
      if (errno != E2BIG) {
        if (failedAt) *failedAt = inSize - inLeft;
        return false;
      }
      out.resize(out.size() * 2 + 16);
    }
    out.resize(static_cast<qsizetype>(used));
    return true;
  }

 private:
  iconv_t handle_;
};

Converter& encoder() {
  thread_local Converter converter(kCodePage, kUtf16);
  return converter;
}

Converter& decoder() {
  thread_local Converter converter(kUtf16, kCodePage);
  return converter;
}

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
  Converter& converter = encoder();
  if (!converter.isOpen()) {
    if (firstBad) *firstBad = 0;
    return std::nullopt;
  }
  // A UTF-16 unit never takes more than two bytes in code page 932.
  QByteArray out(text.size() * 2, Qt::Uninitialized);
  size_t failedAt = 0;
  const auto* in = reinterpret_cast<const char*>(text.utf16());
  if (!converter.convert(in, static_cast<size_t>(text.size()) * 2, out, &failedAt)) {
    if (firstBad) *firstBad = static_cast<qsizetype>(failedAt / 2);
    return std::nullopt;
  }
  return out;
}

std::optional<QString> decode(QByteArrayView bytes) {
  if (bytes.isEmpty()) return QString();
  if (isAscii(bytes)) return QString::fromLatin1(bytes);
  Converter& converter = decoder();
  if (!converter.isOpen()) return std::nullopt;
  // Every code page 932 character is a single UTF-16 unit.
  QByteArray out(bytes.size() * 2, Qt::Uninitialized);
  if (!converter.convert(bytes.data(), static_cast<size_t>(bytes.size()), out, nullptr)) return std::nullopt;
  return QString(reinterpret_cast<const QChar*>(out.constData()), out.size() / 2);
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
