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
#include <QSpinBox>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

#include "celebration/CelebrationFeature.h"
#include "settings/SettingsFile.h"
#include "ui/HelpSystem.h"
#include "ui/KeyAndHintFilter.h"
#include "ui/LoadingFeedback.h"
#include "ui/MainMenus.h"
#include "ui/MainOptionsBinding.h"
#include "ui/MessageBoxes.h"
#include "ui/Pictures.h"
#include "ui/RecordFileDialog.h"
#include "ui/RecordFileFollower.h"
#include "ui/RecordFilePanel.h"
#include "ui/SettingsColors.h"
#include "ui/TAboutBox.h"
#include "ui/TfrmAverCfg.h"
#include "ui/TfrmColor.h"
#include "ui/TfrmGChar.h"
#include "ui/TfrmOpening.h"
#include "ui/TfrmRecent.h"
#include "ui/ViewPanes.h"
#include "widgets/FontDialog.h"

using namespace Qt::StringLiterals;

namespace {

// The hourglass for the length of a calculation, whatever way it ends.
class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

// In the clipboard with the line ends of Windows.
void copyText(QString text) { QGuiApplication::clipboard()->setText(text.replace(u'\n', u"\r\n"_s)); }

}  // namespace

TfrmMain::TfrmMain(const StartupContext& context, QWidget* parent) : QMainWindow(parent) {
  FormCreate(context);
  // The first tab was made active without a tab change.
  connect(PageControl1, &QTabWidget::currentChanged, this, &TfrmMain::PageControl1Change);
}

TfrmMain::~TfrmMain() { delete frmOpening; }

// Start-up and close

void TfrmMain::FormCreate(const StartupContext& context) {
  setWindowIcon(Pictures::programIconSet());
  frmOpening = new TfrmOpening();
  feedback_ = std::make_unique<LoadingFeedback>(*frmOpening, this);
  features_ = makeFeatures(context.programFolder, context.workingFolder);
  menus_ = new MainMenus(this, features_.all, host_);
  buildToolBar();
  buildPages();
  menus_->build();
  PopupMenu1 = menus_->popup();
  help_ = new HelpSystem(u"Hoko32.hlp"_s, this);
  connectCommands();
  menus_->showTab(viewInfo(ViewHistory));
  new KeyAndHintFilter(this, menus_->item(u"Hint1"_s), menus_->shortcutKeys(), help_);

  settings_ = std::make_unique<SettingsFile>(context.settingsPath);
  session_ = std::make_unique<ViewerSession>(*settings_, *feedback_);
  loads_ = new LoadScheduler([this](LoadScheduler::Request request) { runWaitingLoad(request); },
                             [] { return QApplication::activeModalWidget() != nullptr; }, this);
  host_ = {.window = this,
           .session = session_.get(),
           .settings = settings_.get(),
           .reportError = MessageBoxes::showError,
           .activeView = [this] { return View(activeTab()); },
           .runsFont = [this] { return Memos[ViewHistory]->font(); },
           .showMessage = MessageBoxes::showMessage,
           .saveSettings = [this] { saveAfterChange(); },
           .computeActiveView = [this] { runActivePass(); },
           .loads = loads_,
           .feedback = feedback_.get(),
           .loadingWindow = frmOpening};
  connect(session_.get(), &ViewerSession::changed, this, &TfrmMain::followSession);
  feedback_->setWaitEnds([this] { return loads_->waiting() == LoadScheduler::Request::Close; });
  feedback_->setCloseKeys(menus_->item(u"Exit1"_s)->shortcut(), [this] { close(); });
  follower_ = new RecordFileFollower(this, {.session = session_.get(),
                                            .loads = loads_,
                                            .feedback = feedback_.get(),
                                            .panes = panes_.get(),
                                            .option = menus_->item(u"AutoReload1"_s),
                                            .recompute =
                                                [this] {
                                                  runActivePass();
                                                  frmOpening->hide();
                                                },
                                            .closing = [this] { return closing_; }});
  connect(menus_->item(u"AutoReload1"_s), &QAction::triggered, follower_, &RecordFileFollower::follow);
  const QRect screen =
      QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry() : QRect(0, 0, 1024, 768);
  options_ = std::make_unique<MainOptionsBinding>(
      MainOptionsBinding::Controls{.window = this,
                                   .menus = menus_,
                                   .rankCount = seRankCount,
                                   .moreMissesAbove = cbMIssEval,
                                   .recordFile = plRecFile,
                                   .panes = Memos,
                                   .headers = {nullptr, Panel2, Panel3, Panel4, nullptr},
                                   .celebration = features_.celebration});
  options_->apply(session_->loadOptions({screen.width(), screen.height(), context.programFolder}));
  showEra();          // the title, with the era the options hold
  cbMIssEvalClick();  // the caption follows the state; nothing is loaded yet
  RedrawGraph();
  RedrawAver();
  RedrawMiss();

  // The command line: a record file, a mode.
  const ViewerSession::CommandLine answer = session_->applyCommandLine(context.arguments);
  plRecFile->setText(session_->recordName());
  if (answer == ViewerSession::CommandLine::MissingFile) {
    MessageBoxes::showMessage(this, u"引数に指定されたファイルがみつかりません。選択してください"_s);
    Directory1Click();
  }
  RecordFileDialog::listInMenu(PopupMenu2, session_->recordFolder());

  if (session_->mode() == ModeFailed) return;  // no mode: nothing is loaded until a reload
  pressModeButton(session_->mode());
  session_->setStartDay(QDate::currentDate());
  PageControl1->setCurrentIndex(ViewHistory);
  FirstPassDone = false;
  RecStore();
}

// Saves every option. When the settings file cannot be written the window
// stays open with the message; closing it once more leaves without saving.
bool TfrmMain::FormClose() {
  if (closing_) return true;
  updateViewSettings();  // the rank count and the tie-break as their controls stand
  if (session_->saveOptions(options_->current(), SettingsColors::resolveToRgb)) return true;
  MessageBoxes::showError(this, settings_->writeFailureMessage());
  closing_ = true;
  return false;
}

// A dialog's change is in the settings file as soon as the dialog closes with
// OK: a crash later on (in another dialog, in Qt, in a driver) loses none of
// it. A file that cannot be written is told at the close, which saves again.
void TfrmMain::saveAfterChange() {
  updateViewSettings();
  session_->saveOptions(options_->current(), SettingsColors::resolveToRgb);
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

void TfrmMain::createLongLivedDialogs() { dialogs_.create(this); }

void TfrmMain::ReSet1Click() { RecStore(); }
void TfrmMain::btnReCalcClick() { MainProcedure(); }
void TfrmMain::seRankCountChange() {
  if (!panes_->isEmpty(ViewBest)) ShowBest();
}
void TfrmMain::Help2Click() { help_->showContents(); }
void TfrmMain::KK1Click() { help_->showKeywordSearch(); }
void TfrmMain::Version1Click() { dialogs_.AboutBox->exec(); }
void TfrmMain::Exit1Click() { close(); }

// The fixed items and buttons to their handlers (a feature's item opens the feature by itself).
void TfrmMain::connectCommands() {
  const std::pair<QString, void (TfrmMain::*)()> commands[] = {
      {u"File2"_s, &TfrmMain::plRecFileClick},   {u"Directory1"_s, &TfrmMain::Directory1Click},
      {u"ReSet1"_s, &TfrmMain::ReSet1Click},     {u"MakeData"_s, &TfrmMain::MakeDataClick},
      {u"Copy1"_s, &TfrmMain::Copy1Click},       {u"CopyAll1"_s, &TfrmMain::CopyAll1Click},
      {u"Font2"_s, &TfrmMain::Font2Click},       {u"Col1"_s, &TfrmMain::Col1Click},
      {u"Col2"_s, &TfrmMain::Color1Click},       {u"GraphChar"_s, &TfrmMain::GraphCharClick},
      {u"Recent1"_s, &TfrmMain::Recent1Click},   {u"AverCfg1"_s, &TfrmMain::ButtonAverCfgClick},
      {u"ReCalc1"_s, &TfrmMain::btnReCalcClick}, {u"Nomiss1"_s, &TfrmMain::Nomiss1Click},
      {u"Level1"_s, &TfrmMain::Level1Click},     {u"CopyAll2"_s, &TfrmMain::CopyAll1Click},
      {u"Copy2"_s, &TfrmMain::Copy1Click},       {u"Directory2"_s, &TfrmMain::Directory1Click},
      {u"Font1"_s, &TfrmMain::Font2Click},       {u"Recent2"_s, &TfrmMain::Recent1Click},
      {u"ReSet2"_s, &TfrmMain::ReSet1Click},     {u"Exit1"_s, &TfrmMain::Exit1Click},
      {u"Exit2"_s, &TfrmMain::Exit1Click},       {u"Help2"_s, &TfrmMain::Help2Click},
      {u"KK1"_s, &TfrmMain::KK1Click},           {u"Version1"_s, &TfrmMain::Version1Click},
  };
  for (const auto& [name, handler] : commands) connect(menus_->item(name), &QAction::triggered, this, handler);
  connect(CopyButton, &QToolButton::clicked, this, &TfrmMain::CopyAll1Click);
  connect(DirButton, &QToolButton::clicked, this, &TfrmMain::Directory1Click);
  connect(FontButton, &QToolButton::clicked, this, &TfrmMain::Font2Click);
  connect(ExitButton, &QToolButton::clicked, this, &TfrmMain::Exit1Click);
  for (const ViewInfo& view : Views)
    connect(menus_->item(view.menuName.toString()), &QAction::triggered, this,
            [this, tag = view.view + 1] { Best1Click(tag); });
  for (int mode = 0; mode < PracticeModeCount; ++mode)
    connect(menus_->item(MainMenus::ModeItems[mode]), &QAction::triggered, this, [this, mode] { ButtonAClick(mode); });
  for (int i = 0; i < int(MainMenus::AverageItems.size()); ++i)
    connect(menus_->item(MainMenus::AverageItems[i]), &QAction::triggered, this, [this, i] { ButtonDayClick(i + 1); });
}

// Loading and the passes

int TfrmMain::activeTab() const { return PageControl1->currentIndex(); }

bool TfrmMain::checked(const QString& item) const { return menus_->item(item)->isChecked(); }

void TfrmMain::RecStore() {
  if (!loads_->mayRunNow(LoadScheduler::Request::Load)) return;
  loads_->forgetLiveReloads();  // this load reads whatever they would have added
  LoadOutcome outcome;
  {
    const LoadScheduler::Turn turn(*loads_);
    panes_->forgetScrolls();     // a load shows every pane from its top
    outcome = session_->load();  // the side windows follow at once: none keeps runs of the load before
    follower_->follow();
    switch (outcome) {
      case LoadOutcome::NoRecordFile:
      case LoadOutcome::Unreadable:
      case LoadOutcome::TailFailed: break;
      case LoadOutcome::OutOfMemory:
        // No run is left in memory: the panes must not go on showing the file before.
        panes_->clear();
        break;
      case LoadOutcome::Loaded:
        panes_->clear();
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
    case Appended: follower_->reload(ViewerCore::Reload::Appended); break;
    case AppendedAsItIs: follower_->reload(ViewerCore::Reload::AppendedAsItIs); break;
    case Replaced: follower_->reload(ViewerCore::Reload::Replaced); break;
    case Load: RecStore(); break;
    case Rebuild: MakeDataClick(); break;
    case Close: close(); break;
  }
}

void TfrmMain::followSession(ViewerSession::Change change) {
  if (change != ViewerSession::Change::Era) return;
  showEra();
  if (!session_->modeSelected()) return;
  // As a mode switch does: the other panes are computed when their tab is shown.
  panes_->clear();
  runActivePass();
}

// In the title and on the tool bar, so that nobody takes the views of an era for the whole history.
void TfrmMain::showEra() {
  setWindowTitle(ViewSettingsMapping::windowTitle(session_->settings()));
  const QString era = session_->eraText();
  lblEra->setText(era);
  lblEraAction->setVisible(!era.isEmpty());
}

void TfrmMain::MakeDataClick() {
  if (!loads_->mayRunNow(LoadScheduler::Request::Rebuild)) return;
  session_->forgetStoredSize();
  RecStore();
}

// The core computes with the mode and the options as the menus and controls stand.
void TfrmMain::updateViewSettings() {
  session_->changeSettings([this](ViewSettings& s) {
    s.noMiss = checked(u"Nomiss1"_s);
    s.levelUpOnly = checked(u"Level1"_s);
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
  if (record) ShowOiwai(*record);
  // A feature whose start option is on opens after the first pass (起動時に3Dグラフ表示).
  for (const std::unique_ptr<Feature>& feature : features_.all)
    for (const FeatureItem& item : feature->declaration().items)
      if (!FirstPassDone && item.kind == FeatureItem::Kind::StartOption && checked(item.name)) feature->open(host_);
  FirstPassDone = true;
}

// The relay to the celebration: the banner, modal, the pass waiting until it has closed.
void TfrmMain::ShowOiwai(const RecordToCelebrate& record) {
  features_.celebration->celebrate(host_, modeTitleName(record.mode), record.best);
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
  panes_->fill(view, session_->paneLines(view));
}

void TfrmMain::runActivePass() {
  if (viewInfo(activeTab()).averagePass)
    AverageCalc();
  else
    MainProcedure();
}

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
  panes_->clear();
  runActivePass();
}

void TfrmMain::PageControl1Change() {
  const int tab = activeTab();
  Memos[ViewMiss]->setVisible(!checked(u"Nomiss1"_s));
  menus_->showTab(viewInfo(tab));
  PageControl1->setProperty("helpContext", viewInfo(tab).helpTopic);
  if (tab == ViewMiss && checked(u"Nomiss1"_s)) {
    MessageBoxes::showMessage(this, u"ノーミスオプションの時にこれを選んでも無意味ですよ。(^^;)"_s);
    return;
  }
  if (!panes_->isEmpty(View(tab))) return;
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
  Memos[ViewMiss]->setVisible(!checked(u"Nomiss1"_s));
  updateViewSettings();  // the session tells the windows that follow the option
  if (session_->modeSelected()) runActivePass();
}

void TfrmMain::Level1Click() {
  if (session_->modeSelected()) MainProcedure();
}

void TfrmMain::Copy1Click() {
  const int tab = activeTab();
  if (!viewInfo(tab).copiesSelection) return;
  QPlainTextEdit* memo = Memos[activeTab()];
  if (!memo->isVisible() && memo->isHidden()) return;
  panes_->complete(View(tab));
  const QString selected = memo->textCursor().selectedText().replace(QChar::ParagraphSeparator, u'\n');
  if (!selected.isEmpty()) copyText(selected);
}

void TfrmMain::CopyAll1Click() {
  const int tab = activeTab();
  QPlainTextEdit* memo = Memos[activeTab()];
  if (memo->isHidden()) return;  // the miss pane under the no-miss option shows nothing to copy
  memo->setFocus();
  copyText(session_->copyAllLines(View(tab), panes_->text(View(tab)).split(u'\n')).join(u'\n'));
}

void TfrmMain::Memo1DblClick() {
  if (panes_->isEmpty(ViewHistory))
    Directory1Click();
  else
    CopyAll1Click();
}

void TfrmMain::Font2Click() {
  const int tab = activeTab();
  QPlainTextEdit* memo = Memos[activeTab()];
  FontDialog* FontDialog1 = dialogs_.fontDialog(this);
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
  dialogs_.frmGChar->setMarks(session_->settings().hitMark, session_->settings().missMark);
  if (dialogs_.frmGChar->exec() != QDialog::Accepted) return;
  session_->setMarks(firstCharacter(dialogs_.frmGChar->hitText()), firstCharacter(dialogs_.frmGChar->missText()));
  saveAfterChange();
  runActivePass();
}

// Only views that show the current pass's lines are shown again: a pane
// cleared by a mode switch waits for its tab, as its lines belong to an earlier
// pass.
void TfrmMain::Recent1Click() {
  dialogs_.frmRecent->SpinEdit1->setValue(session_->settings().recentLimit);
  if (dialogs_.frmRecent->exec() != QDialog::Accepted) return;
  session_->changeSettings([this](ViewSettings& s) { s.recentLimit = dialogs_.frmRecent->SpinEdit1->value(); });
  saveAfterChange();
  if (!panes_->isEmpty(ViewHistory)) ShowHokoseki();
  if (!panes_->isEmpty(ViewGraph)) ShowGraph();
  if (!panes_->isEmpty(ViewAverage)) ShowAver();
}

void TfrmMain::ButtonDayClick(int tag) {
  for (int i = 0; i < 5; ++i) PeriodButtons[static_cast<std::size_t>(i)]->setChecked(i + 1 == tag);
  averagePeriodTag_ = tag;
  AverageCalc();
}

void TfrmMain::ButtonAverCfgClick() {
  const ViewSettings& current = session_->settings();
  dialogs_.frmAverCfg->SpinEdit1->setValue(current.maxMiss);
  dialogs_.frmAverCfg->SpinEdit2->setValue(current.minHitMiss);
  dialogs_.frmAverCfg->SpinEdit3->setValue(current.countInterval);
  if (dialogs_.frmAverCfg->exec() != QDialog::Accepted) return;
  session_->changeSettings([this](ViewSettings& s) {
    s.maxMiss = dialogs_.frmAverCfg->SpinEdit1->value();
    s.minHitMiss = dialogs_.frmAverCfg->SpinEdit2->value();
    s.countInterval = dialogs_.frmAverCfg->SpinEdit3->value();
  });
  saveAfterChange();
  AverageCalc();
}

void TfrmMain::cbMIssEvalClick() {
  cbMIssEval->setText(cbMIssEval->isChecked() ? u"ヒット同数ならミスの多い方が上"_s
                                              : u"ヒット同数ならミスの多い方が下"_s);
  if (session_->hasRuns()) MainProcedure();
}

// Record file and folder

void TfrmMain::plRecFileClick() {
  plRecFile->setBevel(RecordFilePanel::Bevel::Lowered);
  if (QFileInfo(session_->recordPath()).isFile() || !PopupMenu2->isEmpty()) {
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
  if (session_->modeSelected()) RecStore();
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
  if (!QFileInfo(session_->recordPath()).isFile()) {
    session_->setRecordFile(oldFolder, oldCaption);
    return;
  }
  plRecFile->setText(chosen.fileName());
  RecordFileDialog::listInMenu(PopupMenu2, session_->recordFolder());
  if (session_->modeSelected()) RecStore();
}

// Colours

void TfrmMain::Col1Click() {
  QPlainTextEdit* memo = Memos[activeTab()];
  dialogs_.frmColor->setPreviewColors(memo->palette().color(QPalette::Base), memo->palette().color(QPalette::Text));
  dialogs_.frmColor->exec();
  QPalette palette = memo->palette();
  palette.setColor(QPalette::Base, dialogs_.frmColor->previewBackground());
  memo->setPalette(palette);
  saveAfterChange();
}

void TfrmMain::Color1Click() {
  QPlainTextEdit* memo = Memos[activeTab()];
  const QColor chosen =
      QColorDialog::getColor(memo->palette().color(QPalette::Base), this, QString(), QColorDialog::DontUseNativeDialog);
  if (!chosen.isValid()) return;
  QPalette palette = memo->palette();
  palette.setColor(QPalette::Base, chosen);
  memo->setPalette(palette);
  saveAfterChange();
}
