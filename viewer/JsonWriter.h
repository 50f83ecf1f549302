#pragma once

#include <QByteArray>
#include <QLatin1StringView>
#include <QStringView>

#include <vector>

#include "records/DayCount.h"

class ExportOutput;

// One JSON document, written value by value to the output as QJsonDocument
// writes it indented: four spaces per level, each member and element on its
// own line, an empty object or list as "{" and "}" on lines of their own, a
// line break at the end, UTF-8 with only quotes, backslashes and control
// characters escaped. Numbers come out as QJsonDocument writes them too.
// Members are written in the order given: the caller gives them in
// alphabetical order, as QJsonObject keeps them.
class JsonWriter {
 public:
  explicit JsonWriter(ExportOutput& out);

  void beginObject();
  void beginArray();
  // Closes the innermost object or list; after the outermost, the document.
  void end();

  // The name of the next member of the object being written.
  void key(QStringView name);
  // The same for a name of plain ASCII letters, digits and underscores.
  void key(QLatin1StringView name);

  void string(QStringView text);
  // A string value made once by `encoded` and written many times.
  void encodedString(QByteArrayView encoded);
  static QByteArray encoded(QStringView text);
  void number(long long value);
  void decimal(double value);
  // The value rounded to `decimals` decimals (TextFormat::fixed), written as
  // decimal() writes that number: an integer without a point, otherwise
  // without trailing zeros.
  void fixed(double value, int decimals);
  void boolean(bool value);
  void null();
  // "yyyy-mm-dd" and "hh:mm:ss" strings.
  void date(const DayCount::CivilDate& value);
  void time(const DayCount::ClockTime& value);

 private:
  struct Level {
    char closing;
    bool filled;
  };
  void nextLine();  // the separator and indentation of the next member or element
  void beforeValue();
  void begin(char opening, char closing);
  void quoted(QStringView text);

  ExportOutput& out_;
  std::vector<Level> levels_;
  bool afterKey_ = false;
};
