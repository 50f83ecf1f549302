#pragma once

#include <QMainWindow>

#include <array>
#include <memory>

#include "ui/Features.h"
#include "ui/MainDialogs.h"
#include "ui/StartupContext.h"
#include "viewer/LoadScheduler.h"
#include "viewer/ViewerSession.h"

class QCheckBox;
class QFileDialog;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QToolBar;
class QToolButton;
class HelpSystem;
class LoadingFeedback;
class MainMenus;
class MainOptionsBinding;
class RecordFilePanel;
class RecordFileFollower;
class SettingsFile;
class TfrmOpening;
class ViewPanes;

// The main window: its controls (made in TfrmMainLayout.cpp), its handlers and
// the relays between them. Creating it does the whole start-up; closing it
// saves the settings. A handler reads its control, calls the viewer session
// (the only door to the viewer core) and shows what it answers.
class TfrmMain : public QMainWindow {
  Q_OBJECT
 public:
  explicit TfrmMain(const StartupContext& context, QWidget* parent = nullptr);
  ~TfrmMain() override;

  void createLongLivedDialogs();  // the dialogs that live for the whole run, made after the main window
  const ViewerSession& session() const { return *session_; }
  SettingsFile* settingsFile() const { return settings_.get(); }
  HelpSystem* help() const { return help_; }

 protected:
  void closeEvent(QCloseEvent* event) override;  // FormClose
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  using enum View;  // the tabs, by their tags

  void FormCreate(const StartupContext& context);
  bool FormClose();
  void RecStore();
  void MainProcedure();
  void AverageCalc();
  void ShowHokoseki(), ShowGraph(), ShowAver(), ShowMiss(), ShowBest();  // each view's pass, into its pane
  void RedrawGraph(), RedrawAver(), RedrawMiss();                        // the panels above the panes
  void ShowOiwai(const RecordToCelebrate& record);

  void ButtonAClick(int mode);
  void ReSet1Click(), btnReCalcClick(), seRankCountChange();
  void Help2Click(), KK1Click(), Version1Click(), Exit1Click();
  void PageControl1Change();
  void Best1Click(int tag);
  void Nomiss1Click();
  void Level1Click();
  void Copy1Click();
  void CopyAll1Click();
  void Memo1DblClick();
  void Font2Click();
  void GraphCharClick();
  void Recent1Click();
  void MakeDataClick();
  void ButtonDayClick(int tag);
  void ButtonAverCfgClick();
  void cbMIssEvalClick();
  void Directory1Click();
  void plRecFileClick();
  void FileMenuClick(QAction* item);
  void Col1Click();
  void Color1Click();
  void showEra();  // the title names the era, while one is set

  void buildToolBar();
  void buildPages();
  void connectCommands();  // the menus' items and the tool bar's buttons to their handlers
  void saveAfterChange();  // after a dialog's OK
  void pressModeButton(int mode);
  void runActivePass();
  void showPane(View view);
  void updateViewSettings();                            // the core's settings, as the menus and controls stand
  void followSession(ViewerSession::Change change);     // a new era: the title and the active view
  void runWaitingLoad(LoadScheduler::Request request);  // one asked for while another ran
  bool checked(const QString& item) const;              // a menu item's check mark
  int activeTab() const;

  // Components, under their design names.
  QToolBar* ToolBar1 = nullptr;
  RecordFilePanel* plRecFile = nullptr;
  QLabel* lblEra = nullptr;                                   // the era, on the tool bar while one is set
  QAction* lblEraAction = nullptr;                            // its place on the tool bar
  std::array<QToolButton*, PracticeModeCount> ModeButtons{};  // ButtonA, ButtonK, ButtonR, ButtonE
  QToolButton *CopyButton = nullptr, *DirButton = nullptr, *FontButton = nullptr, *ExitButton = nullptr;
  QTabWidget* PageControl1 = nullptr;
  std::array<QPlainTextEdit*, ViewCount> Memos{};  // Memo1 ... Memo5
  QLabel *Panel2 = nullptr, *Panel3 = nullptr, *MissLabel1 = nullptr, *MissLabel2 = nullptr;
  QWidget *Panel4 = nullptr, *Panel1 = nullptr;
  std::array<QToolButton*, 5> PeriodButtons{};  // ButtonDay, ButtonWeek, ButtonMonth, ButtonYear, ButtonCount
  QPushButton *ButtonAverCfg = nullptr, *btnReCalc = nullptr;
  QSpinBox *seMissCon = nullptr, *seRankCount = nullptr;
  QCheckBox* cbMIssEval = nullptr;
  QMenu *PopupMenu1 = nullptr, *PopupMenu2 = nullptr;
  QFileDialog* OpenDialog1 = nullptr;
  TfrmOpening* frmOpening = nullptr;
  MainDialogs dialogs_;  // AboutBox, frmColor, ...

  MainFeatures features_;  // the 3D chart, the calendar, the celebration, ...: their items and windows
  FeatureHost host_;       // what the window lends them
  MainMenus* menus_ = nullptr;
  std::unique_ptr<MainOptionsBinding> options_;
  std::unique_ptr<ViewPanes> panes_;  // Memos, as the passes fill them
  std::unique_ptr<SettingsFile> settings_;
  HelpSystem* help_ = nullptr;
  std::unique_ptr<LoadingFeedback> feedback_;
  std::unique_ptr<ViewerSession> session_;  // the mode, the record file and the viewer core
  RecordFileFollower* follower_ = nullptr;  // the live reloads
  LoadScheduler* loads_ = nullptr;          // when loads run: one at a time
  int averagePeriodTag_ = 1;
  bool FirstPassDone = false, closing_ = false;
};
