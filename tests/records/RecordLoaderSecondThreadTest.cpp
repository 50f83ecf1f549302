#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QFile>

#include <string>

#include "records/LoaderFixture.h"

// A full load of a large file parses its second half on a second thread. Its
// outcome must be the one-thread load's in every part, whatever the lines of
// the first half are: lines of other lengths or line ends, dropped lines,
// more kept lines than 46-byte slots, an end-of-text byte on either side.
namespace {

class RecordLoaderSecondThreadTest : public LoaderFixture {
 protected:
  struct Outcome {
    LoadOutcome outcome;
    std::vector<PracticeRecord> runs;
    std::array<std::uint32_t, PracticeModeCount> modeCounts;
    std::int64_t parsedLines, badLines;
    bool cacheKept;
    QStringList messages;
    QByteArray dataFile;
    qint64 storedSize;
    bool operator==(const Outcome&) const = default;
  };

  Outcome fullLoad(std::int64_t secondThreadFrom) {
    QFile::remove(dir.file(u"test.hok"_s));
    settings.writeStoredSize({recordPath, recordPath}, 0);
    this->secondThreadFrom = secondThreadFrom;
    const LoadOutcome outcome = load();
    EXPECT_EQ(summary.kind, LoadKind::Full);
    for (std::size_t i = 0; i < records.AllRecords.size(); ++i)
      if (records.AllRecords[i] != &records.RecordStore[i]) ADD_FAILURE() << "reference " << i;
    return {outcome,           loaded(),          records.ModeCounts, summary.parsedLines, summary.badLines,
            summary.cacheKept, feedback.messages, dataFile(),         storedSize()};
  }
};

// A usual line cut to 42 bytes (the miss count one digit) and ended by a CR alone: 43 bytes, kept.
std::string shortLine(int i) {
  const std::string line = goodLines(1, 100 + i).substr(0, 41);
  return line + "3\r";
}

TEST_F(RecordLoaderSecondThreadTest, SameOutcomeAsOneThread) {
  const std::string lines = goodLines(2001);
  const auto at = [](int line) { return static_cast<std::size_t>(line) * 46; };
  std::string moreRunsThanSlots;  // 46 lines of 43 bytes fill 43 slots of 46 before the second half
  for (int i = 0; i < 46; ++i) moreRunsThanSlots += shortLine(i);
  moreRunsThanSlots += goodLines(43);
  struct Case {
    const char* name;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"usual lines, odd count", lines},
      {"usual lines, even count", lines.substr(0, at(2000))},
      {"a dropped line in the first half", std::string(lines).replace(at(10) + 10, 2, "32")},
      {"a dropped line in the second half", std::string(lines).replace(at(1500) + 2, 4, "abcd")},
      {"a line of another form in the first half", std::string(lines).replace(at(7) + 30, 1, "+")},
      {"a shorter line in the first half", std::string(lines).erase(at(300) + 20, 10)},
      {"an LF line end in the first half", std::string(lines).erase(at(5) + 44, 1)},
      {"more kept lines than slots before the second half", moreRunsThanSlots},
      {"end of text in the first half", std::string(lines).replace(at(600), 1, "\x1A")},
      {"end of text where the second half begins", std::string(lines).replace(at(1000), 1, "\x1A")},
      {"end of text in the second half", std::string(lines).replace(at(1700) + 5, 1, "\x1A")},
      {"a last line without its line end", lines + goodLines(1).substr(0, 44)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    writeRecordFile(c.text);
    const Outcome one = fullLoad(0);
    const Outcome two = fullLoad(1);
    EXPECT_EQ(one.outcome, LoadOutcome::Loaded);
    EXPECT_GT(one.runs.size(), 40u);
    EXPECT_TRUE(one == two) << "runs " << one.runs.size() << " / " << two.runs.size() << ", lines " << one.parsedLines
                            << " / " << two.parsedLines << ", messages " << one.messages.join(u" | "_s).toStdString()
                            << " / " << two.messages.join(u" | "_s).toStdString();
  }
}

// A cached load of many entries decodes the second half on a second thread:
// the same runs, counts and references, and a damaged entry in either half
// gives the one-thread outcome (the message and a full load).
TEST_F(RecordLoaderSecondThreadTest, CachedLoadDecodesInTwoHalvesAlike) {
  writeRecordFile(goodLines(2001));
  const Outcome full = fullLoad(0);
  const QByteArray entries = dataFile();
  const std::vector<std::pair<const char*, QByteArray>> dataFiles = {
      {"sound", entries},
      {"damaged in the first half", withEntryByte(entries, 3, DataFileEntry::ModeAt, 9)},
      {"damaged in the second half", withEntryByte(entries, 1999, DataFileEntry::HourAt, 30)},
  };
  for (const auto& [name, bytes] : dataFiles) {
    SCOPED_TRACE(name);
    std::vector<std::pair<LoadOutcome, QStringList>> outcomes;
    for (const std::int64_t from : {std::int64_t{0}, std::int64_t{1}}) {
      dir.write(u"test.hok"_s, bytes);
      settings.writeStoredSize({recordPath, recordPath}, 2001 * 46);
      secondThreadFrom = from;
      outcomes.emplace_back(load(), feedback.messages);
      EXPECT_EQ(loaded(), full.runs);
      EXPECT_EQ(records.ModeCounts, full.modeCounts);
      for (std::size_t i = 0; i < records.AllRecords.size(); ++i)
        if (records.AllRecords[i] != &records.RecordStore[i]) ADD_FAILURE() << "reference " << i;
      EXPECT_EQ(summary.kind, bytes == entries ? LoadKind::Incremental : LoadKind::Full);
    }
    EXPECT_EQ(outcomes[0], outcomes[1]);
  }
}

}  // namespace
