// The export of the runs and the views, read back with a strict CSV reader and
// QJsonDocument and compared with the loaded runs and the panes' text; the
// JSON as QJsonDocument writes it; the devices that fail; the typist's files
// that are never a target.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <functional>
#include <new>
#include <random>

#include "analysis/PracticeCalendar.h"
#include "analysis/TextFormat.h"
#include "analysis/ViewTexts.h"
#include "platform/NativePath.h"
#include "settings/SettingsFile.h"
#include "support/QtPrinters.h"
#include "support/RecordingFeedback.h"
#include "support/TypistFile.h"
#include "viewer/CsvReader.h"
#include "viewer/CsvWriter.h"
#include "viewer/ExportOutput.h"
#include "viewer/JsonWriter.h"
#include "viewer/ViewExport.h"
#include "viewer/ViewerCore.h"

using namespace Qt::StringLiterals;

namespace {

// What `write` writes to a device.
template <typename Write>
QByteArray written(Write write) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(write(buffer).written());
  return buffer.data();
}

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
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ExportOutput out(buffer);
    CsvWriter csv(out, c.encoding);
    csv.text(c.field);
    csv.number(-7);
    csv.endRow();
    EXPECT_EQ(csv.replaced(), c.replaced);
    ASSERT_TRUE(out.flush());
    const QByteArray bytes = buffer.data();
    if (c.encoding == TextEncoding::ShiftJis) {
      EXPECT_EQ(bytes, c.bytes);
    } else {
      EXPECT_EQ(bytes, "\xEF\xBB\xBF" + c.bytes);
      EXPECT_EQ(csvRows(bytes), (std::vector{QStringList{c.field, u"-7"_s}}));
    }
  }
}

// Columns and lines written in place go out whole across the buffer's
// flushes, and a column wider than half the buffer takes its blanks first.
TEST(ExportOutput, ColumnsAndLinesInPlaceCrossEveryFlush) {
  const struct {
    long long number;
    double fixed;
    int width;
  } columns[] = {{7, 0.125, 5}, {-123456, -2.5, 3}, {0, 99.995, 16}, {42, 1e9, 17}, {-1, -0.004, 40000}};
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  ExportOutput out(buffer);
  QByteArray expected;
  for (int line = 0; line < 3000; ++line) {
    for (const auto& c : columns) {
      out.number(c.number + line, c.width);
      out.fixed(c.fixed * line, 2, c.width);
      expected += TextFormat::number(c.number + line, c.width).toLatin1();
      expected += TextFormat::fixed2(c.fixed * line, c.width).toLatin1();
    }
    char* at = out.reserve(64);
    at = TextFormat::writeRightAligned(at, TextFormat::NumberText(line), 8);
    *at++ = '\n';
    out.wrote(at);
    expected += TextFormat::number(line, 8).toLatin1() + '\n';
  }
  ASSERT_TRUE(out.flush());
  EXPECT_GT(expected.size(), 16 * 64 * 1024);
  EXPECT_EQ(buffer.data(), expected);
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
  const std::vector<QStringList> rows = csvRows(written(
      [this](QIODevice& out) { return ViewExport::writeRunsCsv(out, viewer.runsInView().runs, TextEncoding::Utf8); }));
  const QJsonArray json = QJsonDocument::fromJson(written(
      [this](QIODevice& out) { return ViewExport::writeJson(out, viewer, {}, true, u"f"_s); }))[u"runs"_s]
                              .toArray();
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
    const QJsonObject json = QJsonDocument::fromJson(written([&](QIODevice& out) {
                               return ViewExport::writeJson(out, viewer, all, false, u"f"_s);
                             })).object();
    for (View view : all) {
      SCOPED_TRACE(testing::Message() << "case " << (&s - cases) << ", view " << view);
      const std::vector<QStringList> rows = csvRows(
          written([&](QIODevice& out) { return ViewExport::writeViewCsv(out, viewer, view, TextEncoding::Utf8); }));
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

// Writes a value through the writer, member by member in QJsonObject's order.
void writeValue(JsonWriter& json, const QJsonValue& value) {
  if (value.isObject()) {
    json.beginObject();
    const QJsonObject object = value.toObject();
    for (auto member = object.begin(); member != object.end(); ++member) {
      json.key(member.key());
      writeValue(json, member.value());
    }
    json.end();
  } else if (value.isArray()) {
    json.beginArray();
    for (const QJsonValue& element : value.toArray()) writeValue(json, element);
    json.end();
  } else if (value.isString()) {
    json.string(value.toString());
  } else if (value.isDouble()) {
    json.decimal(value.toDouble());
  } else if (value.isBool()) {
    json.boolean(value.toBool());
  } else {
    json.null();
  }
}

TEST(JsonWriter, WritesWhatQJsonDocumentWrites) {
  const double exact = 9007199254740992.0;  // 2^53
  const QJsonArray numbers{
      0.0,         -0.0,        3.0,   -7.0,        1.48,      0.76, 0.1 + 0.2, 99.99,
      5e-7,        1e15,        1e16,  3e15,        1234560e6, 1e21, -exact,    123456789012345678.0,
      exact - 1.0, exact + 2.0, exact, 2147483648.0};
  const QJsonArray strings{
      u""_s,  u"記録.ｷﾛｸ ローマ字"_s,        u"\"quoted\" back\\slash/"_s, u"\b\f\n\r\t\x01\x1f\x7f"_s,
      u"😀"_s, QString(QChar(0xD83D)) + u'x', QString(QChar(0xDE00))};
  const QJsonObject document{
      {u"numbers"_s, numbers},
      {u"strings"_s, strings},
      {u"flags"_s, QJsonArray{true, false, QJsonValue()}},
      {u"empty"_s, QJsonObject{{u"list"_s, QJsonArray()}, {u"object"_s, QJsonObject()}}},
      {u"nested"_s, QJsonArray{QJsonArray{QJsonObject{{u"a"_s, 1}}}, QJsonObject{{u"b"_s, QJsonArray{2}}}}},
      {u"名前"_s, u"値"_s}};
  for (const QJsonDocument& expected :
       {QJsonDocument(document), QJsonDocument(numbers), QJsonDocument(QJsonObject()), QJsonDocument(QJsonArray())}) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ExportOutput out(buffer);
    JsonWriter json(out);
    writeValue(json, expected.isObject() ? QJsonValue(expected.object()) : QJsonValue(expected.array()));
    ASSERT_TRUE(out.flush());
    EXPECT_EQ(buffer.data(), expected.toJson(QJsonDocument::Indented));
  }
}

// A value of a few decimals is written as QJsonDocument writes the rounded
// number, without parsing it back from text; CSV and text take the same digits.
TEST(JsonWriter, FixedWritesTheRoundedNumberAsQJsonDocumentDoes) {
  std::vector<double> values{0.0,        -0.0,   0.00004,  0.00005,  0.0001,   0.00015, 0.99995,   1.0,         200.0,
                             233.333333, 0.0148, -0.00004, -0.00005, -1.23456, 4.5,     1e6 + 0.5, 123456.78905};
  std::mt19937 random(3);
  for (int i = 0; i < 2000; ++i) values.push_back(std::uniform_real_distribution<double>(-2.0, 1000.0)(random));
  for (int i = -300; i <= 300; ++i) values.push_back(i / 10000.0 + 0.00002);  // about 0: the exponents
  for (int decimals : {1, 2, 4}) {
    QJsonArray expected;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ExportOutput out(buffer);
    JsonWriter json(out);
    json.beginArray();
    for (double v : values) {
      expected.append(TextFormat::fixed(v, decimals).toDouble());
      json.fixed(v, decimals);
    }
    json.end();
    ASSERT_TRUE(out.flush());
    ASSERT_EQ(buffer.data(), QJsonDocument(expected).toJson(QJsonDocument::Indented)) << "decimals " << decimals;

    QBuffer text;
    text.open(QIODevice::WriteOnly);
    ExportOutput written(text);
    for (double v : values) {
      written.fixed(v, decimals, 12);
      written.put('\n');
    }
    ASSERT_TRUE(written.flush());
    QString joined;
    for (double v : values) joined += TextFormat::fixed(v, decimals).rightJustified(12, u' ') + u'\n';
    EXPECT_EQ(QString::fromLatin1(text.data()), joined) << "decimals " << decimals;
  }
}

// The document written as it goes is the one QJsonDocument writes of the same
// values, as the export wrote it when it built the whole document first: every
// member, with the lists and objects that are empty or null under some settings.
TEST_F(ViewExportTest, JsonIsTheDocumentQJsonDocumentWrites) {
  const QList<View> views{ViewBest, ViewHistory, ViewGraph, ViewAverage, ViewMiss, ViewBest};
  ViewSettings shown;
  shown.now = QDateTime(QDate(2024, 7, 1), QTime(8, 0));
  ViewSettings empty = shown;
  empty.noMiss = true, empty.mode = ModeSymbols, empty.minHits = 60000, empty.maxMiss = 0, empty.levelUpOnly = true;
  const auto& runs = viewer.records().AllRecords;
  const std::span<const PracticeRecord* const> all(runs.data(), runs.size());
  const PracticeCalendar calendars[] = {PracticeCalendar::build(all, ModeKana, QDate(2024, 6, 30)),
                                        PracticeCalendar::build(all, std::nullopt, QDate(2024, 7, 3)),
                                        PracticeCalendar::build({}, std::nullopt, QDate(2024, 7, 3))};
  for (const ViewSettings& s : {shown, empty}) {
    viewer.setSettings(s);
    viewer.recalculate(ViewHistory);
    viewer.recalculate(ViewAverage);
    for (const PracticeCalendar& calendar : calendars) {
      const QByteArray bytes = written([&](QIODevice& out) {
        return ViewExport::writeJson(out, viewer, views, true, u"記録 \"1\".ｷﾛｸ"_s, &calendar);
      });
      EXPECT_EQ(bytes, QJsonDocument::fromJson(bytes).toJson(QJsonDocument::Indented));
    }
  }
}

// Takes `room` bytes, then fails every write, or throws as an allocation that fails does.
class FailingDevice : public QIODevice {
 public:
  FailingDevice(qint64 room, bool throws) : room_(room), throws_(throws) { open(WriteOnly | Unbuffered); }
  int writesAfterFailure = 0;

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char*, qint64 size) override {
    if (failed_ || size > room_) {
      if (throws_) throw std::bad_alloc();
      writesAfterFailure += failed_ ? 1 : 0;
      failed_ = true;
      setErrorString(u"full"_s);
      return -1;
    }
    room_ -= size;
    return size;
  }

 private:
  qint64 room_;
  bool throws_;
  bool failed_ = false;
};

TEST_F(ViewExportTest, AFailedWriteOrAllocationEndsTheExport) {
  viewer.recalculate(ViewHistory);
  const auto& runs = viewer.records().AllRecords;
  const PracticeCalendar calendar =
      PracticeCalendar::build({runs.data(), runs.size()}, std::nullopt, QDate(2024, 7, 1));
  const std::function<ViewExport::Result(QIODevice&)> exports[] = {
      [&](QIODevice& out) { return ViewExport::writeRunsCsv(out, viewer.runsInView().runs, TextEncoding::ShiftJis); },
      [&](QIODevice& out) { return ViewExport::writeViewCsv(out, viewer, ViewHistory, TextEncoding::Utf8); },
      [&](QIODevice& out) { return ViewExport::writeCalendarCsv(out, calendar, TextEncoding::Utf8); },
      [&](QIODevice& out) { return ViewExport::writeJson(out, viewer, {ViewHistory}, true, u"f"_s, &calendar); },
  };
  for (const auto& write : exports) {
    FailingDevice full(0, false);
    const ViewExport::Result result = write(full);
    EXPECT_EQ(result.outcome, ViewExport::Result::Outcome::WriteFailed);
    EXPECT_EQ(result.error, u"full"_s);
    FailingDevice noMemory(0, true);
    EXPECT_EQ(write(noMemory).outcome, ViewExport::Result::Outcome::OutOfMemory);
  }
  // The runs went out in pieces until one failed; nothing more was given to the device.
  FailingDevice fullLater(100000, false);
  EXPECT_EQ(exports[3](fullLater).outcome, ViewExport::Result::Outcome::WriteFailed);
  EXPECT_EQ(fullLater.writesAfterFailure, 0);
}

// The record file, its data file (also before it exists) and the settings
// file are refused; other targets are not.
TEST(ExportTarget, TheTypistsOwnFilesAreNeverATarget) {
  using enum ExportTarget::KeptFile;
  TempDir dir;
  const QString record = dir.write(u"記録.ｷﾛｸ"_s, "R 2024/04/30  09:00:00  HIT = 200  MISS=   3\r\n");
  const QString settings = dir.write(u"hoko32.ini"_s, "[FileSize]\r\n");
  const auto kept = ExportTarget::KeptFiles::of(record, settings);
  const struct {
    QString target;
    ExportTarget::KeptFile file;
  } cases[] = {{record, RecordFile},
               {dir.file(u"記録.hok"_s), DataFile},
               {settings, SettingsFile},
               {dir.file(u"記録.csv"_s), None},
               {dir.file(u"other/記録.ｷﾛｸ"_s), None},
               {dir.file(u"other/記録.hok"_s), None}};
  for (const auto& c : cases) EXPECT_EQ(ExportTarget::clash(c.target, kept), c.file) << c.target.toStdString();
  dir.write(u"記録.hok"_s, QByteArray(10, '\0'));
  EXPECT_EQ(ExportTarget::clash(dir.file(u"記録.hok"_s), kept), DataFile);

  // The target as the window shows it (on Windows with "\"), the kept file likewise.
  const QString other = NativePath::toNative(dir.file(u"別名.ｷﾛｸ"_s));
  EXPECT_EQ(ExportTarget::refusal(other, RecordFile, kept),
            other + u" は記録ファイル "_s + NativePath::toNative(record) +
                u" と同じファイルです。\n記録ファイルを守るため、書き込みません。"_s);
  for (const QString& target : {settings, NativePath::toNative(settings)})
    EXPECT_EQ(ExportTarget::refusal(target, SettingsFile, kept),
              target + u" は設定ファイルです。\n設定ファイルを守るため、書き込みません。"_s);
}

// The record file under any name or link, and its data file through a link
// to its folder or one that leads nowhere until the data file is made.
TEST(ExportTarget, LinksLeadToTheFilesTheyName) {
  using enum ExportTarget::KeptFile;
  TempDir dir;
  const QString record = dir.write(u"記録.ｷﾛｸ"_s, "R 2024/04/30  09:00:00  HIT = 200  MISS=   3\r\n");
  const QString settings = dir.write(u"hoko32.ini"_s, "[FileSize]\r\n");
  const QString link = dir.file(u"link.ｷﾛｸ"_s);
  ASSERT_TRUE(QFile::link(record, link));
  if (!QFileInfo(link).isSymbolicLink()) {
    // QFile::link made a shortcut (Windows): a file of its own, which an export
    // replaces without touching the record file.
    EXPECT_EQ(ExportTarget::clash(link, ExportTarget::KeptFiles::of(record, settings)), None);
    GTEST_SKIP() << "no symbolic links here";
  }
  ASSERT_TRUE(QFile::link(dir.path(), dir.file(u"same-folder"_s)));
  ASSERT_TRUE(QFile::link(dir.file(u"記録.hok"_s), dir.file(u"to-data.csv"_s)));  // leads nowhere yet
  const auto kept = ExportTarget::KeptFiles::of(link, settings);
  const struct {
    QString target;
    ExportTarget::KeptFile file;
  } cases[] = {{record, RecordFile},
               {link, RecordFile},
               {dir.file(u"same-folder/記録.ｷﾛｸ"_s), RecordFile},
               {dir.file(u"記録.hok"_s), DataFile},
               {dir.file(u"same-folder/記録.hok"_s), DataFile},
               {dir.file(u"to-data.csv"_s), DataFile},
               {dir.file(u"same-folder/hoko32.ini"_s), SettingsFile},
               {dir.file(u"link.hok"_s), None},
               {dir.file(u"same-folder/other/記録.ｷﾛｸ"_s), None}};
  for (const auto& c : cases) EXPECT_EQ(ExportTarget::clash(c.target, kept), c.file) << c.target.toStdString();
  dir.write(u"記録.hok"_s, QByteArray(10, '\0'));
  EXPECT_EQ(ExportTarget::clash(dir.file(u"same-folder/記録.hok"_s), kept), DataFile);
  EXPECT_EQ(ExportTarget::clash(dir.file(u"to-data.csv"_s), kept), DataFile);

  EXPECT_EQ(ExportTarget::refusal(dir.file(u"same-folder/記録.ｷﾛｸ"_s), RecordFile, kept),
            dir.file(u"same-folder/記録.ｷﾛｸ"_s) + u" は記録ファイル "_s + NativePath::toNative(link) +
                u" と同じファイルです。\n記録ファイルを守るため、書き込みません。"_s);
}

}  // namespace
