#include "records/LoaderMessages.h"

#include <QFileInfo>

#include "platform/NativePath.h"

using namespace Qt::StringLiterals;

namespace LoaderMessages {

namespace {

// A path in a message, as the system writes paths (on Windows with "\").
QString shown(const QString& path) { return NativePath::toNative(path); }

}  // namespace

QString readingCaption() { return u"ﾌｧｲﾙ読み込み中..."_s; }

QString writingCaption() { return u"ﾃﾞｰﾀﾌｧｲﾙ作成中..."_s; }

QString chooseRecordFile() { return u"最初に記録ファイルを選択してください。"_s; }

QString badLine(const QString& recordPath, std::int64_t lineNumber) {
  return shown(recordPath) + u"ファイルのデータの "_s + QString::number(lineNumber) + u" 行目に誤りがありました。"_s;
}

QString badTail() {
  return u"ﾃﾞｰﾀに誤りがありました。\n"
         u"メニューから[ﾌｧｲﾙ]-[圧縮ﾃﾞｰﾀ作成]で\n"
         u"ﾃﾞｰﾀﾌｧｲﾙを作り直してください。"_s;
}

QString damagedDataFile() { return u"圧縮ﾃﾞｰﾀが壊れていたため、記録ﾌｧｲﾙから作り直します。"_s; }

QString cannotRead(const QString& path, const QString& reason) {
  QString text = shown(path) + u" を読み込めません。"_s;
  if (!reason.isEmpty()) text += u'\n' + reason;
  return text;
}

QString cannotWrite(const QString& path, const QString& reason) {
  QString text = shown(path) + u" に書き込めません"_s;
  if (!reason.isEmpty()) text += u'\n' + reason;
  return text;
}

QString notARecordFile(const QString& path, const QString& reason) {
  return shown(path) + u" を記録ファイルとして読み込めません。\n"_s + reason + u"\n記録ファイルを選択してください。"_s;
}

QString moreBadLines(const QString& recordPath, std::int64_t count) {
  return shown(recordPath) + u"ファイルのデータには、ほかにも "_s + QString::number(count) +
         u" 行の誤りがありました。"_s;
}

QString dataFileIsRecordFile(const QString& recordPath, const QString& dataPath) {
  const QString what =
      QFileInfo(dataPath).fileName() == QFileInfo(recordPath).fileName()
          ? u"記録ファイル %1 の名前は圧縮ﾃﾞｰﾀの名前(拡張子 .hok)と同じです。\n"_s.arg(shown(recordPath))
          : u"圧縮ﾃﾞｰﾀのファイル %1 は記録ファイル %2 そのものです。\n"_s.arg(shown(dataPath), shown(recordPath));
  return what + u"記録ファイルを守るため圧縮ﾃﾞｰﾀは作らず、記録ファイル全体を読み込みます。"_s;
}

QString outOfMemory(const QString& recordPath) {
  return shown(recordPath) + u" を読み込むためのメモリが足りません。\n記録ファイルと圧縮ﾃﾞｰﾀは変更していません。"_s;
}

QString waitingCaption() { return u"圧縮ﾃﾞｰﾀの更新を待っています..."_s; }

}  // namespace LoaderMessages
