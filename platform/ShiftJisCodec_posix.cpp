#include <QtGlobal>

#include <cerrno>

#include <iconv.h>

#include "platform/ShiftJisCodec.h"

namespace ShiftJisCodec {
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

}  // namespace

std::optional<QByteArray> encode(QStringView text, qsizetype* firstBad) {
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
  Converter& converter = decoder();
  if (!converter.isOpen()) return std::nullopt;
  // Every code page 932 character is a single UTF-16 unit.
  QByteArray out(bytes.size() * 2, Qt::Uninitialized);
  if (!converter.convert(bytes.data(), static_cast<size_t>(bytes.size()), out, nullptr)) return std::nullopt;
  return QString(reinterpret_cast<const QChar*>(out.constData()), out.size() / 2);
}

}  // namespace ShiftJisCodec
