#include "viewer/CsvWriter.h"

#include <QString>

#include "viewer/ExportOutput.h"

using namespace Qt::StringLiterals;

namespace {

bool needsQuotes(QStringView value) {
  for (QChar c : value)
    if (c == u',' || c == u'"' || c == u'\r' || c == u'\n') return true;
  return false;
}

}  // namespace

CsvWriter::CsvWriter(ExportOutput& out, TextEncoding encoding) : out_(out), encoding_(encoding) {
  if (encoding_ == TextEncoding::Utf8) out_.put("\xEF\xBB\xBF");
}

void CsvWriter::separate() {
  if (rowStarted_) out_.put(',');
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
  out_.put(field(value));
}

void CsvWriter::encoded(QByteArrayView field) {
  separate();
  out_.put(field);
}

void CsvWriter::number(long long value) {
  separate();
  out_.number(value);
}

void CsvWriter::fixed(double value, int decimals) {
  separate();
  out_.fixed(value, decimals);
}

void CsvWriter::empty() { separate(); }

void CsvWriter::date(const DayCount::CivilDate& value) {
  separate();
  out_.isoDate(value);
}

void CsvWriter::time(const DayCount::ClockTime& value) {
  separate();
  out_.clockTime(value);
}

void CsvWriter::endRow() {
  out_.put("\r\n");
  rowStarted_ = false;
}
