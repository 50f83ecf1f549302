// The help: the compiled collection (pages, contents, keyword index, links)
// and the help window over it.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHelpContentModel>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextCursor>
#include <QtTest>

#include <memory>

#include "ui/HelpSystem.h"
#include "ui/MessageBoxes.h"

using namespace Qt::StringLiterals;

namespace {

const QString Base = u"qthelp://org.hoko32.help/doc/"_s;

// Every help topic number of the program and a phrase of the title of the
// page it must lead to.
const QList<std::pair<int, QString>> Topics = {
    {1000, u"メニュー一覧"_s},          {5000, u"ベストの足跡"_s},
    {6000, u"ベストのグラフ"_s},        {7000, u"平均の推移"_s},
    {8000, u"ミスワースト10"_s},        {10001, u"自己ベスト10"_s},
    {9000, u"フォルダの変更"_s},        {10000, u"再読み込み"_s},
    {10002, u"３Ｄグラフ"_s},           {10003, u"記録ファイルの選択"_s},
    {10004, u"圧縮データ"_s},           {10005, u"表示メニュー"_s},
    {10006, u"起動時に3Dグラフ表示"_s}, {10007, u"グラフ表示キャラクタ"_s},
    {10008, u"練習モード"_s},           {10009, u"お祝いの設定"_s},
    {11000, u"フォントの変更"_s},       {12000, u"背景色の変更"_s},
    {13000, u"表示回数の制限"_s},       {14000, u"コピー"_s},
    {15000, u"オプション"_s},           {22000, u"平均値の表示設定"_s},
};

QString pageName(const QUrl& url) { return QFileInfo(url.path()).fileName(); }

QString titleOf(const QString& html) {
  static const QRegularExpression title(u"<title>(.*)</title>"_s);
  return title.match(html).captured(1);
}

template <typename T>
T* part(QWidget* window, const QString& name) {
  T* found = window->findChild<T*>(name);
  if (!found) qFatal("the help window has no %s", qPrintable(name));
  return found;
}

}  // namespace

class HelpSystemTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void initTestCase();
  void cleanup();

  // The compiled collection.
  void topicsLeadToTheirPages();
  void everyPageIsInTheContentsAndEveryLinkResolves();
  void keywordsLeadToPagesThatExplainThem();

  // The help window.
  void contentsShowJapaneseTextWithTheStyleSheet();
  void topicsOpenTheirPageAndUnknownOnesTheContents();
  void keywordSearchFiltersTheIndexAndOpensThePage();
  void collectionIsFoundBesideTheProgramOrReported();

 private:
  QString html(const QString& page) const { return QString::fromUtf8(engine_->fileData(QUrl(Base + page))); }

  QString built_;
  std::unique_ptr<QHelpEngine> engine_;
  QStringList messages_;
};

void HelpSystemTest::initTestCase() {
  // The built collection, read-only as the program reads it.
  built_ = QStringLiteral(HOKO32_HELP_COLLECTION);
  QVERIFY2(QFileInfo(built_).isFile(), qPrintable(built_));
  engine_ = std::make_unique<QHelpEngine>(built_);
  engine_->setReadOnly(true);
  QSignalSpy contents(engine_->contentModel(), &QHelpContentModel::contentsCreated);
  QSignalSpy index(engine_->indexModel(), &QHelpIndexModel::indexCreated);
  QVERIFY2(engine_->setupData(), qPrintable(engine_->error()));
  QVERIFY(contents.count() > 0 || contents.wait(10000));
  QVERIFY(index.count() > 0 || index.wait(10000));

  // The help window looks for help/<name>.qhc beside the program, here the
  // test: the collection and its compressed help go there.
  const QString folder = QCoreApplication::applicationDirPath() + u"/help"_s;
  QVERIFY(QDir().mkpath(folder));
  for (const QString& name : {u"hoko32.qhc"_s, u"hoko32.qch"_s}) {
    const QString target = folder + u'/' + name;
    QFile::remove(target);
    QVERIFY2(QFile::copy(QFileInfo(built_).dir().filePath(name), target), qPrintable(target));
  }

  MessageBoxes::setHandler([this](const QString& text) { messages_.append(text); });
}

void HelpSystemTest::cleanup() { messages_.clear(); }

void HelpSystemTest::topicsLeadToTheirPages() {
  QSet<QString> pages;
  for (const auto& [topic, title] : Topics) {
    const QString page = HelpSystem::pageForTopic(topic);
    const QString text = html(page);
    QVERIFY2(!text.isEmpty(), qPrintable(u"%1 -> %2: not in the collection"_s.arg(topic).arg(page)));
    QVERIFY2(titleOf(text).contains(title), qPrintable(u"%1 -> %2 \"%3\""_s.arg(topic).arg(page, titleOf(text))));
    pages.insert(page);
  }
  QCOMPARE(pages.size(), Topics.size());  // no two topics share a page
}

void HelpSystemTest::everyPageIsInTheContentsAndEveryLinkResolves() {
  // The pages of the table of contents, and the links of its entries.
  QSet<QString> listed;
  QList<QUrl> links;
  const QHelpContentModel* model = engine_->contentModel();
  QList<QModelIndex> pending = {model->index(0, 0)};
  while (!pending.isEmpty()) {
    const QModelIndex item = pending.takeFirst();
    const QUrl url = model->contentItemAt(item)->url();
    listed.insert(pageName(url));
    links.append(url);
    for (int row = 0; row < model->rowCount(item); ++row) pending.append(model->index(row, 0, item));
  }

  const QString ns = engine_->registeredDocumentations().value(0);
  const QList<QUrl> files = engine_->files(ns, QString(), u"html"_s);
  QVERIFY(files.size() >= 25);
  static const QRegularExpression href(u"href=\"([^\"]+)\""_s);
  for (const QUrl& file : files) {
    QVERIFY2(listed.contains(pageName(file)), qPrintable(pageName(file) + u" is missing in the contents"_s));
    for (const QRegularExpressionMatch& match : href.globalMatch(QString::fromUtf8(engine_->fileData(file)))) {
      links.append(file.resolved(QUrl(match.captured(1))));
    }
  }

  // Every link of the contents and the pages reaches a page of the collection,
  // and its anchor, if any, is on that page.
  for (const QUrl& link : links) {
    QCOMPARE(link.scheme(), u"qthelp"_s);
    const QString target = QString::fromUtf8(engine_->fileData(link.adjusted(QUrl::RemoveFragment)));
    QVERIFY2(!target.isEmpty(), qPrintable(link.toString()));
    if (link.hasFragment()) {
      QVERIFY2(target.contains(u"name=\"%1\""_s.arg(link.fragment())) ||
                   target.contains(u"id=\"%1\""_s.arg(link.fragment())),
               qPrintable(link.toString()));
    }
  }
}

void HelpSystemTest::keywordsLeadToPagesThatExplainThem() {
  // The views, every menu item and the terms a user looks for.
  const QStringList required = {u"ベストの足跡"_s,
                                u"ベストのグラフ"_s,
                                u"平均の推移"_s,
                                u"ミスワースト10"_s,
                                u"自己ベスト10"_s,
                                u"記録ファイルの選択"_s,
                                u"フォルダの変更"_s,
                                u"再読み込み"_s,
                                u"圧縮ﾃﾞｰﾀ再作成"_s,
                                u"終了"_s,
                                u"ｺﾋﾟｰ"_s,
                                u"すべてｺﾋﾟｰ"_s,
                                u"３Ｄグラフ"_s,
                                u"起動時に3Dグラフ表示"_s,
                                u"ﾌｫﾝﾄの変更"_s,
                                u"背景色の変更"_s,
                                u"ｶﾗｰﾘｽﾄから選択"_s,
                                u"ｺﾓﾝﾀﾞｲｱﾛｸﾞから選択"_s,
                                u"グラフ表示キャラクタ"_s,
                                u"表示回数の制限"_s,
                                u"日平均"_s,
                                u"週平均"_s,
                                u"月平均"_s,
                                u"年平均"_s,
                                u"平均の条件設定"_s,
                                u"再計算"_s,
                                u"ヒント表示の有無"_s,
                                u"ノーミスのみ"_s,
                                u"レベルアップのみ"_s,
                                u"お祝いの設定"_s,
                                u"ヘルプ"_s,
                                u"キーワードで検索"_s,
                                u"バージョン情報"_s,
                                u"レベル"_s,
                                u"ノーミス"_s,
                                u"圧縮データ"_s,
                                u"ミス率"_s,
                                u"平均"_s,
                                u"ランキング"_s,
                                u"お祝い"_s,
                                u"ファンファーレ"_s,
                                u"背景色"_s,
                                u"フォント"_s,
                                u"設定ファイル"_s,
                                u"記録ファイル"_s,
                                u"練習モード"_s};
  const QStringList keywords = engine_->indexModel()->stringList();
  for (const QString& word : required) QVERIFY2(keywords.contains(word), qPrintable(word));

  // Each keyword's page names it.
  for (const QString& keyword : keywords) {
    const QList<QHelpLink> documents = engine_->documentsForKeyword(keyword);
    QVERIFY2(!documents.isEmpty(), qPrintable(keyword));
    const QString page = QString::fromUtf8(engine_->fileData(documents.first().url.adjusted(QUrl::RemoveFragment)));
    QVERIFY2(page.contains(keyword, Qt::CaseInsensitive),
             qPrintable(keyword + u" -> "_s + documents.first().url.toString()));
  }
}

void HelpSystemTest::contentsShowJapaneseTextWithTheStyleSheet() {
  HelpSystem help(u"Hoko32.hlp"_s, nullptr);
  help.showContents();
  QVERIFY(messages_.isEmpty());
  QWidget* window = help.window();
  QVERIFY(window->isVisible());
  QCOMPARE(window->windowTitle(), u"ＴＡＰＰＥＲの足跡32 ヘルプ"_s);
  QCOMPARE(part<QTabWidget>(window, u"tabs"_s)->currentIndex(), 0);

  auto* browser = part<QTextBrowser>(window, u"browser"_s);
  QCOMPARE(pageName(browser->source()), HelpSystem::pageForTopic(-1));
  const QString text = browser->toPlainText();
  QVERIFY2(text.contains(u"ＴＡＰＰＥＲの足跡32 ヘルプ"_s) && text.contains(u"ミスワースト10"_s),
           qPrintable(text.left(200)));

  // The heading takes its colour from style.css, read through the engine.
  QTextCursor heading(browser->document());
  heading.setPosition(text.indexOf(u"ＴＡＰＰＥＲの足跡32 ヘルプ"_s) + 1);
  QCOMPARE(heading.charFormat().foreground().color(), QColor(u"#1a3c6e"_s));

  // The contents tree fills and marks the page shown.
  auto* contents = part<QHelpContentWidget>(window, u"contents"_s);
  QTRY_VERIFY(contents->model()->rowCount() > 0);
  QTRY_COMPARE(contents->currentIndex().data().toString(), u"ＴＡＰＰＥＲの足跡32 ヘルプ"_s);
}

void HelpSystemTest::topicsOpenTheirPageAndUnknownOnesTheContents() {
  HelpSystem help(u"Hoko32.hlp"_s, nullptr);
  help.showTopic(8000);
  QWidget* window = help.window();
  auto* browser = part<QTextBrowser>(window, u"browser"_s);
  QVERIFY(window->isVisible());
  QVERIFY(browser->toPlainText().contains(u"ミス率"_s));
  auto* contents = part<QHelpContentWidget>(window, u"contents"_s);
  QTRY_COMPARE(contents->currentIndex().data().toString(), u"ミスワースト10"_s);

  help.showContents();
  const QUrl contentsPage = browser->source();
  for (int unknown : {0, -1, 1, 4999, 10010, 99999}) {
    help.showTopic(5000);
    help.showTopic(unknown);
    QCOMPARE(browser->source(), contentsPage);
  }
  QVERIFY(messages_.isEmpty());
}

void HelpSystemTest::keywordSearchFiltersTheIndexAndOpensThePage() {
  HelpSystem help(u"Hoko32.hlp"_s, nullptr);
  help.showKeywordSearch();
  QWidget* window = help.window();
  QCOMPARE(part<QTabWidget>(window, u"tabs"_s)->currentIndex(), 1);
  auto* field = part<QLineEdit>(window, u"indexFilter"_s);
  QTRY_VERIFY(field->hasFocus());
  auto* index = part<QHelpIndexWidget>(window, u"index"_s);
  QTRY_VERIFY(index->model()->rowCount() > 50);

  // Typing (Japanese arrives from the input method) narrows the index to the
  // keywords with the word, the word itself first.
  QInputMethodEvent typed;
  typed.setCommitString(u"ノーミス"_s);
  QApplication::sendEvent(field, &typed);
  QCOMPARE(field->text(), u"ノーミス"_s);
  QTRY_VERIFY(index->model()->rowCount() >= 2);
  for (int row = 0; row < index->model()->rowCount(); ++row) {
    QVERIFY(index->model()->index(row, 0).data().toString().contains(u"ノーミス"_s));
  }
  QCOMPARE(index->currentIndex().data().toString(), u"ノーミス"_s);

  // Down in the field moves through the index; Enter opens the keyword's page.
  QTest::keyClick(field, Qt::Key_Down);
  QCOMPARE(index->currentIndex().row(), 1);
  QTest::keyClick(field, Qt::Key_Up);
  QCOMPARE(index->currentIndex().data().toString(), u"ノーミス"_s);
  QTest::keyClick(field, Qt::Key_Return);
  auto* browser = part<QTextBrowser>(window, u"browser"_s);
  QCOMPARE(browser->source(), engine_->documentsForKeyword(u"ノーミス"_s).first().url);
  QVERIFY(browser->toPlainText().contains(u"ノーミスのみ"_s));
}

void HelpSystemTest::collectionIsFoundBesideTheProgramOrReported() {
  // help/<base name in lower case>.qhc beside the program.
  {
    HelpSystem help(u"HOKO32.HLP"_s, nullptr);
    help.showTopic(10009);
    QVERIFY(messages_.isEmpty());
    QVERIFY(part<QTextBrowser>(help.window(), u"browser"_s)->toPlainText().contains(u"ファンファーレ"_s));
  }

  // None there: every command says so, naming the path, and opens no window.
  HelpSystem help(u"Nothing.hlp"_s, nullptr);
  const QString expected = QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + u"/help/nothing.qhc"_s);
  help.showContents();
  help.showKeywordSearch();
  help.showTopic(5000);
  QCOMPARE(messages_.size(), 3);
  for (const QString& message : std::as_const(messages_)) {
    QVERIFY2(message.contains(u"ヘルプファイルが見つかりません"_s) && message.contains(expected), qPrintable(message));
  }
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    QVERIFY(!(widget->objectName() == u"helpWindow"_s && widget->isVisible()));
  }
}

QTEST_MAIN(HelpSystemTest)
#include "HelpSystemTest.moc"
