// The features beside the tab views (the 3D chart, the calendar, the progress
// chart, ...) as the main window builds them from their declarations: the
// menus and the tool bar as they always were, and a feature's window updated
// on the changes it follows. F1 in each window: HelpSystemTest.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "records/LoadFeedback.h"
#include "settings/SettingsFile.h"
#include "support/MainWindowFixture.h"
#include "support/TempDir.h"
#include "support/TypistFile.h"
#include "ui/Features.h"
#include "ui/TfrmMain.h"

using namespace Qt::StringLiterals;

namespace {

// A menu, one line an item: its design name, caption and shortcut; "-" for a
// separator, "[ ]" for a check mark, "{...}" for a submenu.
QStringList itemsOf(const QMenu* menu) {
  QStringList lines;
  for (const QAction* action : menu->actions()) {
    QString line = action->objectName();
    if (action->isSeparator()) {
      line += u" -"_s;
    } else if (action->menu()) {
      line =
          action->menu()->objectName() + u' ' + action->text() + u" {"_s + itemsOf(action->menu()).join(u", "_s) + u'}';
    } else {
      line += u' ' + action->text();
      if (!action->shortcut().isEmpty()) line += u' ' + action->shortcut().toString();
      if (action->isCheckable()) line += u" [ ]"_s;
    }
    lines << line;
  }
  return lines;
}

// A feature whose window counts the updates it is given.
class CountingFeature : public Feature {
 public:
  explicit CountingFeature(std::vector<ViewerSession::Change> follows) : Feature(declared(std::move(follows))) {}
  static Declaration declared(std::vector<ViewerSession::Change> follows) {
    Declaration d;
    d.items = {FeatureItem(FeatureMenu::Show, u"Counting1"_s, u"数える"_s)};
    d.follows = std::move(follows);
    return d;
  }
  void open(const FeatureHost& host) override {
    if (!window) {
      window = std::make_unique<QWidget>();
      follow(host, window.get(), [this] { ++updates; });
    }
    window->show();
  }
  std::unique_ptr<QWidget> window;
  int updates = 0;
};

}  // namespace

class FeatureMenusTest : public QObject, private MainWindowFixture {
  Q_OBJECT

 private Q_SLOTS:
  void init() {
    setUpWindowFolder();
    writeTypistFile(*dir, 60);
  }
  void cleanup() { tearDownWindowFolder(); }

  void theMenusListTheirItemsAsEver_data() {
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("ﾌｧｲﾙ") << u"File1"_s
                          << QStringList{u"File2 記録ファイルの選択(&F) Ctrl+S"_s,
                                         u"Directory1 フォルダの変更...(&D) Ctrl+D"_s,
                                         u"ReSet1 再読み込み(R) Ctrl+Q"_s,
                                         u"MakeData 圧縮ﾃﾞｰﾀ再作成(&M)"_s,
                                         u"Export1 エクスポート...(&E)"_s,
                                         u"N4 -"_s,
                                         u"Exit1 終了(&X) Ctrl+X"_s};
    QTest::newRow("編集") << u"Edit1"_s << QStringList{u"Copy1 ｺﾋﾟｰ(&C) Ctrl+C"_s, u"CopyAll1 すべてｺﾋﾟｰ(&A) Ctrl+W"_s};
    QStringList show;
    for (const ViewInfo& view : Views) show << view.menuName.toString() + u' ' + view.menuCaption.toString();
    show << u"N10 -"_s << u"Graph2 ３Ｄグラフ...(&3) Ctrl+G"_s << u"Show3DGraph 起動時に3Dグラフ表示 [ ]"_s
         << u"Calendar1 練習カレンダー(&K) Ctrl+Y"_s << u"Progress1 進歩グラフ(&P) Ctrl+P"_s << u"N8 -"_s
         << u"Font2 ﾌｫﾝﾄの変更...(&F) Ctrl+F"_s
         << u"Color1 背景色の変更(&O) {Col1 ｶﾗｰﾘｽﾄから選択...(&L) Ctrl+B, Col2 ｺﾓﾝﾀﾞｲｱﾛｸﾞから選択...(&C)}"_s
         << u"GraphChar グラフ表示キャラクタ...(&C)"_s << u"Recent1 表示回数の制限...(&R) Ctrl+L"_s;
    QTest::newRow("表示") << u"Show1"_s << show;
    QTest::newRow("実行") << u"Run1"_s
                          << QStringList{u"MenuA &A（英字） Ctrl+A"_s,
                                         u"MenuK &K（カナ） Ctrl+K"_s,
                                         u"MenuR &R（ローマ字） Ctrl+R"_s,
                                         u"MenuE &!（記号） Ctrl+E"_s,
                                         u"N1 -"_s,
                                         u"Day1 日平均(&D)"_s,
                                         u"Week1 週平均(&W)"_s,
                                         u"Month1 月平均(&M)"_s,
                                         u"Year1 年平均(&Y)"_s,
                                         u"AverCfg1 平均の条件設定(&C)"_s,
                                         u"N9 -"_s,
                                         u"ReCalc1 再計算(&R)"_s};
    QTest::newRow("ｵﾌﾟｼｮﾝ") << u"Option1"_s
                            << QStringList{u"Hint1 ヒント表示の有無(&H) Ctrl+H [ ]"_s,
                                           u"AutoReload1 自動再読み込み(&A) [ ]"_s,
                                           u"N7 -"_s,
                                           u"Nomiss1 ノーミスのみ(&N) Ctrl+N [ ]"_s,
                                           u"Level1 レベルアップのみ(&U) Ctrl+U [ ]"_s,
                                           u"N6 -"_s,
                                           u"KM1 お祝いの設定...(&O) Ctrl+O"_s,
                                           u"Era1 集計の開始日...(&E)"_s};
    QTest::newRow("ﾍﾙﾌﾟ") << u"Help1"_s
                          << QStringList{u"Help2 ヘルプ(&H) F1"_s, u"KK1 キーワードで検索(&K)"_s, u"N5 -"_s,
                                         u"Version1 バージョン情報...(&V) Ctrl+V"_s};
  }
  void theMenusListTheirItemsAsEver() {
    QFETCH(QString, menu);
    QFETCH(QStringList, items);
    const auto window = start({dir->file(u"typist.ｷﾛｸ"_s)});
    const auto* found = window->findChild<QMenu*>(menu);
    QVERIFY2(found, qPrintable(menu));
    QCOMPARE(itemsOf(found), items);
    QStringList bar;
    for (const QAction* action : window->menuBar()->actions()) bar << action->menu()->objectName();
    QCOMPARE(bar, (QStringList{u"File1"_s, u"Edit1"_s, u"Show1"_s, u"Run1"_s, u"Option1"_s, u"Help1"_s}));
  }

  // The tool bar's buttons in their order; the chart's item only on a tab with a chart.
  void theToolBarListsItsButtonsAsEver() {
    const auto window = start({dir->file(u"typist.ｷﾛｸ"_s)});
    QStringList buttons;
    for (QAction* action : window->findChild<QToolBar*>(u"ToolBar1"_s)->actions()) {
      const QWidget* widget = window->findChild<QToolBar*>(u"ToolBar1"_s)->widgetForAction(action);
      buttons << (action->isSeparator() ? u"-"_s : widget ? widget->objectName() : action->objectName());
    }
    QCOMPARE(buttons, (QStringList{u"plRecFile"_s, u"-"_s, u"ButtonA"_s, u"ButtonK"_s, u"ButtonR"_s, u"ButtonE"_s,
                                   u"-"_s, u"GraphButton"_s, u"CalendarButton"_s, u"CopyButton"_s, u"DirButton"_s,
                                   u"FontButton"_s, u"-"_s, u"ExitButton"_s, u"lblEra"_s}));
    auto* pages = window->findChild<QTabWidget*>(u"PageControl1"_s);
    for (int tab = 0; tab < ViewCount; ++tab) {
      pages->setCurrentIndex(tab);
      QCOMPARE(window->findChild<QAction*>(u"Graph2"_s)->isVisible(), viewInfo(tab).charted());
      QVERIFY(window->findChild<QToolButton*>(u"CalendarButton"_s)->isEnabled());
    }
  }

  // A feature's window is updated on each change it declares, once, and only while it is open.
  void anOpenWindowFollowsTheChangesDeclared() {
    SettingsFile settings(settingsPath());
    SilentFeedback feedback;
    ViewerSession session(settings, feedback);
    session.setRecordFile(dir->path() + u'/', u"typist.ｷﾛｸ"_s);
    FeatureHost host;
    host.session = &session;
    host.settings = &settings;
    CountingFeature eras({ViewerSession::Change::Era});
    CountingFeature all({ViewerSession::Change::Load, ViewerSession::Change::Reload, ViewerSession::Change::Mode,
                         ViewerSession::Change::NoMiss, ViewerSession::Change::Era});
    session.load();  // before the windows are made: nothing to update
    eras.open(host);
    all.open(host);
    session.selectMode(ModeRomaji);
    session.load();
    session.reload(ViewerCore::Reload::Appended, QDate::currentDate());
    session.changeSettings([](ViewSettings& s) { s.noMiss = true; });
    session.changeSettings([](ViewSettings& s) { s.rankCount = 3; });  // followed by none
    session.setEra(QDate(2024, 1, 1), QDate());
    QCOMPARE(eras.updates, 1);
    QCOMPARE(all.updates, 5);
    all.window->hide();  // a closed window waits until it is opened again
    session.setEra(QDate(), QDate());
    QCOMPARE(eras.updates, 2);
    QCOMPARE(all.updates, 5);
  }
};

QTEST_MAIN(FeatureMenusTest)
#include "FeatureMenusTest.moc"
