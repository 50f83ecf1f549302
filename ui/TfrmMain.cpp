#include "ui/TfrmMain.h"
#include "ui/BoundedSpinBox.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

#include "calendar/PracticeCalendarWindow.h"
#include "celebration/TfrmOiwai.h"
#include "celebration/TfrmOiwaiCfg.h"
#include "chart3d/Tfrm3DGraph.h"
#include "records/DayCount.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsLocation.h"
#include "ui/ExportDialog.h"
#include "ui/FontNames.h"
#include "ui/HelpSystem.h"
#include "ui/HintText.h"
#include "ui/LoadingFeedback.h"
#include "ui/MessageBoxes.h"
#include "ui/PaneFeeder.h"
#include "ui/PaneFontDialog.h"
#include "ui/Pictures.h"
#include "ui/RecordFileDialog.h"
#include "ui/RecordFilePanel.h"
#include "ui/SettingsColors.h"
#include "ui/TAboutBox.h"
#include "ui/TfrmAverCfg.h"
#include "ui/TfrmColor.h"
#include "ui/TfrmGChar.h"
#include "ui/TfrmOpening.h"
#include "ui/TfrmRecent.h"
#include "viewer/RecordFileWatcher.h"
#include "viewer/ViewExport.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int MaxHintWidth = 120;

const QString RecordFilePattern = u"*.ｷﾛｸ"_s;

// The hourglass for the length of a calculation, whatever way it ends.
class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

// The celebration windows' reports, in the program's message boxes.
void showReport(QWidget* parent, const CelebrationReport& report) {
  if (report.error)
    MessageBoxes::showError(parent, report.text);
  else
    MessageBoxes::showMessage(parent, report.text);
}

// The tab's help topic numbers.
constexpr std::array<int, ViewCount> TabHelpTopics = {5000, 6000, 7000, 8000, 10001};

}  // namespace

TfrmMain::TfrmMain(const StartupContext& context, QWidget* parent) : QMainWindow(parent), context_(context) {
  FormCreate(context);
  // The first tab was made active without a tab change.
  connect(PageControl1, &QTabWidget::currentChanged, this, &TfrmMain::PageControl1Change);
}

StartupContext StartupContext::forApplication() {
  StartupContext context;
  context.settingsPath = SettingsLocation::forProgram(QCoreApplication::applicationFilePath());
  context.programFolder = SettingsLocation::folderOf(QCoreApplication::applicationFilePath());
  context.workingFolder = QDir::currentPath();
  context.arguments = QCoreApplication::arguments().mid(1);
  return context;
}

TfrmMain::~TfrmMain() {
  qApp->removeEventFilter(this);
  delete frmOpening;
}

// ---------------------------------------------------------------------------
// Start-up and close

void TfrmMain::FormCreate(const StartupContext& context) {
  setWindowTitle(u"ＴＡＰＰＥＲの足跡32"_s);
  setWindowIcon(Pictures::programIconSet());
  frmOpening = new TfrmOpening();
  feedback_ = std::make_unique<LoadingFeedback>(*frmOpening, this);
  qApp->installEventFilter(this);  // the hint hook: hints at most 120 pixels wide
  buildToolBar();
  buildPages();
  buildMenus();
  buildPopupMenus();
  help_ = new HelpSystem(u"Hoko32.hlp"_s, this);
  CelebrationFont = font();

  settings_ = std::make_unique<SettingsFile>(context.settingsPath);
  core_ = std::make_unique<ViewerCore>(*settings_, *feedback_);
  loads_ = new LoadScheduler([this](LoadScheduler::Request request) { runWaitingLoad(request); },
                             [] { return QApplication::activeModalWidget() != nullptr; }, this);
  feedback_->setWaitEnds([this] { return loads_->waiting() == LoadScheduler::Request::Close; });
  watcher_ = new RecordFileWatcher(this);
  connect(watcher_, &RecordFileWatcher::grown, this, [this](bool partialLineWaitedFor) {
    liveReload(partialLineWaitedFor ? ViewerCore::Reload::AppendedAsItIs : ViewerCore::Reload::Appended);
  });
  connect(watcher_, &RecordFileWatcher::replaced, this, [this] { liveReload(ViewerCore::Reload::Replaced); });
  const QRect screen =
      QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry() : QRect(0, 0, 1024, 768);
  const SettingsEnvironment environment{screen.width(), screen.height(), context.programFolder};
  applyOptions(MainOptions::load(*settings_, environment));
  RedrawGraph();
  RedrawAver();
  RedrawMiss();

  applyCommandLine(context.arguments);
  buildRecordFileMenu();
  countBannerPictures(context.workingFolder);

  if (CurrentMode == ModeFailed) return;  // no mode: nothing is loaded until a reload
  pressModeButton(CurrentMode);
  const QDate today = QDate::currentDate();
  changeViewSettings([&today](ViewSettings& s) {
    s.startDate = DayCount::encodeDate(today.year(), today.month(), today.day()).value_or(0);
  });
  PageControl1->setCurrentIndex(ViewHistory);
  FirstPassDone = false;
  RecStore();
}

void TfrmMain::applyOptions(const MainOptions& o) {
  setGeometry(o.left, o.top, o.width, o.height);
  if (o.windowState == 1) setWindowState(Qt::WindowMinimized);
  if (o.windowState == 2) setWindowState(Qt::WindowMaximized);
  menuItem(u"Hint1"_s)->setChecked(o.hint);
  CurrentMode = o.defaultType;
  changeViewSettings([&o](ViewSettings& s) {
    s.recentLimit = o.recent;
    s.hitMark = o.hitMark;
    s.missMark = o.missMark;
    s.maxMiss = o.maxMiss;
    s.minHitMiss = o.maxHitMiss;
    s.countInterval = o.countInterval;
  });
  FanfareFile = o.fanfare;
  CelebrationMessage = o.oiwaiMessage;
  CelebrationFont.setFamily(o.oiwaiFontName);
  CelebrationFont.setPointSize(std::max(o.oiwaiFontSize, 1));
  CelebrationFontColor = SettingsColors::resolve(o.oiwaiFontColor);
  seRankCount->setValue(o.rankCount);
  menuItem(u"Show3DGraph"_s)->setChecked(o.show3DGraph);
  menuItem(u"AutoReload1"_s)->setChecked(o.autoReload);
  cbMIssEval->setChecked(o.missEval);
  cbMIssEvalClick();  // the caption follows the state; nothing is loaded yet
  RecordFolder = o.path;
  plRecFile->setText(o.recFile);
  for (int tab = 0; tab < ViewCount; ++tab) {
    const PaneFont& f = o.fonts[static_cast<std::size_t>(tab)];
    QPlainTextEdit* memo = Memos[static_cast<std::size_t>(tab)];
    memo->setFont(FontNames::paneFont(f.name, f.size));
    QPalette palette = memo->palette();
    palette.setColor(QPalette::Text, SettingsColors::resolve(f.color));
    palette.setColor(QPalette::Base, SettingsColors::resolve(f.backColor));
    memo->setPalette(palette);
  }
  Panel2->setFont(Memos[ViewGraph]->font());
  Panel3->setFont(Memos[ViewAverage]->font());
  Panel4->setFont(Memos[ViewMiss]->font());
}

MainOptions TfrmMain::currentOptions() const {
  MainOptions o;
  const QRect bounds = isMaximized() || isMinimized() ? normalGeometry() : geometry();
  o.windowState = isMinimized() ? 1 : isMaximized() ? 2 : 0;
  o.width = bounds.width();
  o.height = bounds.height();
  o.left = bounds.x();
  o.top = bounds.y();
  o.hint = menuItem(u"Hint1"_s)->isChecked();
  const ViewSettings& s = core_->settings();
  o.recent = static_cast<std::uint8_t>(s.recentLimit);
  o.defaultType = CurrentMode;
  o.hitMark = s.hitMark;
  o.missMark = s.missMark;
  o.fanfare = FanfareFile;
  o.oiwaiMessage = CelebrationMessage;
  o.oiwaiFontName = CelebrationFont.family();
  o.oiwaiFontSize = CelebrationFont.pointSize();
  o.oiwaiFontColor = SettingsColors::of(CelebrationFontColor);
  o.maxMiss = static_cast<std::uint8_t>(s.maxMiss);
  o.maxHitMiss = s.minHitMiss;
  o.countInterval = s.countInterval;
  o.rankCount = seRankCount->value();
  o.show3DGraph = menuItem(u"Show3DGraph"_s)->isChecked();
  o.autoReload = menuItem(u"AutoReload1"_s)->isChecked();
  o.missEval = cbMIssEval->isChecked();
  o.path = RecordFolder;
  o.recFile = plRecFile->text();
  for (int tab = 0; tab < ViewCount; ++tab) {
    const QPlainTextEdit* memo = Memos[static_cast<std::size_t>(tab)];
    PaneFont& f = o.fonts[static_cast<std::size_t>(tab)];
    f.name = memo->font().family();
    f.size = memo->font().pointSize();
    f.color = SettingsColors::of(memo->palette().color(QPalette::Text));
    f.backColor = SettingsColors::of(memo->palette().color(QPalette::Base));
  }
  return o;
}

// Saves every option. When the settings file cannot be written the window
// stays open with the message; closing it once more leaves without saving.
bool TfrmMain::FormClose() {
  if (closing_) return true;
  if (currentOptions().save(*settings_, SettingsColors::resolveToRgb)) return true;
  MessageBoxes::showError(this, settings_->writeFailureMessage());
  closing_ = true;
  return false;
}

void TfrmMain::closeEvent(QCloseEvent* event) {
  // Not while a load is going on: the window closes once it has ended.
  if (!loads_->mayRunNow(LoadScheduler::Request::Close) || !FormClose()) {
    event->ignore();
    return;
  }
  frmOpening->hide();
  event->accept();
}

void TfrmMain::applyCommandLine(const QStringList& arguments) {
  if (arguments.isEmpty()) {
    if (!QFileInfo(recordPath()).isFile()) plRecFile->clear();
    return;
  }
  const QFileInfo file(arguments.first());
  if (file.isFile()) {
    const QString argument = arguments.first();
    const qsizetype slash = argument.lastIndexOf(u'/');
    RecordFolder = slash < 0 ? QString() : argument.left(slash + 1);
    plRecFile->setText(file.fileName());
  } else {
    MessageBoxes::showMessage(this, u"引数に指定されたファイルがみつかりません。選択してください"_s);
    plRecFile->clear();
    Directory1Click();
  }
  if (arguments.size() == 2) {
    const QString& letter = arguments[1];
    CurrentMode = letter == u"A"_s   ? ModeAlphabet
                  : letter == u"ｱ"_s ? ModeKana
                  : letter == u"!"_s ? ModeSymbols
                                     : ModeRomaji;
  }
}

// The banner pictures "Oiwai<n>.bmp" in the working folder: the largest n.
void TfrmMain::countBannerPictures(const QString& folder) {
  BannerPictureMax = 0;
  // Name filters match without regard to case: "OIWAI1.BMP" counts too.
  const QStringList names = QDir(folder).entryList({u"Oiwai*.bmp"_s}, QDir::Files | QDir::Hidden | QDir::System);
  for (const QString& name : names) {
    const qsizetype dot = name.indexOf(u'.');
    bool ok = false;
    const int number = name.mid(5, dot - 5).toInt(&ok);
    BannerPictureMax = std::max(BannerPictureMax, ok ? number & 0xFF : 0);
  }
}

void TfrmMain::createLongLivedDialogs() {
  AboutBox = new TAboutBox(this);
  frmColor = new TfrmColor(this);
  frmGChar = new TfrmGChar(this);
  frmRecent = new TfrmRecent(this);
  frmAverCfg = new TfrmAverCfg(this);
  frmOiwaiCfg = new TfrmOiwaiCfg(this);
  frmOiwaiCfg->setReporter(showReport);
}

// ---------------------------------------------------------------------------
// Layout

void TfrmMain::buildToolBar() {
  ToolBar1 = addToolBar(u"ToolBar1"_s);
  ToolBar1->setObjectName(u"ToolBar1"_s);
  ToolBar1->setMovable(false);
  ToolBar1->setFloatable(false);
  ToolBar1->setIconSize(QSize(16, 16));
  ToolBar1->setContextMenuPolicy(Qt::PreventContextMenu);

  plRecFile = new RecordFilePanel(ToolBar1);
  plRecFile->setObjectName(u"plRecFile"_s);
  plRecFile->setFixedSize(113, 22);
  QFont panelFont(u"ＭＳ ゴシック"_s);
  panelFont.setBold(true);
  plRecFile->setFont(panelFont);
  plRecFile->setStyleSheet(u"color: navy;"_s);
  plRecFile->setToolTip(u"ｷﾛｸﾌｧｲﾙ"_s);
  plRecFile->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(plRecFile, &RecordFilePanel::clicked, this, &TfrmMain::plRecFileClick);
  connect(plRecFile, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopupMenu2->exec(plRecFile->mapToGlobal(at)); });
  ToolBar1->addWidget(plRecFile);
  ToolBar1->addSeparator();

  const auto toolButton = [this](const QString& name, const QString& hint, int picture) {
    auto* button = new QToolButton(ToolBar1);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setIcon(QIcon(Pictures::toolbarImage(picture)));
    button->setAutoRaise(true);
    ToolBar1->addWidget(button);
    return button;
  };
  const QString modeNames[] = {u"ButtonA"_s, u"ButtonK"_s, u"ButtonR"_s, u"ButtonE"_s};
  const QString modeHints[] = {u"英字"_s, u"かな"_s, u"ローマ字"_s, u"記号"_s};
  for (int mode = 0; mode < PracticeModeCount; ++mode) {
    QToolButton* button = toolButton(modeNames[mode], modeHints[mode], mode);
    button->setCheckable(true);
    connect(button, &QToolButton::clicked, this, [this, mode] { ButtonAClick(mode); });
    ModeButtons[static_cast<std::size_t>(mode)] = button;
  }
  ToolBar1->addSeparator();
  GraphButton = toolButton(u"GraphButton"_s, u"3Dｸﾞﾗﾌ"_s, 12);
  connect(GraphButton, &QToolButton::clicked, this, &TfrmMain::GraphButtonClick);
  CalendarButton = toolButton(u"CalendarButton"_s, u"練習カレンダー"_s, 14);
  connect(CalendarButton, &QToolButton::clicked, this, &TfrmMain::Calendar1Click);
  CopyButton = toolButton(u"CopyButton"_s, u"すべてｺﾋﾟｰ"_s, 8);
  connect(CopyButton, &QToolButton::clicked, this, &TfrmMain::CopyAll1Click);
  DirButton = toolButton(u"DirButton"_s, u"ﾌｫﾙﾀﾞの変更"_s, 9);
  connect(DirButton, &QToolButton::clicked, this, &TfrmMain::Directory1Click);
  FontButton = toolButton(u"FontButton"_s, u"ﾌｫﾝﾄの変更"_s, 10);
  connect(FontButton, &QToolButton::clicked, this, &TfrmMain::Font2Click);
  ToolBar1->addSeparator();
  ExitButton = toolButton(u"ExitButton"_s, u"終了"_s, 11);
  connect(ExitButton, &QToolButton::clicked, this, &TfrmMain::Exit1Click);
}

void TfrmMain::buildPages() {
  PageControl1 = new QTabWidget(this);
  PageControl1->setObjectName(u"PageControl1"_s);
  setCentralWidget(PageControl1);
  const QString captions[] = {u"ベストの足跡"_s, u"ベストのグラフ"_s, u"平均の推移"_s, u"ミスワースト10"_s,
                              u"自己ベスト10"_s};

  // Header panels.
  Panel2 = new QLabel;
  Panel2->setObjectName(u"Panel2"_s);
  Panel3 = new QLabel;
  Panel3->setObjectName(u"Panel3"_s);
  // The scale lines are cut by the window's width rather than widening it.
  Panel2->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  Panel3->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  const QString periodNames[] = {u"ButtonDay"_s, u"ButtonWeek"_s, u"ButtonMonth"_s, u"ButtonYear"_s, u"ButtonCount"_s};
  const QString periodCaptions[] = {u"日"_s, u"週"_s, u"月"_s, u"年"_s, u"回"_s};
  const QString periodHints[] = {u"日平均を表示します"_s, u"週平均を表示します"_s, u"月平均を表示します"_s,
                                 u"年平均を表示します"_s, u"一定回数ごとの平均を表示します"_s};
  for (int i = 0; i < 5; ++i) {
    auto* button = new QToolButton(Panel3);
    button->setObjectName(periodNames[i]);
    button->setText(periodCaptions[i]);
    button->setToolTip(periodHints[i]);
    button->setCheckable(true);
    button->setChecked(i == 0);
    connect(button, &QToolButton::clicked, this, [this, i] { ButtonDayClick(i + 1); });
    PeriodButtons[static_cast<std::size_t>(i)] = button;
  }
  ButtonAverCfg = new QPushButton(u"設定"_s, Panel3);
  ButtonAverCfg->setObjectName(u"ButtonAverCfg"_s);
  ButtonAverCfg->setToolTip(u"総打数、ミス、回数の間隔の設定を行います"_s);
  connect(ButtonAverCfg, &QPushButton::clicked, this, &TfrmMain::ButtonAverCfgClick);

  Panel4 = new QWidget;
  Panel4->setObjectName(u"Panel4"_s);
  btnReCalc = new QPushButton(u"再計算"_s, Panel4);
  btnReCalc->setObjectName(u"btnReCalc"_s);
  btnReCalc->setToolTip(u"右の設定に合わせて再表示します"_s);
  connect(btnReCalc, &QPushButton::clicked, this, &TfrmMain::btnReCalcClick);
  MissLabel1 = new QLabel(u"HIT数が"_s, Panel4);
  seMissCon = new BoundedSpinBox(Panel4);
  seMissCon->setObjectName(u"seMissCon"_s);
  seMissCon->setRange(0, 500);
  seMissCon->setSingleStep(10);
  MissLabel2 = new QLabel(u"以上のときのミス率ワースト１０"_s, Panel4);

  Panel1 = new QWidget;
  Panel1->setObjectName(u"Panel1"_s);
  auto* rankLayout = new QHBoxLayout(Panel1);
  rankLayout->setContentsMargins(2, 2, 2, 2);
  rankLayout->addWidget(new QLabel(u"自己ベスト"_s, Panel1));
  seRankCount = new BoundedSpinBox(Panel1);
  seRankCount->setObjectName(u"seRankCount"_s);
  seRankCount->setRange(RankCountMin, RankCountMax);
  seRankCount->setValue(10);
  rankLayout->addWidget(seRankCount);
  cbMIssEval = new QCheckBox(Panel1);
  cbMIssEval->setObjectName(u"cbMIssEval"_s);
  cbMIssEval->setChecked(true);
  rankLayout->addWidget(cbMIssEval);
  rankLayout->addStretch();
  connect(seRankCount, &QSpinBox::valueChanged, this, &TfrmMain::seRankCountChange);
  connect(cbMIssEval, &QCheckBox::clicked, this, &TfrmMain::cbMIssEvalClick);

  QWidget* headers[] = {nullptr, Panel2, Panel3, Panel4, Panel1};
  for (int tab = 0; tab < ViewCount; ++tab) {
    auto* page = new QWidget;
    page->setObjectName(u"TabSheet"_s + QString::number(tab + 1));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    if (headers[tab]) layout->addWidget(headers[tab], 0, Qt::AlignTop);  // at the top, also above a hidden pane
    auto* memo = new QPlainTextEdit(page);
    memo->setObjectName(u"Memo"_s + QString::number(tab + 1));
    const bool wraps = tab == ViewMiss || tab == ViewBest;
    memo->setLineWrapMode(wraps ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    memo->setUndoRedoEnabled(false);  // a pass replaces the whole text; no history of it
    memo->setTabChangesFocus(true);   // a view: Tab moves on, it types nothing
    memo->setHorizontalScrollBarPolicy(tab == ViewHistory ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->installEventFilter(this);
    memo->viewport()->installEventFilter(this);
    layout->addWidget(memo);
    Memos[static_cast<std::size_t>(tab)] = memo;
    feeders_[static_cast<std::size_t>(tab)] = new PaneFeeder(memo);
    PageControl1->addTab(page, captions[tab]);
  }
  Memos[ViewHistory]->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(Memos[ViewHistory], &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopupMenu1->exec(Memos[ViewHistory]->mapToGlobal(at)); });
  setContextMenuPolicy(Qt::CustomContextMenu);
  connect(this, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopupMenu1->exec(mapToGlobal(at)); });
}

QAction* TfrmMain::addItem(QMenu* menu, const QString& name, const QString& caption, const QKeySequence& shortcut,
                           void (TfrmMain::*handler)()) {
  QAction* item = menu->addAction(caption);
  item->setObjectName(name);
  if (!shortcut.isEmpty()) {
    item->setShortcut(shortcut);
    item->setShortcutContext(Qt::WindowShortcut);
    menuShortcutKeys_ << shortcut.toString();
  }
  if (handler) connect(item, &QAction::triggered, this, handler);
  return item;
}

void TfrmMain::buildMenus() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(u"MainMenu1"_s);
  const auto separator = [](QMenu* menu, const QString& name) { menu->addSeparator()->setObjectName(name); };

  QMenu* file = bar->addMenu(u"ﾌｧｲﾙ(&F)"_s);
  file->setObjectName(u"File1"_s);
  addItem(file, u"File2"_s, u"記録ファイルの選択(&F)"_s, QKeySequence(u"Ctrl+S"_s), &TfrmMain::plRecFileClick);
  addItem(file, u"Directory1"_s, u"フォルダの変更...(&D)"_s, QKeySequence(u"Ctrl+D"_s), &TfrmMain::Directory1Click);
  addItem(file, u"ReSet1"_s, u"再読み込み(R)"_s, QKeySequence(u"Ctrl+Q"_s), &TfrmMain::ReSet1Click);
  addItem(file, u"MakeData"_s, u"圧縮ﾃﾞｰﾀ再作成(&M)"_s, {}, &TfrmMain::MakeDataClick);
  addItem(file, u"Export1"_s, u"エクスポート..."_s, {}, &TfrmMain::ExportClick);
  separator(file, u"N4"_s);
  addItem(file, u"Exit1"_s, u"終了(&X)"_s, QKeySequence(u"Ctrl+X"_s), &TfrmMain::Exit1Click);

  QMenu* edit = bar->addMenu(u"編集(&E)"_s);
  edit->setObjectName(u"Edit1"_s);
  addItem(edit, u"Copy1"_s, u"ｺﾋﾟｰ(&C)"_s, QKeySequence(u"Ctrl+C"_s), &TfrmMain::Copy1Click);
  addItem(edit, u"CopyAll1"_s, u"すべてｺﾋﾟｰ(&A)"_s, QKeySequence(u"Ctrl+W"_s), &TfrmMain::CopyAll1Click);

  QMenu* show = bar->addMenu(u"表示(&S)"_s);
  show->setObjectName(u"Show1"_s);
  const QString viewNames[] = {u"Best1"_s, u"Graph1"_s, u"Aver1"_s, u"Miss1"_s, u"MyBest1"_s};
  const QString viewCaptions[] = {u"ベストの足跡(&B)"_s, u"ベストのグラフ(&G)"_s, u"平均の推移(&A)"_s,
                                  u"ミスワースト１０(&M)"_s, u"自己ベスト10(&Y)"_s};
  for (int tag = 1; tag <= 5; ++tag) {
    QAction* item = addItem(show, viewNames[tag - 1], viewCaptions[tag - 1], {}, nullptr);
    connect(item, &QAction::triggered, this, [this, tag] { Best1Click(tag); });
  }
  separator(show, u"N10"_s);
  addItem(show, u"Graph2"_s, u"３Ｄグラフ...(&3)"_s, QKeySequence(u"Ctrl+G"_s), &TfrmMain::GraphButtonClick);
  addItem(show, u"Show3DGraph"_s, u"起動時に3Dグラフ表示"_s, {}, &TfrmMain::Show3DGraphClick)->setCheckable(true);
  addItem(show, u"Calendar1"_s, u"練習カレンダー"_s, QKeySequence(u"Ctrl+Y"_s), &TfrmMain::Calendar1Click);
  separator(show, u"N8"_s);
  addItem(show, u"Font2"_s, u"ﾌｫﾝﾄの変更...(&F)"_s, QKeySequence(u"Ctrl+F"_s), &TfrmMain::Font2Click);
  QMenu* color = show->addMenu(u"背景色の変更(&O)"_s);
  color->setObjectName(u"Color1"_s);
  addItem(color, u"Col1"_s, u"ｶﾗｰﾘｽﾄから選択...(&L)"_s, QKeySequence(u"Ctrl+B"_s), &TfrmMain::Col1Click);
  addItem(color, u"Col2"_s, u"ｺﾓﾝﾀﾞｲｱﾛｸﾞから選択...(&C)"_s, {}, &TfrmMain::Color1Click);
  addItem(show, u"GraphChar"_s, u"グラフ表示キャラクタ...(&C)"_s, {}, &TfrmMain::GraphCharClick);
  addItem(show, u"Recent1"_s, u"表示回数の制限...(&R)"_s, QKeySequence(u"Ctrl+L"_s), &TfrmMain::Recent1Click);

  QMenu* run = bar->addMenu(u"実行(&R)"_s);
  run->setObjectName(u"Run1"_s);
  const QString modeItems[] = {u"MenuA"_s, u"MenuK"_s, u"MenuR"_s, u"MenuE"_s};
  const QString modeCaptions[] = {u"&A（英字）"_s, u"&K（カナ）"_s, u"&R（ローマ字）"_s, u"&!（記号）"_s};
  const QString modeKeys[] = {u"Ctrl+A"_s, u"Ctrl+K"_s, u"Ctrl+R"_s, u"Ctrl+E"_s};
  for (int mode = 0; mode < PracticeModeCount; ++mode) {
    QAction* item = addItem(run, modeItems[mode], modeCaptions[mode], QKeySequence(modeKeys[mode]), nullptr);
    connect(item, &QAction::triggered, this, [this, mode] { ButtonAClick(mode); });
  }
  separator(run, u"N1"_s);
  const QString dayItems[] = {u"Day1"_s, u"Week1"_s, u"Month1"_s, u"Year1"_s};
  const QString dayCaptions[] = {u"日平均(&D)"_s, u"週平均(&W)"_s, u"月平均(&M)"_s, u"年平均(&Y)"_s};
  for (int i = 0; i < 4; ++i) {
    QAction* item = addItem(run, dayItems[i], dayCaptions[i], {}, nullptr);
    connect(item, &QAction::triggered, this, [this, i] { ButtonDayClick(i + 1); });
  }
  addItem(run, u"AverCfg1"_s, u"平均の条件設定(&C)"_s, {}, &TfrmMain::ButtonAverCfgClick);
  separator(run, u"N9"_s);
  addItem(run, u"ReCalc1"_s, u"再計算(&R)"_s, {}, &TfrmMain::btnReCalcClick);

  QMenu* option = bar->addMenu(u"ｵﾌﾟｼｮﾝ(&O)"_s);
  option->setObjectName(u"Option1"_s);
  addItem(option, u"Hint1"_s, u"ヒント表示の有無(&H)"_s, QKeySequence(u"Ctrl+H"_s), &TfrmMain::Hint1Click)
      ->setCheckable(true);
  QAction* autoReload = addItem(option, u"AutoReload1"_s, u"自動再読み込み"_s, {}, &TfrmMain::AutoReload1Click);
  autoReload->setCheckable(true);
  autoReload->setChecked(true);
  separator(option, u"N7"_s);
  addItem(option, u"Nomiss1"_s, u"ノーミスのみ(&N)"_s, QKeySequence(u"Ctrl+N"_s), &TfrmMain::Nomiss1Click)
      ->setCheckable(true);
  addItem(option, u"Level1"_s, u"レベルアップのみ(&U)"_s, QKeySequence(u"Ctrl+U"_s), &TfrmMain::Level1Click)
      ->setCheckable(true);
  separator(option, u"N6"_s);
  addItem(option, u"KM1"_s, u"お祝いの設定...(&O)"_s, QKeySequence(u"Ctrl+O"_s), &TfrmMain::KM1Click);

  QMenu* help = bar->addMenu(u"ﾍﾙﾌﾟ(&H)"_s);
  help->setObjectName(u"Help1"_s);
  addItem(help, u"Help2"_s, u"ヘルプ(&H)"_s, QKeySequence(Qt::Key_F1), &TfrmMain::Help2Click);
  addItem(help, u"KK1"_s, u"キーワードで検索(&K)"_s, {}, &TfrmMain::KK1Click);
  separator(help, u"N5"_s);
  addItem(help, u"Version1"_s, u"バージョン情報...(&V)"_s, QKeySequence(u"Ctrl+V"_s), &TfrmMain::Version1Click);

  // Shortcuts that work while their items are hidden: Ctrl+C, Ctrl+U, Ctrl+G.
  const QString hiddenWithKeys[] = {u"Copy1"_s, u"Level1"_s, u"Graph2"_s};
  for (const QString& name : hiddenWithKeys) {
    QAction* item = menuItem(name);
    auto* key = new QShortcut(item->shortcut(), this);
    key->setObjectName(name + u"Key"_s);
    key->setEnabled(false);
    connect(key, &QShortcut::activated, this, [item] {
      if (item->isCheckable()) item->setChecked(!item->isChecked());
      item->setEnabled(true);
      Q_EMIT item->triggered(item->isChecked());
    });
  }
  applyTabMenuState(ViewHistory);
}

void TfrmMain::buildPopupMenus() {
  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName(u"PopupMenu1"_s);
  const auto add = [this](const QString& name, const QString& caption, void (TfrmMain::*handler)()) {
    QAction* item = PopupMenu1->addAction(caption);
    item->setObjectName(name);
    connect(item, &QAction::triggered, this, handler);
  };
  add(u"CopyAll2"_s, u"すべてｺﾋﾟｰ"_s, &TfrmMain::CopyAll1Click);
  add(u"Copy2"_s, u"ｺﾋﾟｰ"_s, &TfrmMain::Copy1Click);
  PopupMenu1->addSeparator();
  add(u"Directory2"_s, u"ﾌｫﾙﾀﾞの変更..."_s, &TfrmMain::Directory1Click);
  add(u"Font1"_s, u"ﾌｫﾝﾄの変更..."_s, &TfrmMain::Font2Click);
  add(u"Recent2"_s, u"表示回数の制限..."_s, &TfrmMain::Recent1Click);
  add(u"ReSet2"_s, u"再読み込み"_s, &TfrmMain::ReSet1Click);
  PopupMenu1->addSeparator();
  add(u"Exit2"_s, u"終了"_s, &TfrmMain::Exit1Click);

  PopupMenu2 = new QMenu(this);
  PopupMenu2->setObjectName(u"PopupMenu2"_s);
  connect(PopupMenu2, &QMenu::triggered, this, &TfrmMain::FileMenuClick);

  OpenDialog1 = new RecordFileDialog(this);
  OpenDialog1->setObjectName(u"OpenDialog1"_s);
}

QAction* TfrmMain::menuItem(const QString& name) const { return findChild<QAction*>(name); }

// A hidden item keeps its shortcut through its companion key.
void TfrmMain::setItemVisible(const QString& name, bool visible) {
  QAction* item = menuItem(name);
  item->setVisible(visible);
  if (auto* key = findChild<QShortcut*>(name + u"Key"_s)) key->setEnabled(!visible);
}

void TfrmMain::applyTabMenuState(int tab) {
  setItemVisible(u"Copy1"_s, tab == ViewHistory || tab == ViewMiss || tab == ViewBest);
  if (PopupMenu1)
    PopupMenu1->findChild<QAction*>(u"Copy2"_s)->setVisible(tab == ViewHistory || tab == ViewMiss || tab == ViewBest);
  setItemVisible(u"Level1"_s, tab == ViewHistory);
  for (const QString& name : {u"N1"_s, u"Day1"_s, u"Week1"_s, u"Month1"_s, u"Year1"_s, u"AverCfg1"_s})
    setItemVisible(name, tab == ViewAverage);
  setItemVisible(u"N9"_s, tab == ViewMiss);
  setItemVisible(u"ReCalc1"_s, tab == ViewMiss);
  setItemVisible(u"Graph2"_s, tab <= ViewAverage);
  GraphButton->setEnabled(tab <= ViewAverage);
  GraphButton->setIcon(QIcon(Pictures::toolbarImage(tab <= ViewAverage ? 12 : 13)));
  PageControl1->setProperty("helpContext", TabHelpTopics[static_cast<std::size_t>(std::clamp(tab, 0, ViewCount - 1))]);
}

// ---------------------------------------------------------------------------
// Loading and the passes

QString TfrmMain::recordPath() const { return RecordFolder + plRecFile->text(); }

bool TfrmMain::modeSelected() const {
  return std::any_of(ModeButtons.begin(), ModeButtons.end(), [](const QToolButton* b) { return b->isChecked(); });
}

int TfrmMain::activeTab() const { return PageControl1->currentIndex(); }

void TfrmMain::RecStore() {
  if (!loads_->mayRunNow(LoadScheduler::Request::Load)) return;
  loads_->forgetLiveReloads();  // this load reads whatever they would have added
  LoadOutcome outcome;
  {
    const LoadScheduler::Turn turn(*loads_);
    keptScroll_ = {};  // a load shows every pane from its top
    outcome = core_->load(recordPath());
    updateCalendar();  // at once: the window must not keep runs of the load before
    followRecordFile();
    switch (outcome) {
      case LoadOutcome::NoRecordFile:
      case LoadOutcome::Unreadable:
      case LoadOutcome::TailFailed: break;
      case LoadOutcome::OutOfMemory:
        // No run is left in memory: the panes must not go on showing the file before.
        clearPanes();
        break;
      case LoadOutcome::Loaded:
        clearPanes();
        runActivePass();
        frmOpening->hide();
        break;
    }
  }
  // The choice of another file starts its own load, after this one.
  if (outcome == LoadOutcome::NoRecordFile) Directory1Click();
}

void TfrmMain::runWaitingLoad(LoadScheduler::Request request) {
  using enum LoadScheduler::Request;
  switch (request) {
    case None: break;
    case Appended: liveReload(ViewerCore::Reload::Appended); break;
    case AppendedAsItIs: liveReload(ViewerCore::Reload::AppendedAsItIs); break;
    case Replaced: liveReload(ViewerCore::Reload::Replaced); break;
    case Load: RecStore(); break;
    case Rebuild: MakeDataClick(); break;
    case Close: close(); break;
  }
}

void TfrmMain::followRecordFile() {
  const LoadedRecords& records = core_->records();
  // A file missing now is watched all the same: it is followed again once it is back.
  if (menuItem(u"AutoReload1"_s)->isChecked() && modeSelected() && !plRecFile->text().isEmpty())
    watcher_->watch(recordPath(), records.CachedFile.isEmpty() ? -1 : records.CachedUpTo);
  else
    watcher_->stop();
}

void TfrmMain::AutoReload1Click() { followRecordFile(); }

// The practice calendar, non-modal: made once, then shown and brought up.
void TfrmMain::Calendar1Click() {
  if (!calendarWindow_) calendarWindow_ = new PracticeCalendarWindow(settings_.get(), this, MessageBoxes::showError);
  calendarWindow_->setRunsFont(Memos[ViewHistory]->font());
  calendarWindow_->show();  // placed before its first calendar is laid out
  updateCalendar();
  calendarWindow_->raise();
  calendarWindow_->activateWindow();
}

void TfrmMain::updateCalendar() {
  if (!calendarWindow_ || !calendarWindow_->isVisible()) return;
  const LoadedRecords& records = core_->records();
  calendarWindow_->setRuns(std::span<const PracticeRecord* const>(records.AllRecords.data(), records.AllRecords.size()),
                           static_cast<PracticeMode>(std::clamp(CurrentMode, 0, 255)), QDate::currentDate());
}

// Saves every run, or the active view's data for the current mode and options,
// as a CSV or JSON file, through the same code as the report tool. The file is
// replaced only once the save dialog has asked, and then as a whole; the
// record file, its data file and the settings file are never replaced. One
// export runs at a time.
void TfrmMain::ExportClick() {
  if (!core_->hasRuns() || !modeSelected()) {
    MessageBoxes::showMessage(this, u"エクスポートする練習がありません。記録ファイルを読み込んでください。"_s);
    return;
  }
  QAction* item = menuItem(u"Export1"_s);
  if (!item->isEnabled()) return;
  item->setEnabled(false);
  struct EnabledAgain {
    QAction* item;
    ~EnabledAgain() { item->setEnabled(true); }
  } const enabledAgain{item};

  const int tab = std::clamp(activeTab(), 0, ViewCount - 1);
  ExportDialog choice(PageControl1->tabText(tab), this);
  if (choice.exec() != QDialog::Accepted) return;
  const ExportDialog::Content content = choice.content();
  const bool everyRun = content == ExportDialog::Content::EveryRun;
  const bool calendar = content == ExportDialog::Content::Calendar;

  const QString csvFilter = u"CSV ファイル (*.csv)"_s;
  const QString jsonFilter = u"JSON ファイル (*.json)"_s;
  QFileDialog save(this, u"エクスポート"_s);
  save.setObjectName(u"SaveDialog1"_s);
  save.setOption(QFileDialog::DontUseNativeDialog);
  save.setAcceptMode(QFileDialog::AcceptSave);
  save.setNameFilters({csvFilter, jsonFilter});
  save.setDefaultSuffix(u"csv"_s);
  connect(&save, &QFileDialog::filterSelected, &save, [&save, &jsonFilter](const QString& filter) {
    save.setDefaultSuffix(filter == jsonFilter ? u"json"_s : u"csv"_s);
  });
  const QString base = QFileInfo(plRecFile->text()).completeBaseName();
  save.setDirectory(RecordFolder.isEmpty() ? QDir::currentPath() : RecordFolder);
  // Named as the typist calls what it holds: every run, the calendar, or the tab.
  const QString part = calendar ? u"カレンダー"_s : everyRun ? u"全記録"_s : PageControl1->tabText(tab);
  save.selectFile(base + u'_' + part + u".csv"_s);
  if (save.exec() != QDialog::Accepted || save.selectedFiles().isEmpty()) return;
  const QString path = save.selectedFiles().first();
  const bool json = save.selectedNameFilter() == jsonFilter || path.endsWith(u".json"_s, Qt::CaseInsensitive);
  if (refusesExportTarget(path)) return;
  try {
    writeExport(path, everyRun, calendar, json, choice.shiftJis());
  } catch (const std::bad_alloc&) {  // a pass or the calendar; the export itself says so as a result
    feedback_->hideLoading();
    frmOpening->setWindowModality(Qt::NonModal);
    MessageBoxes::showError(this, ViewExport::outOfMemory(QDir::toNativeSeparators(path)));
  }
}

// Says in a message box why the target is refused when it is the record file,
// its data file or the settings file, under any name or link.
bool TfrmMain::refusesExportTarget(const QString& path) {
  const auto kept = ExportTarget::KeptFiles::of(recordPath(), settings_->path());
  const ExportTarget::KeptFile clash = ExportTarget::clash(path, kept);
  if (clash == ExportTarget::KeptFile::None) return false;
  MessageBoxes::showError(this, ExportTarget::refusal(QDir::toNativeSeparators(path), clash, kept) +
                                    u"\n別のファイル名を指定してください。"_s);
  return true;
}

// Writes every run, the practice calendar's days or the active view's data to
// `path` through a QSaveFile: a failed export leaves the file as it was. An
// export of every run that takes more than a glance shows the loading window
// with how far it has come. No load runs while the runs are written: a live
// reload asked for meanwhile follows once the export has ended.
void TfrmMain::writeExport(const QString& path, bool everyRun, bool calendar, bool json, bool shiftJis) {
  const LoadScheduler::Turn turn(*loads_);
  const QString shownPath = QDir::toNativeSeparators(path);
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    MessageBoxes::showError(this, u"%1 に書き込めません"_s.arg(shownPath));
    return;
  }
  constexpr qint64 WindowAfterMs = 400;
  QElapsedTimer clock;
  clock.start();
  int percent = -1;  // of the runs written; -1 while the window is not shown
  const ViewExport::Progress progress = [this, &clock, &percent](std::int64_t done, std::int64_t total) {
    if (percent < 0) {
      if (clock.elapsed() < WindowAfterMs) return;
      frmOpening->setWindowModality(Qt::ApplicationModal);
      feedback_->showLoading(u"エクスポート中..."_s);
      feedback_->startProgress(100, 1);
      percent = 0;
    }
    for (; percent < done * 100 / total; ++percent) feedback_->stepProgress();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  };

  const TextEncoding encoding = shiftJis ? TextEncoding::ShiftJis : TextEncoding::Utf8;
  const QString fileName = plRecFile->text();
  ViewExport::Result result;
  if (calendar) {
    // The calendar's days as the calendar window counts them: the mode shown, or every mode.
    const bool allModes =
        calendarWindow_ ? calendarWindow_->allModes() : settings_->readBool(u"Calendar"_s, u"AllModes"_s, false);
    const LoadedRecords& records = core_->records();
    const PracticeCalendar days = PracticeCalendar::build(
        std::span<const PracticeRecord* const>(records.AllRecords.data(), records.AllRecords.size()),
        allModes ? std::nullopt : std::optional<PracticeMode>(static_cast<PracticeMode>(CurrentMode)),
        QDate::currentDate());
    result = json ? ViewExport::writeJson(file, *core_, {}, false, fileName, &days)
                  : ViewExport::writeCalendarCsv(file, days, encoding);
  } else if (everyRun) {
    result = json ? ViewExport::writeJson(file, *core_, {}, true, fileName, nullptr, progress)
                  : ViewExport::writeRunsCsv(file, core_->records(), encoding, progress);
  } else {
    // The active view as the current options give it.
    runActivePass();
    const auto view = static_cast<View>(std::clamp(activeTab(), 0, ViewCount - 1));
    result = json ? ViewExport::writeJson(file, *core_, {view}, false, fileName)
                  : ViewExport::writeViewCsv(file, *core_, view, encoding);
  }
  if (percent >= 0) {
    feedback_->hideLoading();
    frmOpening->setWindowModality(Qt::NonModal);
  }
  if (!result.written()) file.cancelWriting();
  if (result.outcome == ViewExport::Result::Outcome::OutOfMemory)
    MessageBoxes::showError(this, ViewExport::outOfMemory(shownPath) + u"\n%1 は変更していません。"_s.arg(shownPath));
  else if (!result.written() || !file.commit())
    MessageBoxes::showError(this, u"%1 に書き込めません"_s.arg(shownPath));
}

// The record file changed while the viewer is open: the new runs join the
// loaded ones and the active view is computed again; mode, tab and where each
// pane was scrolled to stay as the user left them. Other panes are computed
// when their tab is shown, as after any load.
void TfrmMain::liveReload(ViewerCore::Reload kind) {
  if (!menuItem(u"AutoReload1"_s)->isChecked() || !modeSelected() || closing_) return;
  using enum ViewerCore::Reload;
  using Request = LoadScheduler::Request;
  if (!loads_->mayRunNow(kind == Appended         ? Request::Appended
                         : kind == AppendedAsItIs ? Request::AppendedAsItIs
                                                  : Request::Replaced))
    return;
  const LoadScheduler::Turn turn(*loads_);
  for (int tab = 0; tab < ViewCount; ++tab) {
    const QPlainTextEdit* memo = Memos[static_cast<std::size_t>(tab)];
    if (!memo->document()->isEmpty() && !keptScroll_[static_cast<std::size_t>(tab)])
      keptScroll_[static_cast<std::size_t>(tab)] =
          QPoint(memo->horizontalScrollBar()->value(), memo->verticalScrollBar()->value());
  }
  feedback_->setQuiet(kind != ViewerCore::Reload::Replaced);
  const LoadOutcome outcome = core_->reload(recordPath(), kind);
  feedback_->setQuiet(false);
  updateCalendar();
  if (outcome == LoadOutcome::OutOfMemory) clearPanes();
  if (outcome != LoadOutcome::Loaded) return;
  // Runs of other modes alone change nothing that the views of this mode show.
  if (!core_->changedMode(static_cast<PracticeMode>(CurrentMode))) {
    keptScroll_ = {};
    return;
  }
  // A record is celebrated on the day it is set, also when the viewer has been open since an earlier day.
  const QDate today = QDate::currentDate();
  changeViewSettings([&today](ViewSettings& s) {
    s.startDate = DayCount::encodeDate(today.year(), today.month(), today.day()).value_or(s.startDate);
  });
  clearPanes();
  runActivePass();
  frmOpening->hide();
}

void TfrmMain::ReSet1Click() { RecStore(); }

void TfrmMain::MakeDataClick() {
  if (!loads_->mayRunNow(LoadScheduler::Request::Rebuild)) return;
  core_->forgetStoredSize(recordPath());
  RecStore();
}

// The core computes with the mode and the options as the menus and controls stand.
void TfrmMain::updateViewSettings() {
  changeViewSettings([this](ViewSettings& s) {
    s.mode = static_cast<PracticeMode>(CurrentMode);
    s.noMiss = menuItem(u"Nomiss1"_s)->isChecked();
    s.levelUpOnly = menuItem(u"Level1"_s)->isChecked();
    s.period = static_cast<AveragePeriod>(averagePeriodTag_);
    s.minHits = seMissCon->value();
    s.rankCount = seRankCount->value();
    s.moreMissesAbove = cbMIssEval->isChecked();
    s.now = QDateTime::currentDateTime();
  });
}

void TfrmMain::changeViewSettings(const std::function<void(ViewSettings&)>& change) {
  ViewSettings s = core_->settings();
  change(s);
  core_->setSettings(s);
}

void TfrmMain::MainProcedure() {
  std::optional<RecordToCelebrate> record;
  {
    WaitCursor hourglass;
    updateViewSettings();
    record = core_->recalculateRecords();
    ShowHokoseki();
    ShowGraph();
    ShowMiss();
    ShowBest();
  }
  if (record) ShowOiwai(modeTitleName(record->mode), CelebrationMessage, FanfareFile, record->best);
  if (!FirstPassDone && menuItem(u"Show3DGraph"_s)->isChecked()) GraphButtonClick();
  FirstPassDone = true;
}

void TfrmMain::AverageCalc() {
  WaitCursor hourglass;
  updateViewSettings();
  core_->recalculateAverages();
  ShowAver();
}

void TfrmMain::ShowHokoseki() { showPane(ViewHistory); }
void TfrmMain::ShowGraph() { showPane(ViewGraph); }
void TfrmMain::ShowAver() { showPane(ViewAverage); }
void TfrmMain::ShowMiss() { showPane(ViewMiss); }
void TfrmMain::ShowBest() { showPane(ViewBest); }

void TfrmMain::showPane(View view) {
  updateViewSettings();
  feeders_[view]->fill(core_->paneLines(view));
  if (const std::optional<QPoint> kept = std::exchange(keptScroll_[view], std::nullopt)) {
    QPlainTextEdit* memo = Memos[view];
    memo->horizontalScrollBar()->setValue(kept->x());
    memo->verticalScrollBar()->setValue(kept->y());
  }
}

void TfrmMain::clearPanes() {
  for (PaneFeeder* feeder : feeders_) feeder->clear();
}

void TfrmMain::runActivePass() {
  if (activeTab() == ViewAverage)
    AverageCalc();
  else
    MainProcedure();
}

void TfrmMain::RedrawGraph() {
  Panel2->setText(graphScaleText());
  Panel2->setFixedHeight(QFontMetrics(Panel2->font()).boundingRect(u"1"_s).height() + 2);
}

void TfrmMain::RedrawAver() {
  const QFontMetrics metrics(Panel3->font());
  const int height = metrics.height() + 6;
  const int width = height * 3 / 2;
  int left = 0;
  for (QToolButton* button : PeriodButtons) {
    button->setGeometry(left, 2, width, height);
    left += width + 1;
  }
  ButtonAverCfg->setGeometry(left - 1 + 5, 2, 2 * width, height);
  Panel3->setText(
      QString::fromUtf16(u"                         0         50       100       150       200       250"
                         u"       300       350       400       450       500       550"));
  Panel3->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
  Panel3->setFixedHeight(height + 4);
}

void TfrmMain::RedrawMiss() {
  const QFontMetrics metrics(Panel4->font());
  const QString recalc = u"再計算"_s;
  btnReCalc->setGeometry(0, 3, 2 * metrics.horizontalAdvance(recalc), metrics.height() + 12);
  Panel4->setFixedHeight(btnReCalc->height() + 6);
  const QSize label1 = metrics.size(0, MissLabel1->text());
  MissLabel1->setGeometry(btnReCalc->width() + 24, (Panel4->height() - label1.height()) / 2, label1.width(),
                          label1.height());
  seMissCon->setGeometry(MissLabel1->x() + MissLabel1->width() + 6, btnReCalc->y(),
                         std::max(label1.width(), metrics.horizontalAdvance(u"5000"_s) + 30), btnReCalc->height());
  const QSize label2 = metrics.size(0, MissLabel2->text());
  MissLabel2->setGeometry(seMissCon->x() + seMissCon->width() + 6, (Panel4->height() - label2.height()) / 2,
                          label2.width(), label2.height());
}

// ---------------------------------------------------------------------------
// Commands

void TfrmMain::pressModeButton(int mode) {
  for (int m = 0; m < PracticeModeCount; ++m) {
    QToolButton* button = ModeButtons[static_cast<std::size_t>(m)];
    button->setChecked(m == mode);
    button->setIcon(QIcon(Pictures::toolbarImage(m == mode ? m + 4 : m)));
  }
}

void TfrmMain::ButtonAClick(int mode) {
  pressModeButton(mode);
  CurrentMode = mode;
  updateCalendar();
  clearPanes();
  runActivePass();
}

void TfrmMain::setMissPaneVisible() { Memos[ViewMiss]->setVisible(!menuItem(u"Nomiss1"_s)->isChecked()); }

void TfrmMain::PageControl1Change() {
  const int tab = activeTab();
  setMissPaneVisible();
  applyTabMenuState(tab);
  if (tab == ViewMiss && menuItem(u"Nomiss1"_s)->isChecked()) {
    MessageBoxes::showMessage(this, u"ノーミスオプションの時にこれを選んでも無意味ですよ。(^^;)"_s);
    return;
  }
  if (!Memos[static_cast<std::size_t>(tab)]->document()->isEmpty()) return;
  runActivePass();
}

// The tab change runs also when the item names the page already shown.
void TfrmMain::Best1Click(int tag) {
  if (PageControl1->currentIndex() == tag - 1)
    PageControl1Change();
  else
    PageControl1->setCurrentIndex(tag - 1);  // the tab change runs from the page's signal
}

void TfrmMain::Nomiss1Click() {
  setMissPaneVisible();
  if (modeSelected()) runActivePass();
}

void TfrmMain::Level1Click() {
  if (modeSelected()) MainProcedure();
}

void TfrmMain::Hint1Click() {}  // the hint hook reads the check mark

void TfrmMain::Show3DGraphClick() {}  // the check mark is the option

// The 3D chart window, modal: made, shown and destroyed on each opening.
void TfrmMain::GraphButtonClick() {
  Tfrm3DGraph chart(settings_.get(), chartInput(), this, MessageBoxes::showError);
  chart.exec();
}

ChartInput TfrmMain::chartInput() const {
  const int tab = activeTab();
  return tab >= 0 && tab < ViewCount ? core_->chartInput(static_cast<View>(tab)) : ChartInput{};
}

// The banner, modal: the pass waits until it has closed.
void TfrmMain::ShowOiwai(const QString& modeName, const QString& message, const QString& fanfare, int best) {
  TfrmOiwai banner(context_.programFolder, this);
  banner.RecordLine = celebration::BannerAnimation::recordLineText(modeName, static_cast<quint16>(best));
  banner.MessageLine = message;
  banner.bannerFont = CelebrationFont;
  banner.bannerFontColor = CelebrationFontColor;
  banner.setPictureMax(BannerPictureMax);
  banner.setSoundFile(QFileInfo(fanfare).isFile() ? fanfare : QString());
  frmOpening->hide();
  banner.exec();
  for (const CelebrationReport& report : banner.reports()) showReport(this, report);
}

void TfrmMain::KM1Click() {
  frmOiwaiCfg->setValues(FanfareFile, CelebrationMessage, CelebrationFont, CelebrationFontColor);
  if (frmOiwaiCfg->exec() != QDialog::Accepted) return;
  FanfareFile = frmOiwaiCfg->fanfare();
  CelebrationMessage = frmOiwaiCfg->message();
  CelebrationFont = frmOiwaiCfg->pendingFont();
  CelebrationFontColor = frmOiwaiCfg->pendingFontColor();
}

QPlainTextEdit* TfrmMain::activeMemo() const {
  return Memos[static_cast<std::size_t>(std::clamp(activeTab(), 0, ViewCount - 1))];
}

void TfrmMain::copyText(const QString& text) {
  QString windowsText = text;
  windowsText.replace(u'\n', u"\r\n"_s);
  QGuiApplication::clipboard()->setText(windowsText);
}

void TfrmMain::Copy1Click() {
  const int tab = activeTab();
  if (tab != ViewHistory && tab != ViewMiss && tab != ViewBest) return;
  QPlainTextEdit* memo = activeMemo();
  if (!memo->isVisible() && memo->isHidden()) return;
  feeders_[static_cast<std::size_t>(tab)]->complete();
  const QString selected = memo->textCursor().selectedText().replace(QChar::ParagraphSeparator, u'\n');
  if (!selected.isEmpty()) copyText(selected);
}

void TfrmMain::CopyAll1Click() {
  const int tab = activeTab();
  QPlainTextEdit* memo = activeMemo();
  if (memo->isHidden()) return;  // the miss pane under the no-miss option shows nothing to copy
  memo->setFocus();
  copyText(core_->copyAllLines(static_cast<View>(tab), feeders_[static_cast<std::size_t>(tab)]->text().split(u'\n'))
               .join(u'\n'));
}

void TfrmMain::Memo1DblClick() {
  if (Memos[ViewHistory]->document()->isEmpty())
    Directory1Click();
  else
    CopyAll1Click();
}

void TfrmMain::Font2Click() {
  const int tab = activeTab();
  QPlainTextEdit* memo = activeMemo();
  if (!FontDialog1) FontDialog1 = new PaneFontDialog(this);
  FontDialog1->setCurrent(memo->font(), memo->palette().color(QPalette::Text));
  if (FontDialog1->exec() != QDialog::Accepted) return;
  const QFont chosen = FontDialog1->selectedFont();
  memo->setFont(chosen);
  QPalette palette = memo->palette();
  palette.setColor(QPalette::Text, FontDialog1->selectedColor());
  memo->setPalette(palette);
  if (tab == ViewGraph) {
    Panel2->setFont(chosen);
    RedrawGraph();
  } else if (tab == ViewAverage) {
    Panel3->setFont(chosen);
    RedrawAver();
  } else if (tab == ViewMiss) {
    Panel4->setFont(chosen);
    RedrawMiss();
  }
}

void TfrmMain::GraphCharClick() {
  frmGChar->setMarks(core_->settings().hitMark, core_->settings().missMark);
  if (frmGChar->exec() != QDialog::Accepted) return;
  // An empty field keeps the character it had.
  changeViewSettings([this](ViewSettings& s) {
    if (const QString hit = firstCharacter(frmGChar->hitText()); !hit.isEmpty()) s.hitMark = hit;
    if (const QString miss = firstCharacter(frmGChar->missText()); !miss.isEmpty()) s.missMark = miss;
  });
  runActivePass();
}

// Only views that show the current pass's lines are shown again: a pane
// cleared by a mode switch waits for its tab, as its lines belong to an earlier
// pass.
void TfrmMain::Recent1Click() {
  frmRecent->SpinEdit1->setValue(core_->settings().recentLimit);
  if (frmRecent->exec() != QDialog::Accepted) return;
  changeViewSettings([this](ViewSettings& s) { s.recentLimit = frmRecent->SpinEdit1->value(); });
  if (!Memos[ViewHistory]->document()->isEmpty()) ShowHokoseki();
  if (!Memos[ViewGraph]->document()->isEmpty()) ShowGraph();
  if (!Memos[ViewAverage]->document()->isEmpty()) ShowAver();
}

void TfrmMain::Help2Click() { help_->showContents(); }

void TfrmMain::KK1Click() { help_->showKeywordSearch(); }

void TfrmMain::Version1Click() { AboutBox->exec(); }

void TfrmMain::Exit1Click() { close(); }

void TfrmMain::ButtonDayClick(int tag) {
  for (int i = 0; i < 5; ++i) PeriodButtons[static_cast<std::size_t>(i)]->setChecked(i + 1 == tag);
  averagePeriodTag_ = tag;
  AverageCalc();
}

void TfrmMain::ButtonAverCfgClick() {
  const ViewSettings& current = core_->settings();
  frmAverCfg->SpinEdit1->setValue(current.maxMiss);
  frmAverCfg->SpinEdit2->setValue(current.minHitMiss);
  frmAverCfg->SpinEdit3->setValue(current.countInterval);
  if (frmAverCfg->exec() != QDialog::Accepted) return;
  changeViewSettings([this](ViewSettings& s) {
    s.maxMiss = frmAverCfg->SpinEdit1->value();
    s.minHitMiss = frmAverCfg->SpinEdit2->value();
    s.countInterval = frmAverCfg->SpinEdit3->value();
  });
  AverageCalc();
}

void TfrmMain::btnReCalcClick() { MainProcedure(); }

void TfrmMain::seRankCountChange() {
  if (!Memos[ViewBest]->document()->isEmpty()) ShowBest();
}

void TfrmMain::cbMIssEvalClick() {
  cbMIssEval->setText(cbMIssEval->isChecked() ? u"ヒット同数ならミスの多い方が上"_s
                                              : u"ヒット同数ならミスの多い方が下"_s);
  if (core_->hasRuns()) MainProcedure();
}

// ---------------------------------------------------------------------------
// Record file and folder

void TfrmMain::buildRecordFileMenu() {
  PopupMenu2->clear();
  const QStringList names =
      QDir(RecordFolder.isEmpty() ? u"."_s : RecordFolder)
          .entryList({RecordFilePattern}, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                     QDir::Unsorted);
  int n = 0;
  for (const QString& name : names) {
    QAction* item = PopupMenu2->addAction(QString(name).replace(u'&', u"&&"_s));
    item->setObjectName(u"FileMenu"_s + QString::number(++n));
    item->setData(name);
  }
}

void TfrmMain::plRecFileClick() {
  plRecFile->setBevel(RecordFilePanel::Bevel::Lowered);
  if (QFileInfo(recordPath()).isFile() || !PopupMenu2->isEmpty()) {
    const QPoint below = mapToGlobal(QPoint(0, ToolBar1->geometry().bottom() + 1));
    PopupMenu2->exec(below);
  } else {
    Directory1Click();
  }
  plRecFile->setBevel(RecordFilePanel::Bevel::Flat);
}

void TfrmMain::FileMenuClick(QAction* item) {
  if (!item->objectName().startsWith(u"FileMenu"_s)) return;
  plRecFile->setText(item->data().toString());
  if (modeSelected()) RecStore();
}

void TfrmMain::Directory1Click() {
  const QString oldCaption = plRecFile->text();
  const QString oldFolder = RecordFolder;
  if (!RecordFolder.isEmpty()) {
    OpenDialog1->setDirectory(RecordFolder);
    if (!oldCaption.isEmpty()) OpenDialog1->selectFile(RecordFolder + oldCaption);
  }
  if (OpenDialog1->exec() != QDialog::Accepted || OpenDialog1->selectedFiles().isEmpty()) return;
  const QFileInfo chosen(OpenDialog1->selectedFiles().first());
  plRecFile->setText(chosen.fileName());
  RecordFolder = chosen.absolutePath() + u'/';
  if (!QFileInfo(recordPath()).isFile()) {
    plRecFile->setText(oldCaption);
    RecordFolder = oldFolder;
    return;
  }
  buildRecordFileMenu();
  if (modeSelected()) RecStore();
}

// ---------------------------------------------------------------------------
// Colours

void TfrmMain::Col1Click() {
  QPlainTextEdit* memo = activeMemo();
  frmColor->setPreviewColors(memo->palette().color(QPalette::Base), memo->palette().color(QPalette::Text));
  frmColor->exec();
  QPalette palette = memo->palette();
  palette.setColor(QPalette::Base, frmColor->previewBackground());
  memo->setPalette(palette);
}

void TfrmMain::Color1Click() {
  QPlainTextEdit* memo = activeMemo();
  const QColor chosen =
      QColorDialog::getColor(memo->palette().color(QPalette::Base), this, QString(), QColorDialog::DontUseNativeDialog);
  if (!chosen.isValid()) return;
  QPalette palette = memo->palette();
  palette.setColor(QPalette::Base, chosen);
  memo->setPalette(palette);
}

// ---------------------------------------------------------------------------
// Events

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::ToolTip: {
      if (!menuItem(u"Hint1"_s)->isChecked()) return true;  // hints off
      auto* widget = qobject_cast<QWidget*>(watched);
      if (!widget || widget->toolTip().isEmpty()) break;
      const auto* help = static_cast<QHelpEvent*>(event);
      QToolTip::showText(help->globalPos(),
                         wrappedHint(widget->toolTip(), QFontMetrics(QToolTip::font()), MaxHintWidth), widget);
      return true;
    }
    case QEvent::ShortcutOverride: {
      // The menus' keys come before any control's own, as the window sees
      // keys first (Ctrl+C copies as the menu says, Ctrl+A picks a mode, also
      // from a spin box).
      const auto* key = static_cast<QKeyEvent*>(event);
      const QString pressed = QKeySequence(key->keyCombination()).toString();
      const auto* widget = qobject_cast<QWidget*>(watched);
      if (widget && widget->window() == this && menuShortcutKeys_.contains(pressed)) {
        event->ignore();
        return true;
      }
      break;
    }
    case QEvent::MouseButtonDblClick:
      if (watched == Memos[ViewHistory]->viewport()) {
        Memo1DblClick();
        return true;
      }
      break;
    default: break;
  }
  return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    Help2Click();
    return;
  }
  QMainWindow::keyPressEvent(event);
}
