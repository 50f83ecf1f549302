// The celebration as a feature of the main window, without the window: its
// values of the main options, its settings dialog and the banner it shows for
// a record.
#include <QLineEdit>
#include <QtTest>

#include <memory>

#include "celebration/CelebrationFeature.h"
#include "celebration/TfrmOiwai.h"
#include "celebration/TfrmOiwaiCfg.h"
#include "settings/SettingsFile.h"
#include "support/ModalDialogs.h"
#include "support/TempDir.h"
#include "ui/SettingsColors.h"

using namespace Qt::StringLiterals;

class CelebrationFeatureTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TempDir> dir;
  std::unique_ptr<SettingsFile> settings;
  std::unique_ptr<QWidget> window;
  std::unique_ptr<QWidget> loading;
  int saves = 0;
  QStringList shown;  // what the host was asked to show: "error: ..." or "message: ..."

  FeatureHost host() {
    FeatureHost h;
    h.window = window.get();
    h.settings = settings.get();
    h.reportError = [this](QWidget*, const QString& text) { shown << u"error: "_s + text; };
    h.showMessage = [this](QWidget*, const QString& text) { shown << u"message: "_s + text; };
    h.saveSettings = [this] { ++saves; };
    h.loadingWindow = loading.get();
    return h;
  }
  MainOptions options(const QString& message, const QString& font, int size, SettingsColor color) const {
    MainOptions o = MainOptions::defaults({1024, 768, dir->path() + u'/'});
    o.fanfare = dir->file(u"fanfare.mid"_s);
    o.oiwaiMessage = message;
    o.oiwaiFontName = font;
    o.oiwaiFontSize = size;
    o.oiwaiFontColor = color;
    return o;
  }

 private Q_SLOTS:
  void init() {
    dir = std::make_unique<TempDir>();
    settings = std::make_unique<SettingsFile>(dir->file(u"hoko32.ini"_s));
    window = std::make_unique<QWidget>();
    loading = std::make_unique<QWidget>();
    saves = 0;
    shown.clear();
  }

  // What the options hold comes back unchanged; a size below 1 is taken as 1.
  void takesAndGivesBackItsOptions_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("font");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("storedSize");
    QTest::addColumn<int>("rgb");
    QTest::newRow("defaults") << u"＼(^o^)／＼(^O^)／"_s << u"ＭＳ Ｐゴシック"_s << 28 << 28 << 0xFFFFFF;
    QTest::newRow("small, red") << u"!"_s << u"Sans"_s << 1 << 1 << 0x0000FF;
    QTest::newRow("size zero") << u"0"_s << u"Serif"_s << 0 << 1 << 0x000000;
    QTest::newRow("empty message") << QString() << u"Monospace"_s << 72 << 72 << 0x00FF00;
  }
  void takesAndGivesBackItsOptions() {
    QFETCH(QString, message);
    QFETCH(QString, font);
    QFETCH(int, size);
    QFETCH(int, storedSize);
    QFETCH(int, rgb);
    CelebrationFeature feature(dir->path() + u'/', dir->path());
    const MainOptions given = options(message, font, size, SettingsColor(rgb));
    feature.applyOptions(given, SettingsColors::resolve);
    MainOptions back;
    feature.storeOptions(back, SettingsColors::of);
    QCOMPARE(back.fanfare, given.fanfare);
    QCOMPARE(back.oiwaiMessage, message);
    QCOMPARE(back.oiwaiFontName, font);
    QCOMPARE(back.oiwaiFontSize, storedSize);
    QCOMPARE(back.oiwaiFontColor, SettingsColor(SettingsColor(rgb)));
    QCOMPARE(back.hint, MainOptions().hint);  // nothing else of the options is its own
  }

  // The dialog shows the values held; OK keeps the edited ones and saves, Cancel neither.
  void itsDialogKeepsAndSavesOnOkOnly_data() {
    QTest::addColumn<bool>("ok");
    QTest::newRow("OK") << true;
    QTest::newRow("Cancel") << false;
  }
  void itsDialogKeepsAndSavesOnOkOnly() {
    QFETCH(bool, ok);
    CelebrationFeature feature(dir->path() + u'/', dir->path());
    feature.applyOptions(options(u"前の"_s, u"Sans"_s, 20, SettingsColor(0xFF0000)), SettingsColors::resolve);
    QString offered;
    onNextModal<TfrmOiwaiCfg>([&](TfrmOiwaiCfg* dialog) {
      offered = dialog->Edit1->text();
      QCOMPARE(dialog->parentWidget(), window.get());
      dialog->Edit1->setText(u"次の"_s);
      ok ? dialog->accept() : dialog->reject();
    });
    feature.open(host());
    QCOMPARE(offered, u"前の"_s);
    QCOMPARE(saves, ok ? 1 : 0);
    MainOptions back;
    feature.storeOptions(back, SettingsColors::of);
    QCOMPARE(back.oiwaiMessage, ok ? u"次の"_s : u"前の"_s);
    QCOMPARE(back.oiwaiFontName, u"Sans"_s);
  }

  // The banner names the record and shows the message and font held, over a hidden loading window.
  void celebratesWithItsValues() {
    CelebrationFeature feature(dir->path() + u'/', dir->path());
    feature.applyOptions(options(u"おめでとう"_s, u"Serif"_s, 24, SettingsColor(0x00FF00)), SettingsColors::resolve);
    loading->show();
    QString record, message, family;
    int size = 0;
    QColor colour;
    bool loadingShown = true;
    onNextModal<TfrmOiwai>([&](TfrmOiwai* banner) {
      record = banner->RecordLine;
      message = banner->MessageLine;
      family = banner->bannerFont.family();
      size = banner->bannerFont.pointSize();
      colour = banner->bannerFontColor;
      loadingShown = loading->isVisible();
      banner->reject();
    });
    feature.celebrate(host(), u"ローマ字"_s, 416);
    QCOMPARE(record, celebration::BannerAnimation::recordLineText(u"ローマ字"_s, 416));
    QCOMPARE(message, u"おめでとう"_s);
    QCOMPARE(family, u"Serif"_s);
    QCOMPARE(size, 24);
    QCOMPARE(colour, QColor(0, 0xFF, 0));
    QVERIFY(!loadingShown);
  }
};

QTEST_MAIN(CelebrationFeatureTest)
#include "CelebrationFeatureTest.moc"
