#include "ui/HelpSystem.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPointer>
#include <QRegularExpression>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include <utility>

#include "analysis/View.h"
#include "ui/HelpProject.h"
#include "ui/MessageBoxes.h"

using namespace Qt::StringLiterals;

namespace {

const QString ContentsPage = u"index.html"_s;

struct TopicPage {
  int topic;
  const char16_t* page;
};

// The help topic numbers of the menus and dialogs, and their pages; the tab
// views' topics and pages are in the view table (analysis/View.h), which the
// items of a view (日平均 … 年平均 and 平均の条件設定 of the averages, 再計算 of
// the worst ten) share.
constexpr TopicPage TopicPages[] = {
    {1000, u"menus.html"},             // the menu bar entries
    {9000, u"folder.html"},            // フォルダの変更
    {10000, u"reload.html"},           // 再読み込み
    {10002, u"chart3d.html"},          // ３Ｄグラフ
    {10003, u"recordfile.html"},       // 記録ファイルの選択, the record-file panel
    {10004, u"compressed.html"},       // 圧縮ﾃﾞｰﾀ再作成
    {10005, u"viewmenu.html"},         // the view menu's tab items
    {10006, u"startup3d.html"},        // 起動時に3Dグラフ表示
    {10007, u"graphchars.html"},       // グラフ表示キャラクタ
    {10008, u"modes.html"},            // the mode items
    {10009, u"celebration.html"},      // お祝いの設定
    {11000, u"font.html"},             // ﾌｫﾝﾄの変更
    {12000, u"background.html"},       // 背景色の変更
    {13000, u"displaylimit.html"},     // 表示回数の制限
    {14000, u"copy.html"},             // ｺﾋﾟｰ, すべてｺﾋﾟｰ
    {15000, u"options.html"},          // ヒント表示, ノーミスのみ, レベルアップのみ
    {16000, u"calendar.html"},         // 練習カレンダー
    {17000, u"progress.html"},         // 進歩グラフ
    {18000, u"export.html"},           // エクスポート
    {22000, u"averagesettings.html"},  // 平均値の表示設定
};

// The page view: the pages are files of the help folder; a page that is not
// there says so in place of an empty view.
class HelpBrowser : public QTextBrowser {
 public:
  explicit HelpBrowser(QWidget* parent) : QTextBrowser(parent) {
    setObjectName(u"browser"_s);
    setOpenExternalLinks(true);
  }

  QVariant loadResource(int type, const QUrl& name) override {
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    if (type == QTextDocument::HtmlResource && url.isLocalFile() && !QFileInfo(url.toLocalFile()).isFile()) {
      return u"<html><body><p>このページは見つかりません: %1</p></body></html>"_s.arg(
          QDir::toNativeSeparators(url.toLocalFile()).toHtmlEscaped());
    }
    return QTextBrowser::loadResource(type, name);
  }
};

constexpr int RefRole = Qt::UserRole;

// The help window: contents and keyword index on the left, the page on the
// right, all read from the help project in the help folder.
class HelpWindow : public QMainWindow {
 public:
  HelpWindow(const QString& projectFile, QWidget* parent) : QMainWindow(parent, Qt::Window) {
    setObjectName(u"helpWindow"_s);
    setWindowTitle(u"ＴＡＰＰＥＲの足跡32 ヘルプ"_s);
    ready_ = project_.load(projectFile);

    browser_ = new HelpBrowser(this);
    contents_ = new QTreeWidget;
    contents_->setObjectName(u"contents"_s);
    contents_->setHeaderHidden(true);
    for (const HelpProject::Section& section : project_.contents()) contents_->addTopLevelItem(contentsItem(section));
    contents_->expandAll();

    index_ = new QListWidget;
    index_->setObjectName(u"index"_s);
    filter_ = new QLineEdit;
    filter_->setObjectName(u"indexFilter"_s);
    filter_->setClearButtonEnabled(true);
    filter_->installEventFilter(this);
    auto* filterLabel = new QLabel(u"キーワードを入力してください(&K):"_s);
    filterLabel->setBuddy(filter_);
    // A keyword of several pages lists them here.
    topics_ = new QListWidget;
    topics_->setObjectName(u"topics"_s);
    topicsLabel_ = new QLabel(u"見つかったトピック(&T):"_s);
    topicsLabel_->setBuddy(topics_);
    showTopics({});

    auto* indexPage = new QWidget;
    auto* indexLayout = new QVBoxLayout(indexPage);
    indexLayout->setContentsMargins(4, 4, 4, 4);
    indexLayout->addWidget(filterLabel);
    indexLayout->addWidget(filter_);
    indexLayout->addWidget(index_, 3);
    indexLayout->addWidget(topicsLabel_);
    indexLayout->addWidget(topics_, 1);

    tabs_ = new QTabWidget;
    tabs_->setObjectName(u"tabs"_s);
    tabs_->addTab(contents_, u"目次(&C)"_s);
    tabs_->addTab(indexPage, u"索引(&I)"_s);

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(tabs_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({280, 700});
    setCentralWidget(splitter);

    buildToolBar();
    filterIndex(QString());

    auto openSection = [this](QTreeWidgetItem* item) { showPage(item->data(0, RefRole).toString()); };
    connect(contents_, &QTreeWidget::itemClicked, this, openSection);
    connect(contents_, &QTreeWidget::itemActivated, this, openSection);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) { syncContents(url); });

    connect(filter_, &QLineEdit::textChanged, this, [this](const QString& text) { filterIndex(text); });
    connect(filter_, &QLineEdit::returnPressed, this, [this] {
      if (index_->currentItem()) openKeyword(index_->currentItem()->text());
    });
    auto openKeywordItem = [this](QListWidgetItem* item) { openKeyword(item->text()); };
    connect(index_, &QListWidget::itemClicked, this, openKeywordItem);
    connect(index_, &QListWidget::itemActivated, this, openKeywordItem);
    auto openTopic = [this](QListWidgetItem* item) { showPage(item->data(RefRole).toString()); };
    connect(topics_, &QListWidget::itemClicked, this, openTopic);
    connect(topics_, &QListWidget::itemActivated, this, openTopic);

    resize(980, 680);
  }

  bool isReady() const { return ready_; }
  QString projectError() const { return project_.errorString(); }

  void showPage(const QString& ref) {
    QUrl url = QUrl::fromLocalFile(project_.filePath(ref));
    const qsizetype hash = ref.indexOf(u'#');
    if (hash >= 0) url.setFragment(ref.mid(hash + 1));
    browser_->setSource(url);
  }
  // The first section of the contents, the contents page.
  void showFirstPage() { showPage(project_.contents().isEmpty() ? ContentsPage : project_.contents().first().ref); }
  bool hasPage() const { return !browser_->source().isEmpty(); }

  void showContentsTab() { tabs_->setCurrentIndex(0); }

  void showIndexTab() {
    tabs_->setCurrentIndex(1);
    filter_->setFocus(Qt::ShortcutFocusReason);
    filter_->selectAll();
  }

  // Asked for from a modal window (the 3D chart, a dialog), the help window
  // is modal itself, above that window, which would else keep it from any
  // input; asked for from elsewhere, it is not.
  void present() {
    const QWidget* modal = QApplication::activeModalWidget();
    const Qt::WindowModality wanted = modal && modal != this ? Qt::ApplicationModal : Qt::NonModal;
    if (windowModality() != wanted) {
      hide();  // a shown window takes its new modality when shown again
      setWindowModality(wanted);
    }
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
  }

 protected:
  // Up, down and the page keys in the search field move through the index.
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == filter_ && event->type() == QEvent::KeyPress) {
      switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown: QCoreApplication::sendEvent(index_, event); return true;
        default: break;
      }
    }
    return QMainWindow::eventFilter(watched, event);
  }

 private:
  static QTreeWidgetItem* contentsItem(const HelpProject::Section& section) {
    auto* item = new QTreeWidgetItem(QStringList{section.title});
    item->setData(0, RefRole, section.ref);
    for (const HelpProject::Section& child : section.children) item->addChild(contentsItem(child));
    return item;
  }

  void buildToolBar() {
    QToolBar* bar = addToolBar(u"ナビゲーション"_s);
    bar->setObjectName(u"navigation"_s);
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QAction* back =
        bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), u"戻る"_s, browser_, &QTextBrowser::backward);
    back->setShortcut(QKeySequence::Back);
    back->setEnabled(false);
    QAction* forward =
        bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), u"進む"_s, browser_, &QTextBrowser::forward);
    forward->setShortcut(QKeySequence::Forward);
    forward->setEnabled(false);
    bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), u"目次"_s, this, [this] {
      showFirstPage();
      showContentsTab();
    });
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
  }

  // The keywords with the text, the text itself first, then those beginning
  // with it; with * or ? the keywords matching it as a wildcard pattern.
  void filterIndex(const QString& text) {
    QStringList exact, starting, containing;
    const bool wildcard = text.contains(u'*') || text.contains(u'?');
    const QRegularExpression pattern(wildcard ? QRegularExpression::wildcardToRegularExpression(text) : QString(),
                                     QRegularExpression::CaseInsensitiveOption);
    for (const HelpProject::Keyword& keyword : project_.keywords()) {
      const QString& name = keyword.name;
      if (wildcard) {
        if (pattern.match(name).hasMatch()) containing.append(name);
      } else if (name.compare(text, Qt::CaseInsensitive) == 0) {
        exact.append(name);
      } else if (name.startsWith(text, Qt::CaseInsensitive)) {
        starting.append(name);
      } else if (name.contains(text, Qt::CaseInsensitive)) {
        containing.append(name);
      }
    }
    index_->clear();
    index_->addItems(exact + starting + containing);
    if (index_->count() > 0) index_->setCurrentRow(0);
  }

  void openKeyword(const QString& keyword) {
    const QList<HelpProject::Link> links = project_.linksFor(keyword);
    showTopics(links);
    if (!links.isEmpty()) showPage(links.first().ref);
  }

  void showTopics(const QList<HelpProject::Link>& links) {
    topics_->clear();
    for (const HelpProject::Link& link : links) {
      auto* item = new QListWidgetItem(link.title, topics_);
      item->setData(RefRole, link.ref);
    }
    if (!links.isEmpty()) topics_->setCurrentRow(0);
    topics_->setVisible(links.size() > 1);
    topicsLabel_->setVisible(links.size() > 1);
  }

  // Marks the section of the page shown: the one with its anchor, otherwise
  // the first of its file.
  void syncContents(const QUrl& url) {
    QString ref = QFileInfo(url.toLocalFile()).fileName();
    const QString file = ref;
    if (url.hasFragment()) ref += u'#' + url.fragment();
    QTreeWidgetItem* sameFile = nullptr;
    for (QTreeWidgetItemIterator it(contents_); *it; ++it) {
      const QString itemRef = (*it)->data(0, RefRole).toString();
      if (itemRef == ref) {
        contents_->setCurrentItem(*it);
        return;
      }
      if (!sameFile && itemRef.section(u'#', 0, 0) == file) sameFile = *it;
    }
    contents_->setCurrentItem(sameFile);
  }

  HelpProject project_;
  bool ready_ = false;
  HelpBrowser* browser_ = nullptr;
  QTreeWidget* contents_ = nullptr;
  QListWidget* index_ = nullptr;
  QLineEdit* filter_ = nullptr;
  QListWidget* topics_ = nullptr;
  QLabel* topicsLabel_ = nullptr;
  QTabWidget* tabs_ = nullptr;
};

}  // namespace

class HelpSystem::Private {
 public:
  // <program folder>/help/<help file's base name in lower case>.qhp
  static QString projectFile(const QString& helpFileName) {
    const QString base = QFileInfo(helpFileName).completeBaseName().toLower();
    return QDir(QCoreApplication::applicationDirPath()).filePath(u"help/"_s + base + u".qhp"_s);
  }

  // The window over a help project that reads, or none after telling the user
  // why not.
  HelpWindow* usableWindow(const HelpSystem& help) {
    const QString file = projectFile(help.helpFileName_);
    if (!QFileInfo(file).isFile()) {
      MessageBoxes::showMessage(help.parentWindow_,
                                u"ヘルプファイルが見つかりません。\n%1"_s.arg(QDir::toNativeSeparators(file)));
      return nullptr;
    }
    if (window && !window->isReady()) delete window.data();  // made while the project was missing
    if (!window) window = new HelpWindow(file, help.parentWindow_);
    if (!window->isReady()) {
      MessageBoxes::showMessage(help.parentWindow_, u"ヘルプファイルを開けません。\n%1\n%2"_s.arg(
                                                        QDir::toNativeSeparators(file), window->projectError()));
      return nullptr;
    }
    return window;
  }

  QPointer<HelpWindow> window;
};

HelpSystem::HelpSystem(QString helpFileName, QWidget* parentWindow)
    : QObject(parentWindow), helpFileName_(std::move(helpFileName)), parentWindow_(parentWindow), d_(new Private) {}

HelpSystem::~HelpSystem() {
  delete d_->window.data();
  delete d_;
}

void HelpSystem::showContents() {
  HelpWindow* help = d_->usableWindow(*this);
  if (!help) return;
  help->showFirstPage();
  help->showContentsTab();
  help->present();
}

void HelpSystem::showKeywordSearch() {
  HelpWindow* help = d_->usableWindow(*this);
  if (!help) return;
  if (!help->hasPage()) help->showFirstPage();
  help->present();
  help->showIndexTab();
}

void HelpSystem::showTopic(int helpContext) {
  HelpWindow* help = d_->usableWindow(*this);
  if (!help) return;
  help->showPage(pageForTopic(helpContext));
  help->present();
}

QString HelpSystem::pageForTopic(int helpContext) {
  for (const ViewInfo& view : Views) {
    if (view.helpTopic == helpContext) return view.helpPage.toString();
  }
  for (const TopicPage& entry : TopicPages) {
    if (entry.topic == helpContext) return QString::fromUtf16(entry.page);
  }
  return ContentsPage;
}

QWidget* HelpSystem::window() {
  if (!d_->window) d_->window = new HelpWindow(Private::projectFile(helpFileName_), parentWindow_);
  return d_->window;
}
