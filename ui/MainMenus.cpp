#include "ui/MainMenus.h"

#include <QMainWindow>
#include <QMenuBar>
#include <QShortcut>
#include <QToolBar>
#include <QToolButton>

#include "ui/Pictures.h"

using namespace Qt::StringLiterals;

namespace {

// One row of the menu table.
struct MenuRow {
  enum Kind {
    Menu,       // a menu of the bar: the rows after it are its items
    Submenu,    // a menu in the menu: the rows after it are its items, up to End
    End,        // back to the menu above
    Item,       // a command
    Check,      // an option with a check mark, off
    CheckOn,    // an option with a check mark, on
    Separator,  // named
    Views,      // the 表示 menu's item of each tab view
    Modes,      // the 実行 menu's mode items
    Averages,   // the 実行 menu's average items
    Features,   // the features' items of that menu
  };
  Kind kind;
  const char16_t* name = u"";
  const char16_t* caption = u"";
  const char16_t* shortcut = u"";
  FeatureMenu place = FeatureMenu::File;  // of Features
};

constexpr MenuRow MenuTable[] = {
    {MenuRow::Menu, u"File1", u"ﾌｧｲﾙ(&F)"},
    {MenuRow::Item, u"File2", u"記録ファイルの選択(&F)", u"Ctrl+S"},
    {MenuRow::Item, u"Directory1", u"フォルダの変更...(&D)", u"Ctrl+D"},
    {MenuRow::Item, u"ReSet1", u"再読み込み(R)", u"Ctrl+Q"},
    {MenuRow::Item, u"MakeData", u"圧縮ﾃﾞｰﾀ再作成(&M)"},
    {MenuRow::Features, u"", u"", u"", FeatureMenu::File},
    {MenuRow::Separator, u"N4"},
    {MenuRow::Item, u"Exit1", u"終了(&X)", u"Ctrl+X"},
    {MenuRow::Menu, u"Edit1", u"編集(&E)"},
    {MenuRow::Item, u"Copy1", u"ｺﾋﾟｰ(&C)", u"Ctrl+C"},
    {MenuRow::Item, u"CopyAll1", u"すべてｺﾋﾟｰ(&A)", u"Ctrl+W"},
    {MenuRow::Menu, u"Show1", u"表示(&S)"},
    {MenuRow::Views},
    {MenuRow::Separator, u"N10"},
    {MenuRow::Features, u"", u"", u"", FeatureMenu::Show},
    {MenuRow::Separator, u"N8"},
    {MenuRow::Item, u"Font2", u"ﾌｫﾝﾄの変更...(&F)", u"Ctrl+F"},
    {MenuRow::Submenu, u"Color1", u"背景色の変更(&O)"},
    {MenuRow::Item, u"Col1", u"ｶﾗｰﾘｽﾄから選択...(&L)", u"Ctrl+B"},
    {MenuRow::Item, u"Col2", u"ｺﾓﾝﾀﾞｲｱﾛｸﾞから選択...(&C)"},
    {MenuRow::End},
    {MenuRow::Item, u"GraphChar", u"グラフ表示キャラクタ...(&C)"},
    {MenuRow::Item, u"Recent1", u"表示回数の制限...(&R)", u"Ctrl+L"},
    {MenuRow::Menu, u"Run1", u"実行(&R)"},
    {MenuRow::Modes},
    {MenuRow::Separator, u"N1"},
    {MenuRow::Averages},
    {MenuRow::Item, u"AverCfg1", u"平均の条件設定(&C)"},
    {MenuRow::Separator, u"N9"},
    {MenuRow::Item, u"ReCalc1", u"再計算(&R)"},
    {MenuRow::Menu, u"Option1", u"ｵﾌﾟｼｮﾝ(&O)"},
    {MenuRow::Check, u"Hint1", u"ヒント表示の有無(&H)", u"Ctrl+H"},
    {MenuRow::CheckOn, u"AutoReload1", u"自動再読み込み(&A)"},
    {MenuRow::Separator, u"N7"},
    {MenuRow::Check, u"Nomiss1", u"ノーミスのみ(&N)", u"Ctrl+N"},
    {MenuRow::Check, u"Level1", u"レベルアップのみ(&U)", u"Ctrl+U"},
    {MenuRow::Separator, u"N6"},
    {MenuRow::Features, u"", u"", u"", FeatureMenu::Option},
    {MenuRow::Menu, u"Help1", u"ﾍﾙﾌﾟ(&H)"},
    {MenuRow::Item, u"Help2", u"ヘルプ(&H)", u"F1"},
    {MenuRow::Item, u"KK1", u"キーワードで検索(&K)"},
    {MenuRow::Separator, u"N5"},
    {MenuRow::Item, u"Version1", u"バージョン情報...(&V)", u"Ctrl+V"},
};

// The pop-up menu of the history pane and the window; an unnamed row is a separator.
constexpr MenuRow PopupTable[] = {
    {MenuRow::Item, u"CopyAll2", u"すべてｺﾋﾟｰ"},
    {MenuRow::Item, u"Copy2", u"ｺﾋﾟｰ"},
    {MenuRow::Separator},
    {MenuRow::Item, u"Directory2", u"ﾌｫﾙﾀﾞの変更..."},
    {MenuRow::Item, u"Font1", u"ﾌｫﾝﾄの変更..."},
    {MenuRow::Item, u"Recent2", u"表示回数の制限..."},
    {MenuRow::Item, u"ReSet2", u"再読み込み"},
    {MenuRow::Separator},
    {MenuRow::Item, u"Exit2", u"終了"},
};

const QString ModeCaptions[] = {u"&A（英字）"_s, u"&K（カナ）"_s, u"&R（ローマ字）"_s, u"&!（記号）"_s};
const QString ModeKeys[] = {u"Ctrl+A"_s, u"Ctrl+K"_s, u"Ctrl+R"_s, u"Ctrl+E"_s};
const QString AverageCaptions[] = {u"日平均(&D)"_s, u"週平均(&W)"_s, u"月平均(&M)"_s, u"年平均(&Y)"_s};

// The tool bar's buttons after the mode buttons and the features' (a picture of Pictures::toolbarImage);
// an unnamed row is a separator.
constexpr MenuRow ToolTable[] = {
    {MenuRow::Item, u"CopyButton", u"すべてｺﾋﾟｰ", u"8"},  {MenuRow::Item, u"DirButton", u"ﾌｫﾙﾀﾞの変更", u"9"},
    {MenuRow::Item, u"FontButton", u"ﾌｫﾝﾄの変更", u"10"}, {MenuRow::Separator},
    {MenuRow::Item, u"ExitButton", u"終了", u"11"},
};
const QString ModeHints[] = {u"英字"_s, u"かな"_s, u"ローマ字"_s, u"記号"_s};

// The items of the 実行 menu that only the average tab shows.
const QString AverageTabItems[] = {u"N1"_s, u"Day1"_s, u"Week1"_s, u"Month1"_s, u"Year1"_s, u"AverCfg1"_s};

}  // namespace

const std::array<QString, PracticeModeCount> MainMenus::ModeItems = {u"MenuA"_s, u"MenuK"_s, u"MenuR"_s, u"MenuE"_s};
const std::array<QString, PracticeModeCount> MainMenus::ModeButtons = {u"ButtonA"_s, u"ButtonK"_s, u"ButtonR"_s,
                                                                       u"ButtonE"_s};
const std::array<QString, 4> MainMenus::AverageItems = {u"Day1"_s, u"Week1"_s, u"Month1"_s, u"Year1"_s};

MainMenus::MainMenus(QMainWindow* window, const std::vector<std::unique_ptr<Feature>>& features,
                     const FeatureHost& host)
    : QObject(window), window_(window), features_(features), host_(host) {}

QAction* MainMenus::add(QMenu* menu, const QString& name, const QString& caption, const QString& shortcut) {
  QAction* item = menu->addAction(caption);
  item->setObjectName(name);
  if (!shortcut.isEmpty()) {
    item->setShortcut(QKeySequence(shortcut));
    item->setShortcutContext(Qt::WindowShortcut);
    shortcutKeys_ << item->shortcut().toString();
  }
  return item;
}

void MainMenus::build() {
  QMenuBar* bar = window_->menuBar();
  bar->setObjectName(u"MainMenu1"_s);
  QMenu* menu = nullptr;
  QMenu* above = nullptr;
  for (const MenuRow& row : MenuTable) {
    const QString name = QString::fromUtf16(row.name);
    const QString caption = QString::fromUtf16(row.caption);
    switch (row.kind) {
      case MenuRow::Menu: menu = bar->addMenu(caption); break;
      case MenuRow::Submenu:
        above = menu;
        menu = menu->addMenu(caption);
        break;
      case MenuRow::End: menu = above; break;
      case MenuRow::Item: add(menu, name, caption, QString::fromUtf16(row.shortcut)); break;
      case MenuRow::Check:
      case MenuRow::CheckOn: {
        QAction* item = add(menu, name, caption, QString::fromUtf16(row.shortcut));
        item->setCheckable(true);
        item->setChecked(row.kind == MenuRow::CheckOn);
        break;
      }
      case MenuRow::Separator: menu->addSeparator()->setObjectName(name); break;
      case MenuRow::Views:
        for (const ViewInfo& view : Views) add(menu, view.menuName.toString(), view.menuCaption.toString(), {});
        break;
      case MenuRow::Modes:
        for (int mode = 0; mode < PracticeModeCount; ++mode)
          add(menu, ModeItems[mode], ModeCaptions[mode], ModeKeys[mode]);
        break;
      case MenuRow::Averages:
        for (int i = 0; i < int(AverageItems.size()); ++i) add(menu, AverageItems[i], AverageCaptions[i], {});
        break;
      case MenuRow::Features: addFeatureItems(menu, row.place); break;
    }
    if (row.kind == MenuRow::Menu || row.kind == MenuRow::Submenu) menu->setObjectName(name);
  }
  addHiddenItemKeys();

  popup_ = new QMenu(window_);
  popup_->setObjectName(u"PopupMenu1"_s);
  for (const MenuRow& row : PopupTable) {
    if (row.kind == MenuRow::Separator)
      popup_->addSeparator();
    else
      popup_->addAction(QString::fromUtf16(row.caption))->setObjectName(QString::fromUtf16(row.name));
  }
}

void MainMenus::addFeatureItems(QMenu* menu, FeatureMenu place) {
  for (const std::unique_ptr<Feature>& feature : features_) {
    for (const FeatureItem& item : feature->declaration().items) {
      if (item.menu != place) continue;
      QAction* action = add(menu, item.name, item.caption, item.shortcut);
      if (item.kind == FeatureItem::Kind::StartOption)
        action->setCheckable(true);  // the check mark is the option
      else
        connect(action, &QAction::triggered, this, [this, open = feature.get()] { open->open(host_); });
    }
  }
}

// Shortcuts that work while their items are hidden: Ctrl+C, Ctrl+U and a charted feature's (Ctrl+G).
void MainMenus::addHiddenItemKeys() {
  QStringList hiddenWithKeys = {u"Copy1"_s, u"Level1"_s};
  for (const std::unique_ptr<Feature>& feature : features_)
    for (const FeatureItem& item : feature->declaration().items)
      if (item.chartedViewsOnly) hiddenWithKeys << item.name;
  for (const QString& name : hiddenWithKeys) {
    QAction* action = item(name);
    auto* key = new QShortcut(action->shortcut(), window_);
    key->setObjectName(name + u"Key"_s);
    key->setEnabled(false);
    connect(key, &QShortcut::activated, this, [action] {
      if (action->isCheckable()) action->setChecked(!action->isChecked());
      action->setEnabled(true);
      Q_EMIT action->triggered(action->isChecked());
    });
  }
}

QToolButton* MainMenus::addButton(const QString& name, const QString& hint, int picture) {
  auto* button = new QToolButton(toolBar_);
  button->setObjectName(name);
  button->setToolTip(hint);
  button->setIcon(QIcon(Pictures::toolbarImage(picture)));
  button->setAutoRaise(true);
  toolBar_->addWidget(button);
  return button;
}

QToolBar* MainMenus::buildToolBar(QWidget* recordFilePanel) {
  toolBar_ = window_->addToolBar(u"ToolBar1"_s);
  toolBar_->setObjectName(u"ToolBar1"_s);
  toolBar_->setMovable(false);
  toolBar_->setFloatable(false);
  toolBar_->setIconSize(QSize(16, 16));
  toolBar_->setContextMenuPolicy(Qt::PreventContextMenu);
  recordFilePanel->setParent(toolBar_);
  toolBar_->addWidget(recordFilePanel);
  toolBar_->addSeparator();
  for (int mode = 0; mode < PracticeModeCount; ++mode)
    addButton(ModeButtons[mode], ModeHints[mode], mode)->setCheckable(true);
  toolBar_->addSeparator();
  for (const std::unique_ptr<Feature>& feature : features_) {
    if (const std::optional<FeatureButton>& declared = feature->declaration().button)
      connect(addButton(declared->name, declared->hint, declared->picture), &QToolButton::clicked, this,
              [this, open = feature.get()] { open->open(host_); });
  }
  for (const MenuRow& row : ToolTable) {
    if (row.kind == MenuRow::Separator)
      toolBar_->addSeparator();
    else
      addButton(QString::fromUtf16(row.name), QString::fromUtf16(row.caption),
                QString::fromUtf16(row.shortcut).toInt());
  }
  return toolBar_;
}

QToolButton* MainMenus::button(const QString& name) const { return toolBar_->findChild<QToolButton*>(name); }

QAction* MainMenus::item(const QString& name) const { return window_->findChild<QAction*>(name); }

// A hidden item keeps its shortcut through its companion key.
void MainMenus::setItemVisible(const QString& name, bool visible) {
  item(name)->setVisible(visible);
  if (auto* key = window_->findChild<QShortcut*>(name + u"Key"_s)) key->setEnabled(!visible);
}

void MainMenus::showTab(const ViewInfo& view) {
  setItemVisible(u"Copy1"_s, view.copiesSelection);
  popup_->findChild<QAction*>(u"Copy2"_s)->setVisible(view.copiesSelection);
  setItemVisible(u"Level1"_s, view.view == ViewHistory);
  for (const QString& name : AverageTabItems) setItemVisible(name, view.view == ViewAverage);
  setItemVisible(u"N9"_s, view.view == ViewMiss);
  setItemVisible(u"ReCalc1"_s, view.view == ViewMiss);
  for (const std::unique_ptr<Feature>& feature : features_) {
    const Feature::Declaration& declared = feature->declaration();
    for (const FeatureItem& item : declared.items)
      if (item.chartedViewsOnly) setItemVisible(item.name, view.charted());
    if (declared.button && declared.button->disabledPicture >= 0) {
      auto* button = toolBar_->findChild<QToolButton*>(declared.button->name);
      button->setEnabled(view.charted());
      button->setIcon(
          QIcon(Pictures::toolbarImage(view.charted() ? declared.button->picture : declared.button->disabledPicture)));
    }
  }
}
