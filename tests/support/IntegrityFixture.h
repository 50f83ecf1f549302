#pragma once

// Record files whose every run tells its line number back, and the fixture of
// the loader's integrity tests: a run shown twice, missing or out of order is
// seen.

#include <gtest/gtest.h>

#include <QFile>
#include <QString>

#include <string>

#include "records/LoaderFixture.h"

// Line n of a file in which every run has its own second: the run tells its
// line number back, so a run shown twice or missing is seen.
inline std::string numberedLine(int n) {
  const int day = n / 86400;
  return recordLine(static_cast<PracticeMode>(n % 4), 2001 + day / 336, 1 + day / 28 % 12, 1 + day % 28, n / 3600 % 24,
                    n / 60 % 60, n % 60, 100 + n % 500, n % 30);
}

inline std::string numberedLines(int first, int count) {
  std::string text;
  for (int n = first; n < first + count; ++n) text += numberedLine(n);
  return text;
}

inline int lineNumberOf(const PracticeRecord& r) {
  const int day = (r.Year - 2001) * 336 + (r.Month - 1) * 28 + (r.Day - 1);
  return day * 86400 + r.Hour * 3600 + r.Min * 60 + r.Sec;
}

// True when the records are lines 0, 1, 2 ... in order, each once.
inline ::testing::AssertionResult areLinesInOrder(const LoadedRecords& records) {
  for (std::size_t i = 0; i < records.AllRecords.size(); ++i)
    if (lineNumberOf(*records.AllRecords[i]) != static_cast<int>(i))
      return ::testing::AssertionFailure() << "run " << i << " is line " << lineNumberOf(*records.AllRecords[i])
                                           << " of " << records.AllRecords.size();
  return ::testing::AssertionSuccess();
}

inline void appendTo(const QString& path, const std::string& text) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::Append));
  ASSERT_EQ(f.write(bytesOf(text)), static_cast<qint64>(text.size()));
}

class RecordLoaderIntegrity : public LoaderFixture {
 protected:
  QString dataPath() const { return dir.file(u"test.hok"_s); }

  // The last load after the appends have stopped (one more if the one before
  // met a line half written) shows the file's lines, each once.
  void expectEveryRunOnce(int lines) {
    LoadOutcome outcome = load();
    for (int i = 0; i < 2 && outcome == LoadOutcome::TailFailed; ++i) outcome = load();
    ASSERT_EQ(outcome, LoadOutcome::Loaded);
    EXPECT_EQ(records.AllRecords.size(), static_cast<std::size_t>(lines));
    EXPECT_TRUE(areLinesInOrder(records));
  }
};
