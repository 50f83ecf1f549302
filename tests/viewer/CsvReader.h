#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Reads comma-separated values strictly as RFC 4180 writes them: rows end in
// CR LF (the last one too), a field with a comma, quote, CR or LF is quoted
// and its quotes doubled. Anything else is no CSV: nothing comes back.
inline std::optional<std::vector<QStringList>> readCsv(const QString& text) {
  std::vector<QStringList> rows(1);
  for (qsizetype i = 0; i < text.size();) {
    QString field;
    if (text[i] == u'"') {
      while (++i < text.size() && (text[i] != u'"' || (i + 1 < text.size() && text[++i] == u'"'))) field += text[i];
      if (i >= text.size() || text[i] == u'"') return std::nullopt;  // no closing quote
    } else {
      for (; i < text.size() && text[i] != u',' && text[i] != u'\r'; ++i) {
        if (text[i] == u'"' || text[i] == u'\n') return std::nullopt;
        field += text[i];
      }
    }
    rows.back() << field;
    if (i < text.size() && text[i] == u',') {
      ++i;
      continue;
    }
    if (i + 1 >= text.size() || text[i] != u'\r' || text[i + 1] != u'\n') return std::nullopt;
    i += 2;
    rows.emplace_back();
  }
  if (!rows.back().isEmpty()) return std::nullopt;
  rows.pop_back();
  return rows;
}
