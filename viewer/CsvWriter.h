#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

#include "records/DayCount.h"
#include "viewer/EncodedText.h"

class ExportOutput;

// A table as comma-separated values (RFC 4180): fields with a comma, a double
// quote, CR or LF are quoted and their quotes doubled, and every row ends in
// CR LF. UTF-8 text starts with a byte-order mark, as spreadsheet programs
// need it to tell UTF-8 from the system's code page; Shift-JIS text has none.
// The rows go to the output as they are written.
class CsvWriter {
 public:
  CsvWriter(ExportOutput& out, TextEncoding encoding);

  void text(QStringView value);
  void number(long long value);
  // A value with `decimals` decimals (TextFormat::fixed).
  void fixed(double value, int decimals);
  void empty();
  // "yyyy-mm-dd" and "hh:mm:ss".
  void date(const DayCount::CivilDate& value);
  void time(const DayCount::ClockTime& value);
  // A field made once by `field` and written many times.
  void encoded(QByteArrayView field);
  void endRow();

  // A text field in this writer's encoding, quoted where needed.
  QByteArray field(QStringView value);

  // Characters Shift-JIS could not hold, written as "?".
  int replaced() const { return replaced_; }

 private:
  void separate();

  ExportOutput& out_;
  TextEncoding encoding_;
  bool rowStarted_ = false;
  int replaced_ = 0;
};
