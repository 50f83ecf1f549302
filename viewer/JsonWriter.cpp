#include "viewer/JsonWriter.h"

#include <QBuffer>
#include <QLocale>

#include <cmath>

#include "analysis/TextFormat.h"
#include "viewer/ExportOutput.h"

namespace {

constexpr int IndentWidth = 4;

// The largest whole numbers that QJsonValue keeps as integers, not as doubles.
constexpr double LargestExactInteger = 9007199254740992.0;  // 2^53

char hexDigit(unsigned value) { return static_cast<char>(value < 10 ? '0' + value : 'a' + value - 10); }

}  // namespace

JsonWriter::JsonWriter(ExportOutput& out) : out_(out) { levels_.reserve(8); }

void JsonWriter::nextLine() {
  Level& level = levels_.back();
  if (level.filled) out_.put(",\n");
  level.filled = true;
  out_.spaces(IndentWidth * static_cast<int>(levels_.size()));
}

void JsonWriter::beforeValue() {
  if (afterKey_)
    afterKey_ = false;
  else if (!levels_.empty())
    nextLine();
}

void JsonWriter::begin(char opening, char closing) {
  beforeValue();
  out_.put(opening);
  out_.put('\n');
  levels_.push_back({closing, false});
}

void JsonWriter::beginObject() { begin('{', '}'); }
void JsonWriter::beginArray() { begin('[', ']'); }

void JsonWriter::end() {
  const Level level = levels_.back();
  levels_.pop_back();
  if (level.filled) out_.put('\n');
  out_.spaces(IndentWidth * static_cast<int>(levels_.size()));
  out_.put(level.closing);
  if (levels_.empty()) out_.put('\n');
}

void JsonWriter::key(QStringView name) {
  nextLine();
  quoted(name);
  out_.put(": ");
  afterKey_ = true;
}

void JsonWriter::key(QLatin1StringView name) {
  nextLine();
  out_.put('"');
  out_.put(QByteArrayView(name.data(), name.size()));
  out_.put("\": ");
  afterKey_ = true;
}

// UTF-8, escaping what QJsonDocument escapes: quotes, backslashes, control
// characters, and a surrogate without its other half.
void JsonWriter::quoted(QStringView text) {
  out_.put('"');
  const char16_t* c = text.utf16();
  const char16_t* const end = c + text.size();
  while (c != end) {
    const char16_t u = *c++;
    if (u < 0x80) {
      if (u >= 0x20 && u != u'"' && u != u'\\') {
        out_.put(static_cast<char>(u));
        continue;
      }
      out_.put('\\');
      switch (u) {
        case u'"': out_.put('"'); break;
        case u'\\': out_.put('\\'); break;
        case u'\b': out_.put('b'); break;
        case u'\f': out_.put('f'); break;
        case u'\n': out_.put('n'); break;
        case u'\r': out_.put('r'); break;
        case u'\t': out_.put('t'); break;
        default:
          out_.put("u00");
          out_.put(hexDigit(u >> 4));
          out_.put(hexDigit(u & 0xF));
      }
    } else if (u < 0x800) {
      out_.put(static_cast<char>(0xC0 | (u >> 6)));
      out_.put(static_cast<char>(0x80 | (u & 0x3F)));
    } else if (!QChar::isSurrogate(u)) {
      out_.put(static_cast<char>(0xE0 | (u >> 12)));
      out_.put(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
      out_.put(static_cast<char>(0x80 | (u & 0x3F)));
    } else if (QChar::isHighSurrogate(u) && c != end && QChar::isLowSurrogate(*c)) {
      const char32_t code = QChar::surrogateToUcs4(u, *c++);
      out_.put(static_cast<char>(0xF0 | (code >> 18)));
      out_.put(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
      out_.put(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      out_.put(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
      out_.put("\\u");
      for (int shift = 12; shift >= 0; shift -= 4) out_.put(hexDigit((u >> shift) & 0xF));
    }
  }
  out_.put('"');
}

void JsonWriter::string(QStringView text) {
  beforeValue();
  quoted(text);
}

void JsonWriter::encodedString(QByteArrayView encoded) {
  beforeValue();
  out_.put(encoded);
}

QByteArray JsonWriter::encoded(QStringView text) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  ExportOutput out(buffer);
  JsonWriter(out).quoted(text);
  out.flush();
  return buffer.data();
}

void JsonWriter::number(long long value) {
  beforeValue();
  out_.number(value);
}

// QJsonValue keeps a whole number of a double as an integer; other doubles
// come out in the shortest form that reads back the same.
void JsonWriter::decimal(double value) {
  beforeValue();
  if (!std::isfinite(value))
    out_.put("null");
  else if (std::trunc(value) == value && std::fabs(value) <= LargestExactInteger)
    out_.number(static_cast<long long>(value));
  else
    out_.put(QByteArray::number(value, 'g', QLocale::FloatingPointShortest));
}

void JsonWriter::fixed(double value, int decimals) {
  if (!std::isfinite(value)) return decimal(value);
  char text[TextFormat::DateTextCapacity];
  char* end = TextFormat::writeFixed(text, value, decimals);
  // Numbers below 0.01 or from a million on may be written with an exponent:
  // those go the long way, through the number the digits name.
  const double magnitude = std::fabs(value);
  if ((magnitude < 0.01 && magnitude > 0) || magnitude >= 1e6) return decimal(QByteArray(text, end - text).toDouble());
  beforeValue();
  // The shortest text of a number of a few decimals is its decimals without the trailing zeros.
  if (decimals > 0) {
    while (end[-1] == '0') --end;
    if (end[-1] == '.') --end;
  }
  out_.put(QByteArrayView(text, end - text));
}

void JsonWriter::boolean(bool value) {
  beforeValue();
  out_.put(value ? QByteArrayView("true") : QByteArrayView("false"));
}

void JsonWriter::null() {
  beforeValue();
  out_.put("null");
}

void JsonWriter::date(const DayCount::CivilDate& value) {
  beforeValue();
  out_.put('"');
  out_.isoDate(value);
  out_.put('"');
}

void JsonWriter::time(const DayCount::ClockTime& value) {
  beforeValue();
  out_.put('"');
  out_.clockTime(value);
  out_.put('"');
}
