// The help: the help project (pages, contents, keyword index, links) and the
// help window over it.

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include "support/TempDir.h"
#include "support/TypistFile.h"
#include "ui/HelpProject.h"
#include "ui/HelpSystem.h"
#include "ui/MessageBoxes.h"
#include "ui/TfrmMain.h"

using namespace Qt::StringLiterals;

namespace {

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
    {16000, u"練習カレンダー"_s},       {17000, u"進歩グラフ"_s},
    {18000, u"エクスポート"_s},
};

QString pageName(const QUrl& url) { return QFileInfo(url.path()).fileName(); }

// The main window's start in the folder, on a typist's file of so many runs there.
StartupContext startIn(const TempDir& dir, int runs) {
  return {dir.file(u"hoko32.ini"_s), dir.path() + u'/', dir.path(), {writeTypistFile(dir, runs), u"R"_s}};
}

QString titleOf(const QString& html) {
  static const QRegularExpression title(u"<title>(.*)</title>"_s);
  return title.match(html).captured(1);
}

// The sections of a contents tree, one "depth title ref" line each, in order.
void flatten(const QList<HelpProject::Section>& sections, int depth, QStringList& lines) {
  for (const HelpProject::Section& section : sections) {
    lines.append(u"%1 %2 %3"_s.arg(depth).arg(section.title, section.ref));
    flatten(section.children, depth + 1, lines);
  }
}

void write(const QString& path, const QByteArray& data) {
  QFile file(path);
  QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
  file.write(data);
}

// A made-up project: sections three deep, two sections of one page, a
// keyword of two pages, a page without a title and one that is missing.
const QByteArray MadeUp = R"(<?xml version="1.0" encoding="UTF-8"?>
<QtHelpProject version="1.0">
  <namespace>org.example.made</namespace>
  <filterSection>
    <toc>
      <section title="表紙" ref="a.html">
        <section title="第1章" ref="b.html">
          <section title="第1節" ref="b.html#one"/>
        </section>
        <section title="第2章" ref="gone.html"/>
      </section>
      <section title="付録" ref="c.html"/>
    </toc>
    <keywords>
      <keyword name="二つ" ref="b.html#one"/>
      <keyword name="alpha" ref="a.html"/>
      <keyword name="二つ" ref="c.html"/>
      <keyword name="" ref="a.html"/>
      <keyword name="消えた" ref="gone.html"/>
    </keywords>
    <files><file>a.html</file><file>b.html</file><file>c.html</file></files>
  </filterSection>
</QtHelpProject>
)";

void writeMadeUp(const QString& folder, const QString& name) {
  write(folder + u'/' + name, MadeUp);
  write(folder + u"/a.html"_s, "<html><head><title>表紙ページ</title></head><body><p>alpha</p></body></html>");
  write(folder + u"/b.html"_s,
        "<html><head><title>\n  第一章 </title></head><body><a name=\"one\">二つ</a></body></html>");
  write(folder + u"/c.html"_s, "<html><body><p>二つ目</p></body></html>");
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

  // The help project.
  void topicsLeadToTheirPages();
  void everyPageIsInTheContentsAndEveryLinkResolves();
  void keywordsLeadToPagesThatExplainThem();
  void knownKeywordsLeadToTheirPages();
  void madeUpProjectKeepsNestingOrderAndEveryPage();
  void unreadableProjectsAreRefused_data();
  void unreadableProjectsAreRefused();

  // The help window.
  void contentsShowJapaneseTextWithTheStyleSheet();
  void topicsOpenTheirPageAndUnknownOnesTheContents();
  void keywordSearchFiltersTheIndexAndOpensThePage();
  void keywordOfTwoPagesListsBothAndMissingPageSaysSo();
  void projectIsFoundBesideTheProgramOrReported();

  // The main window and its side windows.
  void f1InASideWindowOpensItsPage();
  void startPageListsEveryMenuItemAndEachHasAnAccessKey();

 private:
  QString html(const QString& page) const {
    QFile file(project_.filePath(page));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
  }
  QUrl pageUrl(const QString& ref) const {
    QUrl url = QUrl::fromLocalFile(helpFolder_ + u'/' + ref.section(u'#', 0, 0));
    if (ref.contains(u'#')) url.setFragment(ref.section(u'#', 1));
    return url;
  }

  HelpProject project_;
  QString helpFolder_;
  QStringList messages_;
};

void HelpSystemTest::initTestCase() {
  // The built help folder, read as the program reads it.
  const QString built = QStringLiteral(HOKO32_HELP_PROJECT);
  QVERIFY2(project_.load(built), qPrintable(built + u": "_s + project_.errorString()));

  // The help window looks for help/<name>.qhp beside the program, here the
  // test: the built folder goes there, with a made-up project and a broken one.
  helpFolder_ = QCoreApplication::applicationDirPath() + u"/help"_s;
  QVERIFY(QDir().mkpath(helpFolder_));
  const QDir source = QFileInfo(built).dir();
  for (const QString& name : source.entryList(QDir::Files)) {
    const QString target = helpFolder_ + u'/' + name;
    QFile::remove(target);
    QVERIFY2(QFile::copy(source.filePath(name), target), qPrintable(target));
  }
  writeMadeUp(helpFolder_, u"made.qhp"_s);
  QFile::remove(helpFolder_ + u"/gone.html"_s);
  write(helpFolder_ + u"/broken.qhp"_s, "<QtHelpProject><toc><section title=\"x\"></toc>");

  MessageBoxes::setHandler([this](const QString& text) { messages_.append(text); });
}

void HelpSystemTest::cleanup() { messages_.clear(); }

void HelpSystemTest::topicsLeadToTheirPages() {
  QSet<QString> pages;
  for (const auto& [topic, title] : Topics) {
    const QString page = HelpSystem::pageForTopic(topic);
    const QString text = html(page);
    QVERIFY2(!text.isEmpty(), qPrintable(u"%1 -> %2: not in the help"_s.arg(topic).arg(page)));
    QVERIFY2(titleOf(text).contains(title), qPrintable(u"%1 -> %2 \"%3\""_s.arg(topic).arg(page, titleOf(text))));
    pages.insert(page);
  }
  QCOMPARE(pages.size(), Topics.size());  // no two topics share a page
}

void HelpSystemTest::everyPageIsInTheContentsAndEveryLinkResolves() {
  QCOMPARE(project_.missingFiles(), QStringList());

  // The pages of the table of contents, and the links of its entries.
  QStringList lines;
  flatten(project_.contents(), 0, lines);
  QCOMPARE(lines.value(0), u"0 ＴＡＰＰＥＲの足跡32 ヘルプ index.html"_s);
  QSet<QString> listed;
  QList<QUrl> links;
  for (const QString& line : std::as_const(lines)) {
    const QString ref = line.section(u' ', -1);
    listed.insert(ref.section(u'#', 0, 0));
    links.append(pageUrl(ref));
  }

  // Every page of the folder is listed in the contents and in the files.
  const QStringList files = QDir(project_.folder()).entryList({u"*.html"_s}, QDir::Files);
  QVERIFY(files.size() >= 25);
  static const QRegularExpression href(u"href=\"([^\"]+)\""_s);
  for (const QString& file : files) {
    QVERIFY2(listed.contains(file), qPrintable(file + u" is missing in the contents"_s));
    QVERIFY2(project_.files().contains(file), qPrintable(file + u" is missing in the project's files"_s));
    for (const QRegularExpressionMatch& match : href.globalMatch(html(file))) {
      links.append(pageUrl(file).resolved(QUrl(match.captured(1))));
    }
  }

  // Every link of the contents and the pages reaches a page of the help, and
  // its anchor, if any, is on that page.
  for (const QUrl& link : links) {
    if (link.scheme() == u"http"_s || link.scheme() == u"https"_s) continue;
    QFile page(link.toLocalFile());
    QVERIFY2(page.open(QIODevice::ReadOnly), qPrintable(link.toString()));
    const QString target = QString::fromUtf8(page.readAll());
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
  QStringList keywords;
  for (const HelpProject::Keyword& keyword : project_.keywords()) keywords.append(keyword.name);
  for (const QString& word : required) QVERIFY2(keywords.contains(word), qPrintable(word));

  // Each keyword's page names it.
  for (const HelpProject::Keyword& keyword : project_.keywords()) {
    QVERIFY2(!keyword.links.isEmpty(), qPrintable(keyword.name));
    QVERIFY2(html(keyword.links.first().ref).contains(keyword.name, Qt::CaseInsensitive),
             qPrintable(keyword.name + u" -> "_s + keyword.links.first().ref));
  }
}

void HelpSystemTest::knownKeywordsLeadToTheirPages() {
  // keyword, "title|ref" of its one page; an unknown keyword has none.
  const QList<std::pair<QString, QString>> known = {
      {u"ノーミスのみ"_s, u"オプション|options.html#nomiss"_s},
      {u"圧縮ﾃﾞｰﾀ再作成"_s, u"圧縮データファイルとその再作成|compressed.html#rebuild"_s},
      {u"hoko32.ini"_s, u"設定ファイル|settingsfile.html#where"_s},
      {u"ノーミスのみ2"_s, QString()}};
  for (const auto& [keyword, link] : known) {
    QStringList links;
    for (const HelpProject::Link& each : project_.linksFor(keyword)) links.append(each.title + u'|' + each.ref);
    QCOMPARE(links.join(u','), link);
  }
}

void HelpSystemTest::madeUpProjectKeepsNestingOrderAndEveryPage() {
  HelpProject project;  // written beside the test by initTestCase()
  QVERIFY2(project.load(helpFolder_ + u"/made.qhp"_s), qPrintable(project.errorString()));

  QStringList lines;
  flatten(project.contents(), 0, lines);
  QCOMPARE(lines, (QStringList{u"0 表紙 a.html"_s, u"1 第1章 b.html"_s, u"2 第1節 b.html#one"_s, u"1 第2章 gone.html"_s,
                               u"0 付録 c.html"_s}));

  // Each name once, sorted; a keyword of two pages keeps both in order, each
  // with its page's title or, without one, its file name.
  QStringList names;
  for (const HelpProject::Keyword& keyword : project.keywords()) names.append(keyword.name);
  QCOMPARE(names, (QStringList{u"alpha"_s, u"二つ"_s, u"消えた"_s}));
  const QList<HelpProject::Link> two = project.linksFor(u"二つ"_s);
  QCOMPARE(two.size(), 2);
  QCOMPARE(two[0].title + u'|' + two[0].ref, u"第一章|b.html#one"_s);
  QCOMPARE(two[1].title + u'|' + two[1].ref, u"c.html|c.html"_s);

  QCOMPARE(project.files(), (QStringList{u"a.html"_s, u"b.html"_s, u"c.html"_s}));
  QCOMPARE(project.missingFiles(), QStringList{u"gone.html"_s});
  QCOMPARE(project.filePath(u"b.html#one"_s), helpFolder_ + u"/b.html"_s);
}

void HelpSystemTest::unreadableProjectsAreRefused_data() {
  QTest::addColumn<QByteArray>("text");  // empty: no file at all
  QTest::newRow("missing") << QByteArray();
  QTest::newRow("not xml") << QByteArray("index.html\n");
  QTest::newRow("other root") << QByteArray("<QHelpCollectionProject version=\"1.0\"/>");
  QTest::newRow("cut off") << MadeUp.left(MadeUp.indexOf("<keywords>"));
}

void HelpSystemTest::unreadableProjectsAreRefused() {
  QFETCH(QByteArray, text);
  TempDir dir;
  if (!text.isEmpty()) dir.write(u"p.qhp"_s, text);
  HelpProject project;
  QVERIFY(!project.load(dir.file(u"p.qhp"_s)));
  QVERIFY(!project.errorString().isEmpty());
  QVERIFY(project.contents().isEmpty() && project.keywords().isEmpty());
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

  // The heading takes its colour from style.css beside the page.
  QTextCursor heading(browser->document());
  heading.setPosition(text.indexOf(u"ＴＡＰＰＥＲの足跡32 ヘルプ"_s) + 1);
  QCOMPARE(heading.charFormat().foreground().color(), QColor(u"#1a3c6e"_s));

  // The contents tree fills and marks the page shown.
  auto* contents = part<QTreeWidget>(window, u"contents"_s);
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
  auto* contents = part<QTreeWidget>(window, u"contents"_s);
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
  auto* index = part<QListWidget>(window, u"index"_s);
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
  QCOMPARE(browser->source(), pageUrl(project_.linksFor(u"ノーミス"_s).first().ref));
  QVERIFY(browser->toPlainText().contains(u"ノーミスのみ"_s));
}

void HelpSystemTest::keywordOfTwoPagesListsBothAndMissingPageSaysSo() {
  HelpSystem help(u"Made.hlp"_s, nullptr);
  help.showKeywordSearch();
  QVERIFY(messages_.isEmpty());
  QWidget* window = help.window();
  auto* field = part<QLineEdit>(window, u"indexFilter"_s);
  auto* topics = part<QListWidget>(window, u"topics"_s);
  auto* browser = part<QTextBrowser>(window, u"browser"_s);
  QVERIFY(topics->isHidden());

  // The keyword opens its first page and lists both; the second opens its own.
  field->setText(u"二つ"_s);
  QTest::keyClick(field, Qt::Key_Return);
  QCOMPARE(browser->source(), pageUrl(u"b.html#one"_s));
  QVERIFY(topics->isVisible());
  QCOMPARE(topics->count(), 2);
  QCOMPARE(topics->item(0)->text() + u'|' + topics->item(1)->text(), u"第一章|c.html"_s);
  Q_EMIT topics->itemActivated(topics->item(1));
  QCOMPARE(browser->source(), pageUrl(u"c.html"_s));
  QVERIFY(browser->toPlainText().contains(u"二つ目"_s));

  // A keyword of one page hides the list again; a missing page says so.
  field->setText(u"消えた"_s);
  QTest::keyClick(field, Qt::Key_Return);
  QVERIFY(topics->isHidden());
  QVERIFY2(browser->toPlainText().contains(u"このページは見つかりません"_s) &&
               browser->toPlainText().contains(u"gone.html"_s),
           qPrintable(browser->toPlainText()));

  // The contents follow: a section with the page's anchor before the page's first.
  help.showContents();
  auto* contents = part<QTreeWidget>(window, u"contents"_s);
  QCOMPARE(contents->currentItem()->text(0), u"表紙"_s);
  QCOMPARE(contents->topLevelItemCount(), 2);
  QCOMPARE(contents->topLevelItem(0)->child(0)->child(0)->text(0), u"第1節"_s);
  Q_EMIT contents->itemClicked(contents->topLevelItem(0)->child(0)->child(0), 0);
  QCOMPARE(browser->source(), pageUrl(u"b.html#one"_s));
  QCOMPARE(contents->currentItem()->text(0), u"第1節"_s);
}

void HelpSystemTest::projectIsFoundBesideTheProgramOrReported() {
  // help/<base name in lower case>.qhp beside the program.
  {
    HelpSystem help(u"HOKO32.HLP"_s, nullptr);
    help.showTopic(10009);
    QVERIFY(messages_.isEmpty());
    QVERIFY(part<QTextBrowser>(help.window(), u"browser"_s)->toPlainText().contains(u"ファンファーレ"_s));
  }

  // None there, or one that does not read: every command says so, naming the
  // path, and opens no window.
  const QList<std::pair<QString, QString>> failing = {{u"Nothing.hlp"_s, u"ヘルプファイルが見つかりません"_s},
                                                      {u"Broken.hlp"_s, u"ヘルプファイルを開けません"_s}};
  for (const auto& [name, text] : failing) {
    messages_.clear();
    HelpSystem help(name, nullptr);
    const QString expected = QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + u"/help/"_s +
                                                      QFileInfo(name).completeBaseName().toLower() + u".qhp"_s);
    help.showContents();
    help.showKeywordSearch();
    help.showTopic(5000);
    QCOMPARE(messages_.size(), 3);
    for (const QString& message : std::as_const(messages_)) {
      QVERIFY2(message.contains(text) && message.contains(expected), qPrintable(message));
    }
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      QVERIFY(!(widget->objectName() == u"helpWindow"_s && widget->isVisible()));
    }
  }
}

// F1 in a window of its own opens its page in the help; the modal ones (the
// 3D chart, the export) are pressed while they run and closed after.
void HelpSystemTest::f1InASideWindowOpensItsPage() {
  TempDir dir;
  TfrmMain main(startIn(dir, 300));
  main.createLongLivedDialogs();
  main.show();
  auto* browser = part<QTextBrowser>(main.help()->window(), u"browser"_s);
  const struct {
    QString item, window, page;
    bool modal;
  } sides[] = {{u"Calendar1"_s, u"frmCalendar"_s, u"calendar.html"_s, false},
               {u"Progress1"_s, u"frmProgress"_s, u"progress.html"_s, false},
               {u"Graph2"_s, u"frm3DGraph"_s, u"chart3d.html"_s, true},
               {u"Export1"_s, u"frmExport"_s, u"export.html"_s, true}};
  for (const auto& side : sides) {
    main.help()->showContents();  // each case starts from another page
    QString pressedIn;
    Qt::WindowModality helpModality = Qt::NonModal;
    const auto pressF1 = [&](QWidget* window) {
      pressedIn = window->objectName();
      QTest::keyClick(window->focusWidget() ? window->focusWidget() : window, Qt::Key_F1);
      helpModality = main.help()->window()->windowModality();
    };
    QAction* item = main.findChild<QAction*>(side.item);
    QVERIFY2(item, qPrintable(side.item));
    if (side.modal) {
      QTimer::singleShot(0, &main, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
          pressF1(modal);
          modal->close();
        }
      });
      item->trigger();
    } else {
      item->trigger();
      auto* window = main.findChild<QWidget*>(side.window);
      QVERIFY2(window && window->isVisible(), qPrintable(side.window));
      pressF1(window);
      window->close();
    }
    QCOMPARE(pressedIn, side.window);
    // Over a modal window the help is modal itself, else that window would
    // keep it from any input; over the others it is not.
    QCOMPARE(helpModality, side.modal ? Qt::ApplicationModal : Qt::NonModal);
    QCOMPARE(pageName(browser->source()), side.page);
    QVERIFY(main.help()->window()->isVisible());
  }
  // In the main window F1 keeps opening the contents.
  QTest::keyClick(&main, Qt::Key_F1);
  QCOMPARE(pageName(browser->source()), u"index.html"_s);
  main.help()->window()->close();
  QVERIFY(messages_.isEmpty());
}

// The start page's table of commands names every item of each menu, and
// every item has an access key, but for the two that are without one by
// design (再読み込み(R), 起動時に3Dグラフ表示).
void HelpSystemTest::startPageListsEveryMenuItemAndEachHasAnAccessKey() {
  TempDir dir;
  TfrmMain main(startIn(dir, 30));

  // Each row: the menu's name, then its items (links and plain text alike).
  static const QRegularExpression row(u"<tr><td>([^<]*)</td><td>(.*)</td></tr>"_s);
  static const QRegularExpression tag(u"<[^>]*>"_s);
  const QString start = html(u"index.html"_s);
  const QString table = start.mid(start.indexOf(u"name=\"commands\""_s));
  QMap<QString, QString> rows;
  for (const QRegularExpressionMatch& match : row.globalMatch(table))
    rows.insert(match.captured(1), match.captured(2).remove(tag));

  static const QRegularExpression accessKey(u"\\(&?.\\)$"_s);
  const auto shown = [](QString caption) { return caption.remove(accessKey).remove(u'&').remove(u"..."_s); };
  const QStringList withoutKey = {u"ReSet1"_s, u"Show3DGraph"_s};
  int items = 0;
  for (QAction* entry : main.menuBar()->actions()) {
    const QString menu = shown(entry->text());
    QVERIFY2(rows.contains(menu), qPrintable(menu + u" has no row"_s));
    QList<QAction*> actions = entry->menu()->actions();
    for (int i = 0; i < actions.size(); ++i) {
      QAction* action = actions[i];
      if (action->isSeparator()) continue;
      if (action->menu()) actions.append(action->menu()->actions());  // the 背景色の変更 submenu's items
      ++items;
      const QString caption = action->text();
      QVERIFY2(rows[menu].contains(shown(caption)), qPrintable(menu + u": "_s + caption + u" is not listed"_s));
      if (!withoutKey.contains(action->objectName()))
        QVERIFY2(caption.contains(u'&'), qPrintable(caption + u" has no access key"_s));
    }
  }
  QCOMPARE_GE(items, 40);
}

QTEST_MAIN(HelpSystemTest)
#include "HelpSystemTest.moc"
