// The celebration banner window, offscreen: what it shows, how it closes and
// what it keeps for the next banner.
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include <memory>

#include "celebration/TfrmOiwai.h"
#include "settings/SettingsFile.h"
#include "support/TempDir.h"
#include "ui/BannerPictures.h"
#include "ui/MessageBoxes.h"

using namespace Qt::StringLiterals;

class BannerWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TempDir> dir;
  std::unique_ptr<SettingsFile> settings;  // the program's, open
  QStringList messages;

  std::unique_ptr<TfrmOiwai> banner(const QString& message = u"＼(^o^)／"_s) {
    auto b = std::make_unique<TfrmOiwai>(dir->path() + u'/', *settings);
    b->RecordLine = u"祝＞新記録 ローマ字413 !!"_s;
    b->MessageLine = message;
    return b;
  }
  void storePictureNumber(int number) {
    SettingsFile settings(dir->file(u"hoko32.ini"_s));
    QVERIFY(settings.writeInteger(u"Option"_s, u"OiwaiBmpPattern"_s, number));
  }
  int storedPictureNumber() const {
    return SettingsFile(dir->file(u"hoko32.ini"_s)).readInteger(u"Option"_s, u"OiwaiBmpPattern"_s, -1);
  }

 private Q_SLOTS:
  void init() {
    qputenv("SDL_AUDIODRIVER", "dummy");
    dir = std::make_unique<TempDir>();
    settings = std::make_unique<SettingsFile>(dir->file(u"hoko32.ini"_s));
    messages.clear();
    MessageBoxes::setHandler([this](const QString& text) { messages << text; });
  }
  void cleanup() { MessageBoxes::setHandler(nullptr); }

  void sizedToTheLongerLineAndCentredOnRed() {
    auto b = banner(u"とても長いお祝いのメッセージです、おめでとうございます"_s);
    b->show();
    QVERIFY(QTest::qWaitForWindowExposed(b.get()));
    const QFontMetrics metrics(b->bannerFont);
    const QSize drawn(metrics.horizontalAdvance(b->MessageLine) + 20, 2 * metrics.height() + 30);
    QCOMPARE(b->canvas().size(), drawn);
    // The window is that size where the screen's free area holds it, else cut
    // to the area; it lies inside the area.
    const QRect area = b->screen()->availableGeometry();
    QCOMPARE_GT(drawn.width(), area.width());  // this message is wider than the test's screen
    QCOMPARE(b->size(), drawn.boundedTo(area.size()));
    QVERIFY(area.contains(b->frameGeometry()));
    QCOMPARE(b->canvas().toImage().pixelColor(1, 1), QColor(255, 0, 0));
    b->close();
  }

  void clickClosesAtOnceAndAdvancesThePicture() {
    storePictureNumber(2);
    auto b = banner();
    b->setPictureMax(5);
    b->show();
    QVERIFY(QTest::qWaitForWindowExposed(b.get()));
    QSignalSpy finished(b.get(), &QDialog::finished);
    QTest::mouseClick(b.get(), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(finished.size(), 1);
    QVERIFY(!b->isVisible());
    QCOMPARE(storedPictureNumber(), 3);
    QCOMPARE(b->reports().size(), 1);
    QCOMPARE(
        b->reports()[0].text,
        u"ファンファーレが演奏できませんでした。\nオプションの「お祝いの設定」でファンファーレファイルを選んでください。"_s);
    QVERIFY(messages.isEmpty());  // the banner's opener shows it
  }

  void storedNumbersKeepTheirLowEightBits() {
    storePictureNumber(300);
    QCOMPARE(int(banner()->animation().pictureNumber()), 44);
    storePictureNumber(0);
    auto b = banner();
    QCOMPARE(int(b->animation().pictureNumber()), 0);
    b->setPictureMax(0);
    b->show();
    b->close();
    QCOMPARE(storedPictureNumber(), 1);  // no picture files: always 1
  }

  void runsToTheEndWithThePictureFileGrownOverIt() {
    storePictureNumber(3);
    QVERIFY(BannerPictures::picture(3).save(dir->file(u"oiwai3.bmp"_s), "BMP"));  // any case
    auto b = banner();
    b->show();
    QVERIFY(QTest::qWaitForWindowExposed(b.get()));
    QSignalSpy finished(b.get(), &QDialog::finished);
    QVERIFY(finished.wait(20000));  // both phases, about six seconds
    const QImage shown = b->canvas().toImage();
    const QImage picture = BannerPictures::picture(3).scaled(shown.size());
    QCOMPARE(shown.pixelColor(shown.width() / 2, shown.height() / 2),
             picture.pixelColor(shown.width() / 2, shown.height() / 2));
    QCOMPARE(storedPictureNumber(), 4);
  }
};

QTEST_MAIN(BannerWindowTest)
#include "BannerWindowTest.moc"
