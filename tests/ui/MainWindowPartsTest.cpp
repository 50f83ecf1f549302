// The parts the main window is made of, each alone: its panes as the passes
// fill them (ViewPanes) and its watch over keys and hints (KeyAndHintFilter).
#include <QAction>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QtTest>

#include <memory>

#include "ui/HelpSystem.h"
#include "ui/KeyAndHintFilter.h"
#include "ui/ViewPanes.h"

using namespace Qt::StringLiterals;

namespace {

QStringList numberedLines(int count) {
  QStringList lines;
  for (int i = 0; i < count; ++i) lines << u"line %1 "_s.arg(i) + QString(200, u'x');
  return lines;
}

QPoint scrollOf(const QPlainTextEdit* pane) {
  return {pane->horizontalScrollBar()->value(), pane->verticalScrollBar()->value()};
}

}  // namespace

class MainWindowPartsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QWidget> page;
  std::array<QPlainTextEdit*, ViewCount> memos{};
  std::unique_ptr<ViewPanes> panes;

 private Q_SLOTS:
  void init() {
    page = std::make_unique<QWidget>();
    for (QPlainTextEdit*& memo : memos) {
      memo = new QPlainTextEdit(page.get());
      memo->setLineWrapMode(QPlainTextEdit::NoWrap);
      memo->resize(200, 100);
    }
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page.get()));
    panes = std::make_unique<ViewPanes>(memos);
  }
  void cleanup() {
    panes.reset();
    page.reset();
  }

  // A live reload fills a pane again where the user left it; a load from the top.
  void aPaneIsFilledAgainWhereItWasLeft_data() {
    QTest::addColumn<bool>("kept");
    QTest::addColumn<bool>("forgotten");
    QTest::newRow("kept") << true << false;
    QTest::newRow("kept, then forgotten") << true << true;
    QTest::newRow("not kept") << false << false;
  }
  void aPaneIsFilledAgainWhereItWasLeft() {
    QFETCH(bool, kept);
    QFETCH(bool, forgotten);
    for (View view : {ViewHistory, ViewBest}) {
      panes->fill(view, numberedLines(300));
      memos[view]->verticalScrollBar()->setValue(120);
      memos[view]->horizontalScrollBar()->setValue(30);
    }
    if (kept) panes->keepScrolls();
    if (forgotten) panes->forgetScrolls();
    for (View view : {ViewHistory, ViewBest}) {
      panes->fill(view, numberedLines(400));  // a fill starts at the top of its text
      QCOMPARE(scrollOf(memos[view]), kept && !forgotten ? QPoint(30, 120) : QPoint(0, 0));
    }
    // Kept once: the fill after that shows the top again.
    panes->fill(ViewHistory, numberedLines(400));
    QCOMPARE(scrollOf(memos[ViewHistory]), QPoint(0, 0));
  }

  // The place kept is the first one until it is used: a second reload before
  // the pane is shown again does not take the top it was left at meanwhile.
  void aKeptPlaceIsNotTakenAgainUntilUsed() {
    panes->fill(ViewGraph, numberedLines(300));
    memos[ViewGraph]->verticalScrollBar()->setValue(50);
    panes->keepScrolls();
    memos[ViewGraph]->verticalScrollBar()->setValue(0);
    panes->keepScrolls();
    panes->fill(ViewGraph, numberedLines(300));
    QCOMPARE(scrollOf(memos[ViewGraph]).y(), 50);
  }

  // An empty pane keeps nothing; clearing empties every pane; the text is the whole text.
  void emptyPanesAndTheirText() {
    panes->keepScrolls();
    panes->fill(ViewAverage, numberedLines(300));
    QCOMPARE(scrollOf(memos[ViewAverage]), QPoint(0, 0));
    QVERIFY(!panes->isEmpty(ViewAverage));
    QVERIFY(panes->isEmpty(ViewMiss));
    QCOMPARE(panes->text(ViewAverage).split(u'\n').size(), 300);
    panes->clear();
    for (View view : {ViewHistory, ViewGraph, ViewAverage, ViewMiss, ViewBest}) QVERIFY(panes->isEmpty(view));
  }

  // Hints only while the option is on; a widget without a hint is left to Qt.
  void hintsFollowTheOption_data() {
    QTest::addColumn<bool>("hintsOn");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<bool>("taken");
    QTest::newRow("off, with a hint") << false << u"ヒント"_s << true;
    QTest::newRow("off, without") << false << QString() << true;
    QTest::newRow("on, with a hint") << true << u"ヒント"_s << true;
    QTest::newRow("on, without") << true << QString() << false;
  }
  void hintsFollowTheOption() {
    QFETCH(bool, hintsOn);
    QFETCH(QString, hint);
    QFETCH(bool, taken);
    QWidget window;
    QAction option(&window);
    option.setCheckable(true);
    option.setChecked(hintsOn);
    KeyAndHintFilter filter(&window, &option, {}, nullptr);
    auto* control = new QWidget(&window);
    control->setToolTip(hint);
    QHelpEvent event(QEvent::ToolTip, QPoint(1, 1), QPoint(1, 1));
    QCOMPARE(filter.eventFilter(control, &event), taken);
  }

  // The menus' keys come first in the main window only, and only theirs.
  void menuKeysComeFirstInTheMainWindow_data() {
    QTest::addColumn<bool>("inMainWindow");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("taken");
    QTest::newRow("Ctrl+C in the main window") << true << int(Qt::Key_C) << true;
    QTest::newRow("Ctrl+A in the main window") << true << int(Qt::Key_A) << true;
    QTest::newRow("Ctrl+Z in the main window") << true << int(Qt::Key_Z) << false;
    QTest::newRow("Ctrl+C in another window") << false << int(Qt::Key_C) << false;
  }
  void menuKeysComeFirstInTheMainWindow() {
    QFETCH(bool, inMainWindow);
    QFETCH(int, key);
    QFETCH(bool, taken);
    QWidget window;
    QWidget other;
    QAction option(&window);
    KeyAndHintFilter filter(&window, &option, {u"Ctrl+C"_s, u"Ctrl+A"_s}, nullptr);
    auto* spinBox = new QWidget(inMainWindow ? &window : &other);
    QKeyEvent event(QEvent::ShortcutOverride, key, Qt::ControlModifier);
    event.accept();
    QCOMPARE(filter.eventFilter(spinBox, &event), taken);
    QCOMPARE(event.isAccepted(), !taken);  // ignored: the shortcut, not the control, takes the key
  }

  // F1 in a window of its own with a help page opens that page; elsewhere it is left alone.
  void f1OpensTheHelpPageOfAWindowOfItsOwn_data() {
    QTest::addColumn<int>("topic");  // the window's; 0: none
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("taken");
    QTest::newRow("the calendar") << 16000 << int(Qt::NoModifier) << true;
    QTest::newRow("no page") << 0 << int(Qt::NoModifier) << false;
    QTest::newRow("Shift+F1") << 16000 << int(Qt::ShiftModifier) << false;
  }
  void f1OpensTheHelpPageOfAWindowOfItsOwn() {
    QFETCH(int, topic);
    QFETCH(int, modifiers);
    QFETCH(bool, taken);
    QWidget window;
    QWidget side;
    if (topic) side.setProperty("helpContext", topic);
    QAction option(&window);
    HelpSystem help(u"Hoko32.hlp"_s, &window);
    KeyAndHintFilter filter(&window, &option, {}, &help);
    QKeyEvent event(QEvent::KeyPress, Qt::Key_F1, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(filter.eventFilter(&side, &event), taken);
    QKeyEvent inMain(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QVERIFY(!filter.eventFilter(&window, &inMain));  // the main window's own F1: its contents
    if (taken) help.window()->close();
  }
};

QTEST_MAIN(MainWindowPartsTest)
#include "MainWindowPartsTest.moc"
