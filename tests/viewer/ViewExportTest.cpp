// The export of the runs and the views, read back with a strict CSV reader and
// QJsonDocument and compared with the loaded runs and the panes' text.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include "analysis/TextFormat.h"
#include "analysis/ViewTexts.h"
#include "settings/SettingsFile.h"
#include "support/QtPrinters.h"
#include "support/RecordingFeedback.h"
#include "support/TypistFile.h"
#include "viewer/CsvReader.h"
#include "viewer/CsvWriter.h"
#include "viewer/ViewExport.h"
#include "viewer/ViewerCore.h"

using namespace Qt::StringLiterals;

namespace {

std::vector<QStringList> csvRows(const QByteArray& bytes) {
  EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
  return readCsv(QString::fromUtf8(bytes.mid(3))).value_or(std::vector<QStringList>{{u"no CSV"_s}});
}

// The dates, times and numbers of a text, in order.
QStringList values(const QString& text) {
  static const QRegularExpression value(u"\\d{4}-\\d\\d-\\d\\d|\\d\\d:\\d\\d:\\d\\d|\\d+(\\.\\d+)?"_s);
  QStringList found;
  for (const QRegularExpressionMatch& m : value.globalMatch(text)) found << m.captured();
  return found;
}

// A JSON object as the CSV row of these columns.
QStringList csvFields(const QJsonObject& row, const QStringList& columns) {
  QStringList fields;
  for (const QString& column : columns) {
    const QJsonValue v = row.value(column);
    fields << (v.isString()               ? v.toString()
               : !v.isDouble()            ? QString()
               : column == u"miss_rate"_s ? QString::number(v.toDouble(), 'f', 2)
                                          : QString::number(v.toInteger()));
  }
  return fields;
}

TEST(CsvWriter, QuotesWhatNeedsItAndCountsWhatShiftJisCannotHold) {
  const struct {
    QString field;
    TextEncoding encoding;
    QByteArray bytes;  // after the byte-order mark of UTF-8
    int replaced = 0;
  } cases[] = {
      {u"plain"_s, TextEncoding::Utf8, "plain,-7\r\n"},
      {u"a,\"b\""_s, TextEncoding::Utf8, "\"a,\"\"b\"\"\",-7\r\n"},
      {u"2\r\nlines\n"_s, TextEncoding::Utf8, "\"2\r\nlines\n\",-7\r\n"},
      {u"ｷﾛｸ,\""_s, TextEncoding::ShiftJis, "\"\xB7\xDB\xB8,\"\"\",-7\r\n"},
      {u"한😀x"_s, TextEncoding::ShiftJis, "??x,-7\r\n", 2},
  };
  for (const auto& c : cases) {
    CsvWriter csv(c.encoding);
    csv.text(c.field);
    csv.number(-7);
    csv.endRow();
    EXPECT_EQ(csv.replaced(), c.replaced);
    const QByteArray bytes = csv.take();
    if (c.encoding == TextEncoding::ShiftJis) {
      EXPECT_EQ(bytes, c.bytes);
    } else {
      EXPECT_EQ(bytes, "\xEF\xBB\xBF" + c.bytes);
      EXPECT_EQ(csvRows(bytes), (std::vector{QStringList{c.field, u"-7"_s}}));
    }
  }
}

class ViewExportTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(viewer.load(writeTypistFile(dir, 3000)), LoadOutcome::Loaded); }

  TempDir dir;
  SettingsFile settings{dir.file(u"hoko32.ini"_s)};
  RecordingFeedback feedback;
  ViewerCore viewer{settings, feedback};
};

TEST_F(ViewExportTest, RunsAreTheLoadedRuns) {
  const std::vector<QStringList> rows = csvRows(ViewExport::runsCsv(viewer.records(), TextEncoding::Utf8));
  const QJsonArray json = QJsonDocument::fromJson(ViewExport::json(viewer, {}, true, u"f"_s))[u"runs"_s].toArray();
  const auto& runs = viewer.records().AllRecords;
  ASSERT_EQ(rows.size(), runs.size() + 1);
  ASSERT_EQ(json.size(), static_cast<qsizetype>(runs.size()));
  EXPECT_EQ(rows[0].join(u','), u"mode,mode_name,date,time,hits,misses"_s);
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const PracticeRecord& r = *runs[i];
    const QStringList expected{QString::number(r.Mode),         modeTitleName(r.Mode),   TextFormat::isoDate(r.Date),
                               TextFormat::clockTime(r.Time()), QString::number(r.Hits), QString::number(r.Misses)};
    ASSERT_EQ(rows[i + 1], expected) << i;
    const QJsonObject run = json[static_cast<qsizetype>(i)].toObject();
    ASSERT_EQ(run[u"mode"_s].toObject(), (QJsonObject{{u"code"_s, r.Mode}, {u"name"_s, modeTitleName(r.Mode)}}));
    ASSERT_EQ(csvFields(run, {u"date"_s, u"time"_s, u"hits"_s, u"misses"_s}), expected.mid(2)) << i;
  }
}

// Under settings that each change what the panes show, every view's CSV rows
// carry the dates and numbers of its pane's lines, in their order, and its
// JSON the same values.
TEST_F(ViewExportTest, EveryViewExportsWhatItsPaneShows) {
  const auto with = [](auto change) {
    ViewSettings s;
    s.now = QDateTime(QDate(2024, 7, 1), QTime(8, 0));
    change(s);
    return s;
  };
  const ViewSettings cases[] = {
      with([](ViewSettings&) {}),
      with([](ViewSettings& s) { s.mode = ModeKana, s.levelUpOnly = true, s.recentLimit = 3, s.rankCount = 1000; }),
      with([](ViewSettings& s) { s.noMiss = true, s.period = AveragePeriod::Week, s.moreMissesAbove = false; }),
      with([](ViewSettings& s) {
        s.mode = ModeSymbols, s.period = AveragePeriod::Count, s.countInterval = 7, s.minHits = 150;
        s.maxMiss = 10, s.minHitMiss = 100, s.hitMark = u","_s, s.missMark = u"\""_s;
      }),
      with([](ViewSettings& s) { s.mode = ModeAlphabet, s.period = AveragePeriod::Month, s.recentLimit = 2; }),
      with([](ViewSettings& s) { s.period = AveragePeriod::Year, s.rankCount = 1, s.minHits = 60000; }),
  };
  const QList<View> all{ViewHistory, ViewGraph, ViewAverage, ViewMiss, ViewBest};
  const qsizetype headerLines[] = {3, 1, 2, 2, 2};
  for (const ViewSettings& s : cases) {
    viewer.setSettings(s);
    viewer.recalculate(ViewHistory);
    viewer.recalculate(ViewAverage);
    const QJsonObject json = QJsonDocument::fromJson(ViewExport::json(viewer, all, false, u"f"_s)).object();
    for (View view : all) {
      SCOPED_TRACE(testing::Message() << "case " << (&s - cases) << ", view " << view);
      const std::vector<QStringList> rows = csvRows(ViewExport::viewCsv(viewer, view, TextEncoding::Utf8));
      const QStringList columns = rows.front();
      const std::vector<QStringList> data(rows.begin() + 1, rows.end());

      QStringList lines;  // the pane's lines of data
      for (const QString& line : viewer.paneLines(view).mid(headerLines[view]))
        if (line != ViewTexts::noRecordsText() && (view != ViewMiss || line.contains(u"Hit:"_s))) lines << line;
      ASSERT_EQ(static_cast<std::size_t>(lines.size()), data.size());
      for (std::size_t i = 0; i < data.size(); ++i) {
        const QString& line = lines[static_cast<qsizetype>(i)];
        const QStringList& row = data[i];
        ASSERT_EQ(row.size(), columns.size());
        if (view == ViewGraph) {  // one mark per 5 hits, then per 5 misses
          EXPECT_EQ(line,
                    row[0] + u' ' + s.hitMark.repeated(row[1].toInt() / 5) + s.missMark.repeated(row[2].toInt() / 5));
        } else if (view == ViewAverage) {
          EXPECT_EQ(values(line.section(u" |"_s, 0, 0)), values(row.join(u' ')));
        } else if (view == ViewMiss) {  // the kind and the rank are the line's place
          EXPECT_EQ(values(line), values(row.mid(2).join(u' ')));
          const std::size_t fromEnd = data.size() - i;
          EXPECT_EQ(row[0], fromEnd > 2 ? u"worst_ten"_s : fromEnd == 2 ? u"worst_run"_s : u"total"_s);
        } else {
          EXPECT_EQ(values(line), values(row.join(u' ')));
        }
      }

      std::vector<QStringList> fromJson;
      const QJsonValue member = json[ViewExport::viewName(view)];
      for (const QJsonValue& row :
           member[u"worst_ten"_s].isArray() ? member[u"worst_ten"_s].toArray() : member.toArray())
        fromJson.push_back(csvFields(row.toObject(), columns));
      for (const QString& kind : {u"worst_run"_s, u"total"_s})
        if (member[kind].isObject()) fromJson.push_back(csvFields(member[kind].toObject(), columns));
      if (view == ViewMiss)  // the member names stand for the kind
        for (std::size_t i = 0; i < std::min(fromJson.size(), data.size()); ++i) fromJson[i][0] = data[i][0];
      EXPECT_EQ(fromJson, data);
    }
  }
}

}  // namespace
