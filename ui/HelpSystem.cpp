#include "ui/HelpSystem.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPointer>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>

#include <utility>

#include "ui/MessageBoxes.h"

using namespace Qt::StringLiterals;

namespace {

// The namespace and virtual folder of help/hoko32.qhp: every page is
// qthelp://org.hoko32.help/doc/<page>.
QUrl pageUrl(const QString& page) { return QUrl(u"qthelp://org.hoko32.help/doc/"_s + page); }

const QString ContentsPage = u"index.html"_s;

struct TopicPage {
  int topic;
  const char16_t* page;
};

// The help topic numbers of the menus, tabs and dialogs, and their pages.
constexpr TopicPage TopicPages[] = {
    {1000, u"menus.html"},             // the menu bar entries
    {5000, u"history.html"},           // ベストの足跡
    {6000, u"graph.html"},             // ベストのグラフ
    {7000, u"average.html"},           // 平均の推移, 日平均 … 年平均, 平均の条件設定
    {8000, u"miss.html"},              // ミスワースト10, 再計算
    {9000, u"folder.html"},            // フォルダの変更
    {10000, u"reload.html"},           // 再読み込み
    {10001, u"ranking.html"},          // 自己ベスト10
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
    {22000, u"averagesettings.html"},  // 平均値の表示設定
};

// The page view: reads qthelp:// pages, style sheets and pictures from the
// help engine, everything else as a text browser does.
class HelpBrowser : public QTextBrowser {
 public:
  HelpBrowser(QHelpEngineCore* engine, QWidget* parent) : QTextBrowser(parent), engine_(engine) {
    setObjectName(u"browser"_s);
    setOpenExternalLinks(true);
  }

  QVariant loadResource(int type, const QUrl& name) override {
    // Style sheets and pictures come with names relative to the page.
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    if (url.scheme() != u"qthelp"_s) return QTextBrowser::loadResource(type, name);
    const QByteArray data = engine_->fileData(url);
    if (type == QTextDocument::HtmlResource) {
      if (data.isEmpty()) {
        return u"<html><body><p>このページは見つかりません: %1</p></body></html>"_s.arg(url.toString().toHtmlEscaped());
      }
      return QString::fromUtf8(data);
    }
    if (type == QTextDocument::StyleSheetResource) return QString::fromUtf8(data);
    return data;
  }

 private:
  QHelpEngineCore* engine_;
};

// The help window: contents and keyword index on the left, the page on the
// right. It owns its help engine, whose content and index widgets it shows.
class HelpWindow : public QMainWindow {
 public:
  HelpWindow(const QString& collectionFile, QWidget* parent) : QMainWindow(parent, Qt::Window) {
    setObjectName(u"helpWindow"_s);
    setWindowTitle(u"ＴＡＰＰＥＲの足跡32 ヘルプ"_s);

    // Read-only: the collection may lie in an installed folder that cannot be
    // written, and the engine must neither create nor update it.
    engine_ = new QHelpEngine(collectionFile);
    engine_->setReadOnly(true);
    ready_ = engine_->setupData();

    browser_ = new HelpBrowser(engine_, this);
    contents_ = engine_->contentWidget();
    contents_->setObjectName(u"contents"_s);
    index_ = engine_->indexWidget();
    index_->setObjectName(u"index"_s);

    filter_ = new QLineEdit;
    filter_->setObjectName(u"indexFilter"_s);
    filter_->setClearButtonEnabled(true);
    filter_->installEventFilter(this);
    auto* filterLabel = new QLabel(u"キーワードを入力してください(&K):"_s);
    filterLabel->setBuddy(filter_);

    auto* indexPage = new QWidget;
    auto* indexLayout = new QVBoxLayout(indexPage);
    indexLayout->setContentsMargins(4, 4, 4, 4);
    indexLayout->addWidget(filterLabel);
    indexLayout->addWidget(filter_);
    indexLayout->addWidget(index_);

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

    connect(contents_, &QHelpContentWidget::linkActivated, browser_,
            [this](const QUrl& url) { browser_->setSource(url); });
    connect(engine_->contentModel(), &QHelpContentModel::contentsCreated, this, [this] {
      contents_->expandAll();
      syncContents(browser_->source());
    });
    connect(browser_, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) { syncContents(url); });

    connect(filter_, &QLineEdit::textChanged, this, [this](const QString& text) { filterIndex(text); });
    connect(filter_, &QLineEdit::returnPressed, index_, &QHelpIndexWidget::activateCurrentItem);
    connect(engine_->indexModel(), &QHelpIndexModel::indexCreated, this, [this] { filterIndex(filter_->text()); });
    connect(index_, &QHelpIndexWidget::documentActivated, this,
            [this](const QHelpLink& document, const QString&) { browser_->setSource(document.url); });
    connect(index_, &QHelpIndexWidget::documentsActivated, this,
            [this](const QList<QHelpLink>& documents, const QString&) {
              if (!documents.isEmpty()) browser_->setSource(documents.first().url);
            });

    resize(980, 680);
  }

  // The engine's widgets go before the engine: it keeps pointers to them.
  ~HelpWindow() override {
    delete contents_;
    delete index_;
    delete engine_;
  }

  bool isReady() const { return ready_; }
  QString engineError() const { return engine_->error(); }

  void showPage(const QString& page) { browser_->setSource(pageUrl(page)); }
  bool hasPage() const { return !browser_->source().isEmpty(); }

  void showContentsTab() { tabs_->setCurrentIndex(0); }

  void showIndexTab() {
    tabs_->setCurrentIndex(1);
    filter_->setFocus(Qt::ShortcutFocusReason);
    filter_->selectAll();
  }

  void present() {
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
      showPage(ContentsPage);
      showContentsTab();
    });
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
  }

  void filterIndex(const QString& text) { index_->filterIndices(text, text.contains(u'*') ? text : QString()); }

  void syncContents(const QUrl& url) {
    const QModelIndex item = contents_->indexOf(url);
    if (item.isValid()) contents_->setCurrentIndex(item);
  }

  QHelpEngine* engine_ = nullptr;
  bool ready_ = false;
  HelpBrowser* browser_ = nullptr;
  QHelpContentWidget* contents_ = nullptr;
  QHelpIndexWidget* index_ = nullptr;
  QLineEdit* filter_ = nullptr;
  QTabWidget* tabs_ = nullptr;
};

}  // namespace

class HelpSystem::Private {
 public:
  // <program folder>/help/<help file's base name in lower case>.qhc
  static QString collectionFile(const QString& helpFileName) {
    const QString base = QFileInfo(helpFileName).completeBaseName().toLower();
    return QDir(QCoreApplication::applicationDirPath()).filePath(u"help/"_s + base + u".qhc"_s);
  }

  // The window over a collection that opens, or none after telling the user
  // why not.
  HelpWindow* usableWindow(const HelpSystem& help) {
    const QString file = collectionFile(help.helpFileName_);
    if (!QFileInfo(file).isFile()) {
      MessageBoxes::showMessage(help.parentWindow_,
                                u"ヘルプファイルが見つかりません。\n%1"_s.arg(QDir::toNativeSeparators(file)));
      return nullptr;
    }
    if (window && !window->isReady()) delete window.data();  // made while the collection was missing
    if (!window) window = new HelpWindow(file, help.parentWindow_);
    if (!window->isReady()) {
      MessageBoxes::showMessage(help.parentWindow_, u"ヘルプファイルを開けません。\n%1\n%2"_s.arg(
                                                        QDir::toNativeSeparators(file), window->engineError()));
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
  help->showPage(ContentsPage);
  help->showContentsTab();
  help->present();
}

void HelpSystem::showKeywordSearch() {
  HelpWindow* help = d_->usableWindow(*this);
  if (!help) return;
  if (!help->hasPage()) help->showPage(ContentsPage);
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
  for (const TopicPage& entry : TopicPages) {
    if (entry.topic == helpContext) return QString::fromUtf16(entry.page);
  }
  return ContentsPage;
}

QWidget* HelpSystem::window() {
  if (!d_->window) d_->window = new HelpWindow(Private::collectionFile(helpFileName_), parentWindow_);
  return d_->window;
}
