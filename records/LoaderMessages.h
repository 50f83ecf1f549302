#pragma once

#include <QString>

#include <cstdint>

// Captions and messages of the record loader.
namespace LoaderMessages {

QString readingCaption();       // "ﾌｧｲﾙ読み込み中..."
QString writingCaption();       // "ﾃﾞｰﾀﾌｧｲﾙ作成中..."
QString chooseRecordFile();     // "最初に記録ファイルを選択してください。"
QString badLine(const QString& recordPath, std::int64_t lineNumber);
QString badTail();              // the three-line request to rebuild the data file
QString damagedDataFile();
QString cannotRead(const QString& path, const QString& reason);
QString cannotWrite(const QString& path);

}  // namespace LoaderMessages
