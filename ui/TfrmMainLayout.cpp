#include <QAction>
#include <QCheckBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

#include "settings/Options.h"
#include "ui/BoundedSpinBox.h"
#include "ui/HelpSystem.h"
#include "ui/HintText.h"
#include "ui/PaneFeeder.h"
#include "ui/Pictures.h"
#include "ui/RecordFileDialog.h"
#include "ui/RecordFilePanel.h"
#include "ui/TfrmMain.h"

using namespace Qt::StringLiterals;

// The main window's controls, menus and header panels: how they are made
// and laid out, which items each tab shows, and the keys and hints they take.

namespace {

constexpr int MaxHintWidth = 120;

}  // namespace

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
  for (const std::unique_ptr<Feature>& feature : features_) {
    if (const std::optional<FeatureButton>& button = feature->declaration().button) {
      connect(toolButton(button->name, button->hint, button->picture), &QToolButton::clicked, this,
              [this, open = feature.get()] { open->open(host_); });
    }
  }
  CopyButton = toolButton(u"CopyButton"_s, u"すべてｺﾋﾟｰ"_s, 8);
  connect(CopyButton, &QToolButton::clicked, this, &TfrmMain::CopyAll1Click);
  DirButton = toolButton(u"DirButton"_s, u"ﾌｫﾙﾀﾞの変更"_s, 9);
  connect(DirButton, &QToolButton::clicked, this, &TfrmMain::Directory1Click);
  FontButton = toolButton(u"FontButton"_s, u"ﾌｫﾝﾄの変更"_s, 10);
  connect(FontButton, &QToolButton::clicked, this, &TfrmMain::Font2Click);
  ToolBar1->addSeparator();
  ExitButton = toolButton(u"ExitButton"_s, u"終了"_s, 11);
  connect(ExitButton, &QToolButton::clicked, this, &TfrmMain::Exit1Click);
  // The era the views count, while one is set (showEra).
  lblEra = new QLabel(ToolBar1);
  lblEra->setObjectName(u"lblEra"_s);
  lblEra->setToolTip(u"集計の開始日: この期間の記録だけを数えています"_s);
  lblEra->setStyleSheet(u"QLabel { color: #a03000; font-weight: bold; padding: 0 8px; }"_s);
  lblEraAction = ToolBar1->addWidget(lblEra);
  lblEraAction->setVisible(false);
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
    memo->installEventFilter(this);
    memo->viewport()->installEventFilter(this);
    layout->addWidget(memo);
    Memos[static_cast<std::size_t>(tab)] = memo;
    feeders_[static_cast<std::size_t>(tab)] = new PaneFeeder(memo);
    PageControl1->addTab(page, Views[tab].caption.toString());
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
  addFeatureItems(file, FeatureMenu::File);
  separator(file, u"N4"_s);
  addItem(file, u"Exit1"_s, u"終了(&X)"_s, QKeySequence(u"Ctrl+X"_s), &TfrmMain::Exit1Click);

  QMenu* edit = bar->addMenu(u"編集(&E)"_s);
  edit->setObjectName(u"Edit1"_s);
  addItem(edit, u"Copy1"_s, u"ｺﾋﾟｰ(&C)"_s, QKeySequence(u"Ctrl+C"_s), &TfrmMain::Copy1Click);
  addItem(edit, u"CopyAll1"_s, u"すべてｺﾋﾟｰ(&A)"_s, QKeySequence(u"Ctrl+W"_s), &TfrmMain::CopyAll1Click);

  QMenu* show = bar->addMenu(u"表示(&S)"_s);
  show->setObjectName(u"Show1"_s);
  for (const ViewInfo& view : Views) {
    QAction* item = addItem(show, view.menuName.toString(), view.menuCaption.toString(), {}, nullptr);
    connect(item, &QAction::triggered, this, [this, tag = view.view + 1] { Best1Click(tag); });
  }
  separator(show, u"N10"_s);
  addFeatureItems(show, FeatureMenu::Show);
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
  QAction* autoReload = addItem(option, u"AutoReload1"_s, u"自動再読み込み(&A)"_s, {}, &TfrmMain::AutoReload1Click);
  autoReload->setCheckable(true);
  autoReload->setChecked(true);
  separator(option, u"N7"_s);
  addItem(option, u"Nomiss1"_s, u"ノーミスのみ(&N)"_s, QKeySequence(u"Ctrl+N"_s), &TfrmMain::Nomiss1Click)
      ->setCheckable(true);
  addItem(option, u"Level1"_s, u"レベルアップのみ(&U)"_s, QKeySequence(u"Ctrl+U"_s), &TfrmMain::Level1Click)
      ->setCheckable(true);
  separator(option, u"N6"_s);
  addItem(option, u"KM1"_s, u"お祝いの設定...(&O)"_s, QKeySequence(u"Ctrl+O"_s), &TfrmMain::KM1Click);
  addFeatureItems(option, FeatureMenu::Option);

  QMenu* help = bar->addMenu(u"ﾍﾙﾌﾟ(&H)"_s);
  help->setObjectName(u"Help1"_s);
  addItem(help, u"Help2"_s, u"ヘルプ(&H)"_s, QKeySequence(Qt::Key_F1), &TfrmMain::Help2Click);
  addItem(help, u"KK1"_s, u"キーワードで検索(&K)"_s, {}, &TfrmMain::KK1Click);
  separator(help, u"N5"_s);
  addItem(help, u"Version1"_s, u"バージョン情報...(&V)"_s, QKeySequence(u"Ctrl+V"_s), &TfrmMain::Version1Click);

  // Shortcuts that work while their items are hidden: Ctrl+C, Ctrl+U and a charted feature's (Ctrl+G).
  QStringList hiddenWithKeys = {u"Copy1"_s, u"Level1"_s};
  for (const std::unique_ptr<Feature>& feature : features_)
    for (const FeatureItem& item : feature->declaration().items)
      if (item.chartedViewsOnly) hiddenWithKeys << item.name;
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

void TfrmMain::addFeatureItems(QMenu* menu, FeatureMenu place) {
  for (const std::unique_ptr<Feature>& feature : features_) {
    for (const FeatureItem& item : feature->declaration().items) {
      if (item.menu != place) continue;
      QAction* action = addItem(menu, item.name, item.caption, QKeySequence(item.shortcut), nullptr);
      if (item.kind == FeatureItem::Kind::StartOption)
        action->setCheckable(true);  // the check mark is the option
      else
        connect(action, &QAction::triggered, this, [this, open = feature.get()] { open->open(host_); });
    }
  }
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
  const ViewInfo& view = viewInfo(tab);
  setItemVisible(u"Copy1"_s, view.copiesSelection);
  if (PopupMenu1) PopupMenu1->findChild<QAction*>(u"Copy2"_s)->setVisible(view.copiesSelection);
  setItemVisible(u"Level1"_s, tab == ViewHistory);
  for (const QString& name : {u"N1"_s, u"Day1"_s, u"Week1"_s, u"Month1"_s, u"Year1"_s, u"AverCfg1"_s})
    setItemVisible(name, tab == ViewAverage);
  setItemVisible(u"N9"_s, tab == ViewMiss);
  setItemVisible(u"ReCalc1"_s, tab == ViewMiss);
  for (const std::unique_ptr<Feature>& feature : features_) {
    const Feature::Declaration& declared = feature->declaration();
    for (const FeatureItem& item : declared.items)
      if (item.chartedViewsOnly) setItemVisible(item.name, view.charted());
    if (declared.button && declared.button->disabledPicture >= 0) {
      auto* button = ToolBar1->findChild<QToolButton*>(declared.button->name);
      button->setEnabled(view.charted());
      button->setIcon(
          QIcon(Pictures::toolbarImage(view.charted() ? declared.button->picture : declared.button->disabledPicture)));
    }
  }
  PageControl1->setProperty("helpContext", view.helpTopic);
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
  Panel3->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
  Panel3->setFixedHeight(height + 4);
  fitAverageScale();
}

// The scale over the average pane's bars (a character for 5 hits: "0" in
// column 25, then 50 hits every ten columns, each number ending in column
// 26 + 10 k, up to 550), as far as whole numbers fit in the panel.
void TfrmMain::fitAverageScale() {
  const QFontMetrics metrics(Panel3->font());
  const int room = Panel3->contentsRect().width();
  QString scale = QString(25, u' ') + u'0';
  for (int hits = 50; hits <= 550; hits += 50) {
    const QString longer = scale + QString::number(hits).rightJustified(27 + hits / 5 - scale.size());
    if (metrics.horizontalAdvance(longer) > room) break;
    scale = longer;
  }
  Panel3->setText(scale);
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
    case QEvent::KeyPress: {
      // F1 in a window of its own with a help page (the 3D chart, the
      // calendar, the progress chart, the export) opens that page; in this
      // window, the contents (keyPressEvent).
      const auto* key = static_cast<QKeyEvent*>(event);
      const auto* widget = qobject_cast<QWidget*>(watched);
      if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier || !widget || widget->window() == this) break;
      const QVariant topic = widget->window()->property("helpContext");
      if (!topic.isValid()) break;
      help_->showTopic(topic.toInt());
      return true;
    }
    case QEvent::Resize:
      if (watched == Panel3) fitAverageScale();
      break;
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
