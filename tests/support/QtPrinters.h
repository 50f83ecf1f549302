#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <ostream>

// Readable Qt strings in GoogleTest's failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

inline void PrintTo(const QStringList& lines, std::ostream* out) {
  *out << "{\n";
  for (const QString& line : lines) *out << "  \"" << line.toStdString() << "\"\n";
  *out << '}';
}

inline void PrintTo(const QVariant& value, std::ostream* out) {
  *out << value.typeName() << ' ' << value.toString().toStdString();
}
