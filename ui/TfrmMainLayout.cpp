#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "settings/Options.h"
#include "ui/BoundedSpinBox.h"
#include "ui/HelpSystem.h"
#include "ui/MainMenus.h"
#include "ui/PaneHeaderLayout.h"
#include "ui/Pictures.h"
#include "ui/RecordFileDialog.h"
#include "ui/RecordFilePanel.h"
#include "ui/TfrmMain.h"
#include "ui/ViewPanes.h"

using namespace Qt::StringLiterals;

// The main window's controls and header panels: how they are made and laid out.

void TfrmMain::buildToolBar() {
  plRecFile = new RecordFilePanel(this);
  connect(plRecFile, &RecordFilePanel::clicked, this, &TfrmMain::plRecFileClick);
  connect(plRecFile, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopupMenu2->exec(plRecFile->mapToGlobal(at)); });
  ToolBar1 = menus_->buildToolBar(plRecFile);
  for (int mode = 0; mode < PracticeModeCount; ++mode) {
    ModeButtons[mode] = menus_->button(MainMenus::ModeButtons[mode]);
    connect(ModeButtons[mode], &QToolButton::clicked, this, [this, mode] { ButtonAClick(mode); });
  }
  CopyButton = menus_->button(u"CopyButton"_s);
  DirButton = menus_->button(u"DirButton"_s);
  FontButton = menus_->button(u"FontButton"_s);
  ExitButton = menus_->button(u"ExitButton"_s);
  // The era the views count, while one is set (showEra).
  lblEra = new QLabel(ToolBar1);
  lblEra->setObjectName(u"lblEra"_s);
  lblEra->setToolTip(u"集計の開始日: この期間の記録だけを数えています"_s);
  lblEra->setStyleSheet(u"QLabel { color: #a03000; font-weight: bold; padding: 0 8px; }"_s);
  lblEraAction = ToolBar1->addWidget(lblEra);
  lblEraAction->setVisible(false);

  PopupMenu2 = new QMenu(this);  // the record files of the folder
  PopupMenu2->setObjectName(u"PopupMenu2"_s);
  connect(PopupMenu2, &QMenu::triggered, this, &TfrmMain::FileMenuClick);
  OpenDialog1 = new RecordFileDialog(this);
  OpenDialog1->setObjectName(u"OpenDialog1"_s);
}

void TfrmMain::buildPages() {
  PageControl1 = new QTabWidget(this);
  PageControl1->setObjectName(u"PageControl1"_s);
  setCentralWidget(PageControl1);

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

  // Each view's panel above its pane (the history has none), one per row of the view table.
  std::array<QWidget*, Views.size()> headers{};
  headers[ViewGraph] = Panel2;
  headers[ViewAverage] = Panel3;
  headers[ViewMiss] = Panel4;
  headers[ViewBest] = Panel1;
  for (int tab = 0; tab < int(headers.size()); ++tab) {
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
    layout->addWidget(memo);
    Memos[static_cast<std::size_t>(tab)] = memo;
    PageControl1->addTab(page, Views[tab].caption.toString());
  }
  panes_ = std::make_unique<ViewPanes>(Memos);
  PageControl1->setProperty("helpContext", Views[ViewHistory].helpTopic);
  Memos[ViewHistory]->viewport()->installEventFilter(this);  // Memo1DblClick
  Panel3->installEventFilter(this);                          // its scale fits its width
  Memos[ViewHistory]->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(Memos[ViewHistory], &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopupMenu1->exec(Memos[ViewHistory]->mapToGlobal(at)); });
  setContextMenuPolicy(Qt::CustomContextMenu);
  connect(this, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopupMenu1->exec(mapToGlobal(at)); });
}

void TfrmMain::RedrawGraph() { PaneHeaderLayout::layOutGraph(Panel2); }
void TfrmMain::RedrawAver() { PaneHeaderLayout::layOutAverage(Panel3, PeriodButtons, ButtonAverCfg); }
void TfrmMain::RedrawMiss() { PaneHeaderLayout::layOutMiss(Panel4, btnReCalc, MissLabel1, seMissCon, MissLabel2); }

// Events

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize && watched == Panel3) PaneHeaderLayout::fitAverageScale(Panel3);
  if (event->type() == QEvent::MouseButtonDblClick && watched == Memos[ViewHistory]->viewport()) {
    Memo1DblClick();
    return true;
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
