#pragma once

#include <QFont>
#include <QMainWindow>
#include <QStringList>

#include <array>
#include <memory>
#include <optional>

#include "analysis/View.h"
#include "feature/Feature.h"
#include "settings/Options.h"
#include "viewer/LoadScheduler.h"
#include "viewer/ViewerCore.h"
#include "viewer/ViewerSession.h"

class QAction;
class QCheckBox;
class QFileDialog;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QShortcut;
class QSpinBox;
class QTabWidget;
class QToolBar;
class QToolButton;
class HelpSystem;
class LoadingFeedback;
class RecordFileWatcher;
class RecordFilePanel;
class PaneFeeder;
class FontDialog;
class SettingsFile;
class TAboutBox;
class TfrmAverCfg;
class TfrmColor;
class TfrmGChar;
class TfrmOiwaiCfg;
class TfrmOpening;
class TfrmRecent;

// What the program starts with.
struct StartupContext {
  QString settingsPath;   // the settings file
  QString programFolder;  // ends in "/": defaults of the record folder and the fanfare
  QString workingFolder;  // where the banner pictures "Oiwai*.bmp" are counted
  QStringList arguments;  // the command line after the program name

  // The running program's: its settings file, folder, working folder and arguments.
  static StartupContext forApplication();
};

// The main window. Its creation does the whole start-up (settings, command
// line, record-file menu, mode button, first load); closing it saves the
// settings. Every command is a handler that reads its control, calls the
// viewer session and shows what it answers. The session (viewer/ViewerSession:
// the mode, the record file, the options, the reload rule, the export) is the
// window's only door to the viewer core, which it owns (shared with the
// report tool: it loads the runs and computes the views); the session tells
// the windows that follow it after a load, a reload, a mode switch, a change
// of no-miss or of the era.
// The window's code is split by subject: the controls, menus, hints and keys
// in TfrmMainLayout.cpp, the export command in TfrmMainExport.cpp, the era in
// TfrmMainEra.cpp, the progress chart in TfrmMainProgress.cpp, the rest here.
class TfrmMain : public QMainWindow {
  Q_OBJECT
 public:
  explicit TfrmMain(const StartupContext& context, QWidget* parent = nullptr);
  ~TfrmMain() override;

  // The dialogs that live for the whole run, made after the main window.
  void createLongLivedDialogs();

  // What the window shows: the loaded runs and the last results.
  const ViewerSession& session() const { return *session_; }
  SettingsFile* settingsFile() const { return settings_.get(); }
  HelpSystem* help() const { return help_; }

 protected:
  void closeEvent(QCloseEvent* event) override;  // FormClose
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  using enum View;  // the tabs, by their tags

  // Loading and the passes.
  void RecStore();
  void MainProcedure();
  void AverageCalc();
  void ShowHokoseki();
  void ShowGraph();
  void ShowAver();
  void ShowMiss();
  void ShowBest();
  void RedrawGraph();
  void RedrawAver();
  void fitAverageScale();  // the average pane's scale, cut to the whole numbers that fit
  void RedrawMiss();

  // Commands.
  void ButtonAClick(int mode);
  void PageControl1Change();
  void Best1Click(int tag);
  void Nomiss1Click();
  void Level1Click();
  void Hint1Click();
  void Copy1Click();
  void CopyAll1Click();
  void Memo1DblClick();
  void Font2Click();
  void GraphCharClick();
  void Recent1Click();
  void ReSet1Click();
  void MakeDataClick();
  void Help2Click();
  void KK1Click();
  void Version1Click();
  void Exit1Click();
  void ButtonDayClick(int tag);
  void ButtonAverCfgClick();
  void btnReCalcClick();
  void seRankCountChange();
  void cbMIssEvalClick();
  void Directory1Click();
  void plRecFileClick();
  void FileMenuClick(QAction* item);
  void Col1Click();
  void Color1Click();
  void KM1Click();
  void AutoReload1Click();
  void showEra();  // the title names the era, while one is set
  void ShowOiwai(const QString& modeName, const QString& message, const QString& fanfare, int best);

  void FormCreate(const StartupContext& context);
  bool FormClose();
  void saveAfterChange();  // after a dialog's OK
  void buildToolBar();
  void buildPages();
  void buildMenus();
  void addFeatureItems(QMenu* menu, FeatureMenu place);  // the features' items of that menu, in their order
  void buildPopupMenus();
  QAction* addItem(QMenu* menu, const QString& name, const QString& caption, const QKeySequence& shortcut,
                   void (TfrmMain::*handler)());
  QAction* menuItem(const QString& name) const;  // by its design name ("Nomiss1", "Day1", ...)
  void setItemVisible(const QString& name, bool visible);
  void applyOptions(const MainOptions& options);
  MainOptions currentOptions() const;
  void applyCommandLine(const QStringList& arguments);
  void buildRecordFileMenu();
  void pressModeButton(int mode);
  bool modeSelected() const;
  int activeTab() const;
  QString recordPath() const;
  void clearPanes();
  void runActivePass();
  void setMissPaneVisible();
  void applyTabMenuState(int tab);
  void copyText(const QString& text);
  QPlainTextEdit* activeMemo() const;
  void updateViewSettings();  // the core's settings, as the menus and controls stand
  void showPane(View view);
  void followRecordFile();                           // watches the loaded record file, when the option says so
  void followSession(ViewerSession::Change change);  // a new era: the title and the active view
  void liveReload(ViewerCore::Reload kind);
  void runWaitingLoad(LoadScheduler::Request request);  // one asked for while another ran

  // State.
  QString FanfareFile;
  QString CelebrationMessage;
  QFont CelebrationFont;
  QColor CelebrationFontColor;
  bool FirstPassDone = false;
  int BannerPictureMax = 0;

  // Components, under their design names.
  QToolBar* ToolBar1 = nullptr;
  RecordFilePanel* plRecFile = nullptr;
  QLabel* lblEra = nullptr;                                   // the era, on the tool bar while one is set
  QAction* lblEraAction = nullptr;                            // its place on the tool bar
  std::array<QToolButton*, PracticeModeCount> ModeButtons{};  // ButtonA, ButtonK, ButtonR, ButtonE
  QToolButton* CopyButton = nullptr;
  QToolButton* DirButton = nullptr;
  QToolButton* FontButton = nullptr;
  QToolButton* ExitButton = nullptr;
  QTabWidget* PageControl1 = nullptr;
  std::array<QPlainTextEdit*, ViewCount> Memos{};  // Memo1 ... Memo5
  QLabel* Panel2 = nullptr;
  QLabel* Panel3 = nullptr;
  std::array<QToolButton*, 5> PeriodButtons{};  // ButtonDay, ButtonWeek, ButtonMonth, ButtonYear, ButtonCount
  QPushButton* ButtonAverCfg = nullptr;
  QWidget* Panel4 = nullptr;
  QPushButton* btnReCalc = nullptr;
  QLabel* MissLabel1 = nullptr;
  QSpinBox* seMissCon = nullptr;
  QLabel* MissLabel2 = nullptr;
  QWidget* Panel1 = nullptr;
  QSpinBox* seRankCount = nullptr;
  QCheckBox* cbMIssEval = nullptr;
  QMenu* PopupMenu1 = nullptr;
  QMenu* PopupMenu2 = nullptr;
  QFileDialog* OpenDialog1 = nullptr;
  FontDialog* FontDialog1 = nullptr;
  TfrmOpening* frmOpening = nullptr;
  TAboutBox* AboutBox = nullptr;
  TfrmColor* frmColor = nullptr;
  TfrmGChar* frmGChar = nullptr;
  TfrmRecent* frmRecent = nullptr;
  TfrmAverCfg* frmAverCfg = nullptr;
  TfrmOiwaiCfg* frmOiwaiCfg = nullptr;

  std::array<PaneFeeder*, ViewCount> feeders_{};  // what each pane shows, filled in pieces

  StartupContext context_;
  std::unique_ptr<SettingsFile> settings_;
  HelpSystem* help_ = nullptr;
  std::unique_ptr<LoadingFeedback> feedback_;
  std::unique_ptr<ViewerSession> session_;  // the mode, the record file and the viewer core
  RecordFileWatcher* watcher_ = nullptr;
  std::vector<std::unique_ptr<Feature>> features_;  // the 3D chart, the calendar, ...: their items and windows
  FeatureHost host_;                                // what the window lends them
  LoadScheduler* loads_ = nullptr;                  // when loads run: one at a time
  std::array<std::optional<QPoint>, ViewCount> keptScroll_{};  // where the user left each pane, across a live reload
  int averagePeriodTag_ = 1;
  bool closing_ = false;
  QStringList menuShortcutKeys_;
};
