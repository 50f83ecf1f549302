// The side windows' shell, offscreen: where the calendar, the progress chart
// and the 3D chart go on the screen, what they keep of their place and size
// in the settings file and read back, the error shown when it cannot be
// written; and the shell itself on a window of its own kind: the options it
// hands back, when, and its kind of window.
#include <QScreen>
#include <QTest>

#include <functional>
#include <memory>
#include <vector>

#include "calendar/PracticeCalendarWindow.h"
#include "chart3d/Tfrm3DGraph.h"
#include "progress/ProgressWindow.h"
#include "settings/SettingsFile.h"
#include "support/TempDir.h"
#include "ui/FontNames.h"
#include "widgets/SideWindow.h"
#include "widgets/WindowPlacement.h"

using namespace Qt::StringLiterals;

namespace {

// What a window of the test's own kind keeps: its place and size and a word.
struct NoteOptions {
  int left = -1;
  int top = -1;
  int width = 0;
  int height = 0;
  QString note;
};

class NoteWindow : public SideWindowOf<NoteOptions> {
 public:
  NoteWindow(Opening opening, const NoteOptions& stored, OptionsSaver saver, ErrorReporter reporter = {},
             QWidget* parent = nullptr)
      : SideWindowOf(opening, stored, std::move(saver), 4711, std::move(reporter), parent), note(stored.note) {}
  QString note;
  using SideWindow::keep;
  using SideWindow::placeAtStoredPlace;

 protected:
  NoteOptions ownOptions() const override { return {-7, -7, -7, -7, note}; }  // the place and size are not read
  QSize firstSize(const WindowPlacement::Surroundings&) override { return {333, 222}; }
};

// The three side windows, made on a settings file as the main window makes them.
struct Kind {
  const char* name;
  QString section;  // where the place and size are kept
  std::function<std::unique_ptr<SideWindow>(SettingsFile*, QWidget*, SideWindow::ErrorReporter)> make;
};

std::vector<Kind> kinds() {
  return {
      {"calendar", u"Calendar"_s,
       [](SettingsFile* settings, QWidget* parent, SideWindow::ErrorReporter reporter) {
         return std::make_unique<PracticeCalendarWindow>(settings, parent, std::move(reporter));
       }},
      {"progress chart", u"Progress"_s,
       [](SettingsFile* settings, QWidget* parent, SideWindow::ErrorReporter reporter) {
         return std::make_unique<ProgressWindow>(settings, parent, std::move(reporter));
       }},
      {"3D chart", u"ChartForm"_s,
       [](SettingsFile* settings, QWidget* parent, SideWindow::ErrorReporter reporter) {
         return std::make_unique<Tfrm3DGraph>(settings, ChartInput{}, parent, std::move(reporter));
       }},
  };
}

}  // namespace

class SideWindowTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TempDir> dir;
  QStringList reported;
  QList<QWidget*> reportedOver;  // the parent of each message reported
  QWidget main;                  // the main window the side windows open beside

  QString settingsPath() const { return dir->file(u"hoko32.ini"_s); }
  SideWindow::ErrorReporter reporter() {
    return [this](QWidget* parent, const QString& text) {
      reported << text;
      reportedOver << parent;
    };
  }
  static void store(SettingsFile& settings, const QString& section, int left, int top, int width, int height) {
    QVERIFY(settings.writeInteger(section, u"Left"_s, left) && settings.writeInteger(section, u"Top"_s, top) &&
            settings.writeInteger(section, u"Width"_s, width) && settings.writeInteger(section, u"Height"_s, height));
  }

 private Q_SLOTS:
  void initTestCase() {
    FontNames::installSubstitutions();
    main.setGeometry(60, 50, 300, 200);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
  }
  void init() {
    dir = std::make_unique<TempDir>();
    reported.clear();
    reportedOver.clear();
  }

  // A stored place and size from a larger screen come back inside this one:
  // the size kept where it fits, else the screen's; the place moved in. The
  // frame is taken to be the main window's.
  void aStoredPlaceOffTheScreenIsFittedOnIt() {
    const QMargins frame = WindowPlacement::frameMarginsOf(&main);
    const QRect area = main.screen()->availableGeometry();
    const struct {
      int left, top, width, height;
      QRect expected;  // the client area on the screen
    } cases[] = {
        {area.right() - 100, area.bottom() - 50, 500, 300,
         QRect(area.right() + 1 - 500 - frame.left() - frame.right(),
               area.bottom() + 1 - 300 - frame.top() - frame.bottom(), 500, 300)
             .translated(frame.left(), frame.top())},
        {50, 40, area.width() + 300, area.height() + 200, area.marginsRemoved(frame)},
    };
    for (const Kind& kind : kinds())
      for (const auto& c : cases) {
        SettingsFile settings(settingsPath());
        store(settings, kind.section, c.left, c.top, c.width, c.height);
        auto window = kind.make(&settings, &main, reporter());
        window->show();
        QVERIFY2(QTest::qWaitForWindowExposed(window.get()), kind.name);
        QVERIFY2(window->geometry() == c.expected, kind.name);
        QVERIFY2(area.contains(window->frameGeometry()), kind.name);
        window->close();
      }
    QCOMPARE(reported, QStringList());
  }

  // Closing keeps the place and size in the window's section; the next
  // opening reads them back.
  void closingKeepsThePlaceAndSizeForTheNextOpening() {
    for (const Kind& kind : kinds()) {
      SettingsFile settings(settingsPath());
      store(settings, kind.section, 50, 40, 500, 300);
      auto window = kind.make(&settings, &main, reporter());
      window->show();
      QVERIFY2(window->size() == QSize(500, 300), kind.name);
      QVERIFY2(window->frameGeometry().topLeft() == QPoint(50, 40), kind.name);
      window->resize(520, 310);
      window->move(window->pos() + QPoint(7, 9));
      const QPoint at = window->frameGeometry().topLeft();
      QVERIFY2(window->close(), kind.name);
      QVERIFY2(!window->isVisible(), kind.name);
      const SettingsFile written(settingsPath());
      QVERIFY2(written.readInteger(kind.section, u"Width"_s, -1) == 520, kind.name);
      QVERIFY2(written.readInteger(kind.section, u"Height"_s, -1) == 310, kind.name);
      QVERIFY2(written.readInteger(kind.section, u"Left"_s, -1) == at.x(), kind.name);
      QVERIFY2(written.readInteger(kind.section, u"Top"_s, -1) == at.y(), kind.name);

      SettingsFile reread(settingsPath());
      auto again = kind.make(&reread, &main, reporter());
      again->show();
      QVERIFY2(again->size() == QSize(520, 310), kind.name);
      QVERIFY2(again->frameGeometry().topLeft() == at, kind.name);
      again->close();
    }
    QCOMPARE(reported, QStringList());
  }

  // A settings file that cannot be written: closing shows its message once,
  // through the reporter the window was given, with the window as the parent.
  void aSettingsFileThatCannotBeWrittenIsReported() {
    dir->write(u"blocker"_s, "a file where a folder should be");
    const QString blocked = dir->file(u"blocker/hoko32.ini"_s);
    for (const Kind& kind : kinds()) {
      reported.clear();
      reportedOver.clear();
      SettingsFile settings(blocked);
      auto window = kind.make(&settings, &main, reporter());
      window->show();
      window->close();
      QVERIFY2(reported == QStringList{blocked + u" に書き込めません"_s}, kind.name);
      QVERIFY2(reportedOver == QList<QWidget*>{window.get()}, kind.name);
    }
  }

  // The options handed back are the window's own with its place and size as
  // it stands; a window opened beside the main window hands them back each
  // time it is hidden, a stored one only when asked. Beside the main window it
  // is non-modal with minimise and maximise buttons, a stored one modal (F1 to
  // the topic given: HelpSystemTest).
  void theOptionsHandedBackAndTheKindOfWindow() {
    std::vector<NoteOptions> kept;
    const auto saver = [&kept](const NoteOptions& options) -> std::optional<QString> {
      kept.push_back(options);
      return std::nullopt;
    };
    NoteWindow beside(SideWindow::Opening::Beside, {-1, -1, 0, 0, u"kept"_s}, saver, {}, &main);
    beside.show();
    QVERIFY(!beside.isModal());
    QVERIFY(beside.windowFlags().testFlags(Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    QVERIFY(!beside.windowFlags().testFlag(Qt::WindowContextHelpButtonHint));
    QCOMPARE(beside.size(), QSize(333, 222));  // its own first size, right of the main window
    QCOMPARE(beside.frameGeometry().topLeft(), QPoint(main.frameGeometry().right() + 1, main.frameGeometry().top()));
    beside.move(beside.pos() + QPoint(5, 5));
    beside.note = u"changed"_s;
    const NoteOptions now = beside.options();
    QCOMPARE(QRect(now.left, now.top, now.width, now.height), QRect(beside.frameGeometry().topLeft(), beside.size()));
    QCOMPARE(now.note, u"changed"_s);
    beside.hide();
    beside.show();
    beside.hide();
    QCOMPARE(kept.size(), std::size_t(2));
    QCOMPARE(kept.back().note, u"changed"_s);
    QCOMPARE(kept.back().width, 333);

    kept.clear();
    NoteWindow stored(SideWindow::Opening::Stored, {70, 80, 400, 300, {}}, saver, {}, &main);
    stored.placeAtStoredPlace();
    stored.show();
    QVERIFY(stored.isModal());
    QCOMPARE(stored.size(), QSize(400, 300));
    stored.hide();
    QVERIFY(kept.empty());
    stored.keep();
    QCOMPARE(kept.size(), std::size_t(1));
    QCOMPARE(kept.front().left, stored.frameGeometry().left());

    // Without a saver nothing is kept and nothing reported.
    NoteWindow unsaved(SideWindow::Opening::Beside, {}, {}, reporter(), &main);
    unsaved.show();
    unsaved.hide();
    QCOMPARE(reported, QStringList());
  }
};

QTEST_MAIN(SideWindowTest)
#include "SideWindowTest.moc"
