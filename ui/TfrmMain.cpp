#include "ui/TfrmMain.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

#include "celebration/TfrmOiwai.h"
#include "celebration/TfrmOiwaiCfg.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsLocation.h"
#include "ui/Features.h"
#include "ui/FontNames.h"
#include "ui/HelpSystem.h"
#include "ui/LoadingFeedback.h"
#include "ui/MessageBoxes.h"
#include "ui/PaneFeeder.h"
#include "ui/Pictures.h"
#include "ui/RecordFilePanel.h"
#include "ui/SettingsColors.h"
#include "ui/TAboutBox.h"
#include "ui/TfrmAverCfg.h"
#include "ui/TfrmColor.h"
#include "ui/TfrmGChar.h"
#include "ui/TfrmOpening.h"
#include "ui/TfrmRecent.h"
#include "viewer/RecordFileWatcher.h"
#include "viewer/ViewerSession.h"
#include "widgets/FontDialog.h"
#include "widgets/WindowPlacement.h"

using namespace Qt::StringLiterals;

namespace {

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
  setWindowIcon(Pictures::programIconSet());
  frmOpening = new TfrmOpening();
  feedback_ = std::make_unique<LoadingFeedback>(*frmOpening, this);
  qApp->installEventFilter(this);  // the hint hook: hints at most 120 pixels wide
  features_ = makeFeatures();
  buildToolBar();
  buildPages();
  buildMenus();
  buildPopupMenus();
  help_ = new HelpSystem(u"Hoko32.hlp"_s, this);
  CelebrationFont = font();

  settings_ = std::make_unique<SettingsFile>(context.settingsPath);
  session_ = std::make_unique<ViewerSession>(*settings_, *feedback_);
  host_ = {.window = this,
           .session = session_.get(),
           .settings = settings_.get(),
           .reportError = MessageBoxes::showError,
           .activeView = [this] { return View(activeTab()); },
           .runsFont = [this] { return Memos[ViewHistory]->font(); },
           .showMessage = MessageBoxes::showMessage,
           .saveSettings = [this] { saveAfterChange(); },
           .computeActiveView = [this] { runActivePass(); },
           .feedback = feedback_.get(),
           .loadingWindow = frmOpening};
  connect(session_.get(), &ViewerSession::changed, this, &TfrmMain::followSession);
  loads_ = new LoadScheduler([this](LoadScheduler::Request request) { runWaitingLoad(request); },
                             [] { return QApplication::activeModalWidget() != nullptr; }, this);
  host_.loads = loads_;
  feedback_->setWaitEnds([this] { return loads_->waiting() == LoadScheduler::Request::Close; });
  feedback_->setCloseKeys(menuItem(u"Exit1"_s)->shortcut(), [this] { close(); });
  watcher_ = new RecordFileWatcher(this);
  connect(watcher_, &RecordFileWatcher::grown, this, [this](bool partialLineWaitedFor) {
    liveReload(partialLineWaitedFor ? ViewerCore::Reload::AppendedAsItIs : ViewerCore::Reload::Appended);
  });
  connect(watcher_, &RecordFileWatcher::replaced, this, [this] { liveReload(ViewerCore::Reload::Replaced); });
  const QRect screen =
      QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry() : QRect(0, 0, 1024, 768);
  const SettingsEnvironment environment{screen.width(), screen.height(), context.programFolder};
  applyOptions(session_->loadOptions(environment));
  RedrawGraph();
  RedrawAver();
  RedrawMiss();

  applyCommandLine(context.arguments);
  buildRecordFileMenu();
  BannerPictureMax = ViewerSession::bannerPictureCount(context.workingFolder);

  if (session_->mode() == ModeFailed) return;  // no mode: nothing is loaded until a reload
  pressModeButton(session_->mode());
  session_->setStartDay(QDate::currentDate());
  PageControl1->setCurrentIndex(ViewHistory);
  FirstPassDone = false;
  RecStore();
}

void TfrmMain::applyOptions(const MainOptions& o) {
  // The stored place and size (of the client area), fitted on the screen.
  const QMargins frame = WindowPlacement::frameMarginsOf(this);
  setGeometry(WindowPlacement::fittedOnScreen(QRect(o.left, o.top, o.width, o.height).marginsAdded(frame))
                  .marginsRemoved(frame));
  if (o.windowState == 1) setWindowState(Qt::WindowMinimized);
  if (o.windowState == 2) setWindowState(Qt::WindowMaximized);
  showEra();  // the title, with the era the options hold
  menuItem(u"Hint1"_s)->setChecked(o.hint);
  FanfareFile = o.fanfare;
  CelebrationMessage = o.oiwaiMessage;
  CelebrationFont.setFamily(o.oiwaiFontName);
  CelebrationFont.setPointSize(std::max(o.oiwaiFontSize, 1));
  CelebrationFontColor = SettingsColors::resolve(o.oiwaiFontColor);
  seRankCount->setValue(o.view.rankCount);
  menuItem(u"Show3DGraph"_s)->setChecked(o.show3DGraph);
  menuItem(u"AutoReload1"_s)->setChecked(o.autoReload);
  cbMIssEval->setChecked(o.view.moreMissesAbove);
  cbMIssEvalClick();  // the caption follows the state; nothing is loaded yet
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
  o.fanfare = FanfareFile;
  o.oiwaiMessage = CelebrationMessage;
  o.oiwaiFontName = CelebrationFont.family();
  o.oiwaiFontSize = CelebrationFont.pointSize();
  o.oiwaiFontColor = SettingsColors::of(CelebrationFontColor);
  o.show3DGraph = menuItem(u"Show3DGraph"_s)->isChecked();
  o.autoReload = menuItem(u"AutoReload1"_s)->isChecked();
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
  updateViewSettings();  // the rank count and the tie-break as their controls stand
  if (session_->saveOptions(currentOptions(), SettingsColors::resolveToRgb)) return true;
  MessageBoxes::showError(this, settings_->writeFailureMessage());
  closing_ = true;
  return false;
}

// A dialog's change is in the settings file as soon as the dialog closes with
// OK: a crash later on (in another dialog, in Qt, in a driver) loses none of
// it. A file that cannot be written is told at the close, which saves again.
void TfrmMain::saveAfterChange() {
  updateViewSettings();
  session_->saveOptions(currentOptions(), SettingsColors::resolveToRgb);
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
  const ViewerSession::CommandLine answer = session_->applyCommandLine(arguments);
  plRecFile->setText(session_->recordName());
  if (answer != ViewerSession::CommandLine::MissingFile) return;
  MessageBoxes::showMessage(this, u"引数に指定されたファイルがみつかりません。選択してください"_s);
  Directory1Click();
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
// Loading and the passes

QString TfrmMain::recordPath() const { return session_->recordPath(); }

bool TfrmMain::modeSelected() const { return session_->modeSelected(); }

int TfrmMain::activeTab() const { return PageControl1->currentIndex(); }

void TfrmMain::RecStore() {
  if (!loads_->mayRunNow(LoadScheduler::Request::Load)) return;
  loads_->forgetLiveReloads();  // this load reads whatever they would have added
  LoadOutcome outcome;
  {
    const LoadScheduler::Turn turn(*loads_);
    keptScroll_ = {};            // a load shows every pane from its top
    outcome = session_->load();  // the side windows follow at once: none keeps runs of the load before
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
  const LoadedRecords& records = session_->records();
  // A file missing now is watched all the same: it is followed again once it is back.
  if (session_->followsRecordFile(menuItem(u"AutoReload1"_s)->isChecked()))
    watcher_->watch(recordPath(), records.CachedFile.isEmpty() ? -1 : records.CachedUpTo);
  else
    watcher_->stop();
}

void TfrmMain::AutoReload1Click() { followRecordFile(); }

void TfrmMain::followSession(ViewerSession::Change change) {
  if (change != ViewerSession::Change::Era) return;
  showEra();
  if (!modeSelected()) return;
  // As a mode switch does: the other panes are computed when their tab is shown.
  clearPanes();
  runActivePass();
}

// In the title and on the tool bar, so that nobody takes the views of an era for the whole history.
void TfrmMain::showEra() {
  setWindowTitle(ViewSettingsMapping::windowTitle(session_->settings()));
  const QString era = session_->eraText();
  lblEra->setText(era);
  lblEraAction->setVisible(!era.isEmpty());
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
  const ViewerSession::AfterReload next = session_->reload(kind, QDate::currentDate());
  feedback_->setQuiet(false);
  switch (next) {
    case ViewerSession::AfterReload::Nothing: return;
    case ViewerSession::AfterReload::ClearPanes: clearPanes(); return;
    case ViewerSession::AfterReload::ViewsUnchanged: keptScroll_ = {}; return;
    case ViewerSession::AfterReload::Recompute: break;
  }
  clearPanes();
  runActivePass();
  frmOpening->hide();
}

void TfrmMain::ReSet1Click() { RecStore(); }

void TfrmMain::MakeDataClick() {
  if (!loads_->mayRunNow(LoadScheduler::Request::Rebuild)) return;
  session_->forgetStoredSize();
  RecStore();
}

// The core computes with the mode and the options as the menus and controls stand.
void TfrmMain::updateViewSettings() {
  session_->changeSettings([this](ViewSettings& s) {
    s.noMiss = menuItem(u"Nomiss1"_s)->isChecked();
    s.levelUpOnly = menuItem(u"Level1"_s)->isChecked();
    s.period = static_cast<AveragePeriod>(averagePeriodTag_);
    s.minHits = seMissCon->value();
    s.rankCount = seRankCount->value();
    s.moreMissesAbove = cbMIssEval->isChecked();
    s.now = QDateTime::currentDateTime();
  });
}

void TfrmMain::MainProcedure() {
  std::optional<RecordToCelebrate> record;
  {
    WaitCursor hourglass;
    updateViewSettings();
    record = session_->recalculateRecords();
    // ShowHokoseki, ShowGraph, ShowMiss, ShowBest: every view of the mode pass, in tab order.
    for (const ViewInfo& view : Views)
      if (!view.averagePass) showPane(view.view);
  }
  if (record) ShowOiwai(modeTitleName(record->mode), CelebrationMessage, FanfareFile, record->best);
  // A feature whose start option is on opens after the first pass (起動時に3Dグラフ表示).
  for (const std::unique_ptr<Feature>& feature : features_)
    for (const FeatureItem& item : feature->declaration().items)
      if (!FirstPassDone && item.kind == FeatureItem::Kind::StartOption && menuItem(item.name)->isChecked())
        feature->open(host_);
  FirstPassDone = true;
}

void TfrmMain::AverageCalc() {
  WaitCursor hourglass;
  updateViewSettings();
  session_->recalculateAverages();
  for (const ViewInfo& view : Views)  // ShowAver
    if (view.averagePass) showPane(view.view);
}

void TfrmMain::ShowHokoseki() { showPane(ViewHistory); }
void TfrmMain::ShowGraph() { showPane(ViewGraph); }
void TfrmMain::ShowAver() { showPane(ViewAverage); }
void TfrmMain::ShowMiss() { showPane(ViewMiss); }
void TfrmMain::ShowBest() { showPane(ViewBest); }

void TfrmMain::showPane(View view) {
  updateViewSettings();
  feeders_[view]->fill(session_->paneLines(view));
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
  if (viewInfo(activeTab()).averagePass)
    AverageCalc();
  else
    MainProcedure();
}

// ---------------------------------------------------------------------------
// Commands

void TfrmMain::pressModeButton(int mode) {
  for (int m = 0; m < PracticeModeCount; ++m) {
    QToolButton* button = ModeButtons[static_cast<std::size_t>(m)];
    button->setChecked(m == mode);
    button->setIcon(QIcon(Pictures::toolbarImage(m == mode ? m + 4 : m)));
  }
  session_->selectMode(mode);
}

void TfrmMain::ButtonAClick(int mode) {
  pressModeButton(mode);
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
  updateViewSettings();  // the session tells the windows that follow the option
  if (modeSelected()) runActivePass();
}

void TfrmMain::Level1Click() {
  if (modeSelected()) MainProcedure();
}

void TfrmMain::Hint1Click() {}  // the hint hook reads the check mark

// The banner, modal: the pass waits until it has closed.
void TfrmMain::ShowOiwai(const QString& modeName, const QString& message, const QString& fanfare, int best) {
  TfrmOiwai banner(context_.programFolder, *settings_, this);
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
  saveAfterChange();
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
  if (!viewInfo(tab).copiesSelection) return;
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
  copyText(session_->copyAllLines(static_cast<View>(tab), feeders_[static_cast<std::size_t>(tab)]->text().split(u'\n'))
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
  if (!FontDialog1) FontDialog1 = new FontDialog(this);
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
  saveAfterChange();
}

void TfrmMain::GraphCharClick() {
  frmGChar->setMarks(session_->settings().hitMark, session_->settings().missMark);
  if (frmGChar->exec() != QDialog::Accepted) return;
  session_->setMarks(firstCharacter(frmGChar->hitText()), firstCharacter(frmGChar->missText()));
  saveAfterChange();
  runActivePass();
}

// Only views that show the current pass's lines are shown again: a pane
// cleared by a mode switch waits for its tab, as its lines belong to an earlier
// pass.
void TfrmMain::Recent1Click() {
  frmRecent->SpinEdit1->setValue(session_->settings().recentLimit);
  if (frmRecent->exec() != QDialog::Accepted) return;
  session_->changeSettings([this](ViewSettings& s) { s.recentLimit = frmRecent->SpinEdit1->value(); });
  saveAfterChange();
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
  const ViewSettings& current = session_->settings();
  frmAverCfg->SpinEdit1->setValue(current.maxMiss);
  frmAverCfg->SpinEdit2->setValue(current.minHitMiss);
  frmAverCfg->SpinEdit3->setValue(current.countInterval);
  if (frmAverCfg->exec() != QDialog::Accepted) return;
  session_->changeSettings([this](ViewSettings& s) {
    s.maxMiss = frmAverCfg->SpinEdit1->value();
    s.minHitMiss = frmAverCfg->SpinEdit2->value();
    s.countInterval = frmAverCfg->SpinEdit3->value();
  });
  saveAfterChange();
  AverageCalc();
}

void TfrmMain::btnReCalcClick() { MainProcedure(); }

void TfrmMain::seRankCountChange() {
  if (!Memos[ViewBest]->document()->isEmpty()) ShowBest();
}

void TfrmMain::cbMIssEvalClick() {
  cbMIssEval->setText(cbMIssEval->isChecked() ? u"ヒット同数ならミスの多い方が上"_s
                                              : u"ヒット同数ならミスの多い方が下"_s);
  if (session_->hasRuns()) MainProcedure();
}

// ---------------------------------------------------------------------------
// Record file and folder

void TfrmMain::buildRecordFileMenu() {
  PopupMenu2->clear();
  const QStringList names =
      QDir(session_->recordFolder().isEmpty() ? u"."_s : session_->recordFolder())
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
  session_->setRecordName(plRecFile->text());
  if (modeSelected()) RecStore();
}

void TfrmMain::Directory1Click() {
  const QString oldCaption = session_->recordName();
  const QString oldFolder = session_->recordFolder();
  if (!oldFolder.isEmpty()) {
    OpenDialog1->setDirectory(oldFolder);
    if (!oldCaption.isEmpty()) OpenDialog1->selectFile(oldFolder + oldCaption);
  }
  if (OpenDialog1->exec() != QDialog::Accepted || OpenDialog1->selectedFiles().isEmpty()) return;
  const QFileInfo chosen(OpenDialog1->selectedFiles().first());
  session_->setRecordFile(chosen.absolutePath() + u'/', chosen.fileName());
  if (!QFileInfo(recordPath()).isFile()) {
    session_->setRecordFile(oldFolder, oldCaption);
    return;
  }
  plRecFile->setText(chosen.fileName());
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
  saveAfterChange();
}

void TfrmMain::Color1Click() {
  QPlainTextEdit* memo = activeMemo();
  const QColor chosen =
      QColorDialog::getColor(memo->palette().color(QPalette::Base), this, QString(), QColorDialog::DontUseNativeDialog);
  if (!chosen.isValid()) return;
  QPalette palette = memo->palette();
  palette.setColor(QPalette::Base, chosen);
  memo->setPalette(palette);
  saveAfterChange();
}
