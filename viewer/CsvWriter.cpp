#include "viewer/CsvWriter.h"

#include <QString>

#include <charconv>

using namespace Qt::StringLiterals;

namespace {

bool needsQuotes(QStringView value) {
  for (QChar c : value)
    if (c == u',' || c == u'"' || c == u'\r' || c == u'\n') return true;
  return false;
}

}  // namespace

CsvWriter::CsvWriter(TextEncoding encoding) : encoding_(encoding) {
  if (encoding_ == TextEncoding::Utf8) bytes_ += "\xEF\xBB\xBF";
}

void CsvWriter::separate() {
  if (rowStarted_) bytes_ += ',';
  rowStarted_ = true;
}

QByteArray CsvWriter::field(QStringView value) {
  if (!needsQuotes(value)) return EncodedText::encode(value, encoding_, &replaced_);
  QString quoted = u"\""_s;
  for (QChar c : value) {
    if (c == u'"') quoted += u'"';
    quoted += c;
  }
  quoted += u'"';
  return EncodedText::encode(quoted, encoding_, &replaced_);
}

void CsvWriter::text(QStringView value) {
  separate();
  bytes_ += field(value);
}

void CsvWriter::encoded(QByteArrayView field) {
  separate();
  bytes_ += field;
}

void CsvWriter::number(long long value) {
  separate();
  char buffer[24];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  bytes_.append(buffer, end - buffer);
}

void CsvWriter::empty() { separate(); }

// At least `width` digits, zero-padded; a negative value keeps its sign.
void CsvWriter::digits(int value, int width) {
  char buffer[16];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value < 0 ? -value : value).ptr;
  if (value < 0) bytes_ += '-';
  for (auto length = end - buffer; length < width; ++length) bytes_ += '0';
  bytes_.append(buffer, end - buffer);
}

void CsvWriter::date(const DayCount::CivilDate& value) {
  separate();
  digits(value.year, 4);
  bytes_ += '-';
  digits(value.month, 2);
  bytes_ += '-';
  digits(value.day, 2);
}

void CsvWriter::time(const DayCount::ClockTime& value) {
  separate();
  digits(value.hour, 2);
  bytes_ += ':';
  digits(value.min, 2);
  bytes_ += ':';
  digits(value.sec, 2);
}

void CsvWriter::endRow() {
  bytes_ += "\r\n";
  rowStarted_ = false;
}
