#pragma once

#include <QString>

#include <cstdint>

// Captions and messages of the record loader.
namespace LoaderMessages {

QString readingCaption();    // "ﾌｧｲﾙ読み込み中..."
QString writingCaption();    // "ﾃﾞｰﾀﾌｧｲﾙ作成中..."
QString chooseRecordFile();  // "最初に記録ファイルを選択してください。"
QString badLine(const QString& recordPath, std::int64_t lineNumber);
QString badTail();  // the three-line request to rebuild the data file
QString damagedDataFile();
QString cannotRead(const QString& path, const QString& reason);
QString cannotWrite(const QString& path, const QString& reason = QString());
// The record path names something that cannot be read as a record file.
QString notARecordFile(const QString& path, const QString& reason);
// After the first bad-line messages of a load: how many more lines were bad.
QString moreBadLines(const QString& recordPath, std::int64_t count);
// The data file's path leads to the record file itself.
QString dataFileIsRecordFile(const QString& recordPath, const QString& dataPath);
QString outOfMemory(const QString& recordPath);
QString waitingCaption();  // while another program updates the data file

}  // namespace LoaderMessages
