// The celebration settings dialog as the user meets it: shown offscreen, its
// choosers driven as they open, its message boxes routed to a list.
#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>

#include <functional>

#include "celebration/TfrmOiwaiCfg.h"
#include "support/ModalDialogs.h"
#include "support/TempDir.h"
#include "ui/FontNames.h"
#include "ui/MessageBoxes.h"
#include "widgets/FontDialog.h"

using namespace Qt::StringLiterals;

namespace {

QFont fontOf(const QString& family, int pointSize, bool bold = false, bool italic = false) {
  QFont font(family);
  font.setPointSize(pointSize);
  font.setBold(bold);
  font.setItalic(italic);
  return font;
}

// A mono 16-bit WAV of `seconds` of a quiet tone.
QByteArray waveFile(int seconds) {
  const quint32 rate = 22050;
  QByteArray samples;
  for (quint32 i = 0; i < rate * seconds; ++i) {
    const qint16 value = (i / 50) % 2 ? 800 : -800;
    samples.append(char(value & 0xFF)).append(char((value >> 8) & 0xFF));
  }
  auto u32 = [](quint32 v) {
    QByteArray bytes;
    for (int shift = 0; shift < 32; shift += 8) bytes.append(char((v >> shift) & 0xFF));
    return bytes;
  };
  auto u16 = [](quint16 v) { return QByteArray().append(char(v & 0xFF)).append(char(v >> 8)); };
  return "RIFF" + u32(36 + quint32(samples.size())) + "WAVE" + "fmt " + u32(16) + u16(1) + u16(1) + u32(rate) +
         u32(rate * 2) + u16(2) + u16(16) + "data" + u32(quint32(samples.size())) + samples;
}

bool showsColour(QWidget* widget, const QColor& colour) {
  const QImage image = widget->grab().toImage();
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y).rgb() == colour.rgb()) return true;
  return false;
}

// What the font dialog offers: the family chosen in its list.
QString familyOffered(FontDialog* chooser) {
  const QListWidgetItem* item = chooser->findChild<QListWidget*>(u"familyList"_s)->currentItem();
  return item ? item->text() : QString();
}

// Chooses in the font dialog as the user does: a family of its list, regular or
// bold, a size.
void choose(FontDialog* chooser, const QString& family, int pointSize, bool bold) {
  auto* families = chooser->findChild<QListWidget*>(u"familyList"_s);
  const QList<QListWidgetItem*> found = families->findItems(family, Qt::MatchFixedString);
  QVERIFY2(!found.isEmpty(), qPrintable(family + u" is not offered"_s));
  families->setCurrentItem(found.first());
  chooser->findChild<QListWidget*>(u"styleList"_s)->setCurrentRow(bold ? 2 : 0);  // 標準, 斜体, 太字
  chooser->findChild<QSpinBox*>(u"sizeBox"_s)->setValue(pointSize);
}

const QFont StoredFont = fontOf(u"IPAMincho"_s, 24, false, true);
const QColor StoredColour(0, 128, 0);

}  // namespace

class OiwaiCfgTest : public QObject {
  Q_OBJECT

  QStringList messages_;

  // The dialog's reports, kept for the test to read.
  CelebrationReporter recorder() {
    return [this](QWidget*, const CelebrationReport& report) { messages_ << report.text; };
  }

 private Q_SLOTS:
  void initTestCase() {
    qputenv("SDL_AUDIODRIVER", "dummy");  // before the first sound opens the audio
    FontNames::installSubstitutions();
    MessageBoxes::setHandler([this](const QString& text) { messages_ << text; });
  }
  void init() { messages_.clear(); }
  void cleanupTestCase() { MessageBoxes::setHandler({}); }

  void layoutAndCaptions() {
    TfrmOiwaiCfg dialog;
    dialog.setReporter(recorder());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.windowTitle(), u"お祝いのカスタマイズ"_s);
    QCOMPARE(dialog.size(), QSize(310, 180));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QCOMPARE(dialog.font().pixelSize(), 13);
    const QRect screen = dialog.screen()->availableGeometry();
    QVERIFY2((dialog.frameGeometry().center() - screen.center()).manhattanLength() <= 2, "not centred");

    const QList<QPair<QWidget*, QPoint>> positions{
        {dialog.Label5, {8, 8}},     {dialog.edSound, {8, 24}},   {dialog.btRef, {256, 24}},
        {dialog.btTest, {8, 48}},    {dialog.Label1, {8, 80}},    {dialog.Edit1, {8, 96}},
        {dialog.btnFont, {256, 95}}, {dialog.Label2, {6, 121}},   {dialog.Label3, {165, 121}},
        {dialog.BitBtn1, {81, 143}}, {dialog.BitBtn2, {170, 143}}};
    for (const auto& [widget, at] : positions) {
      QCOMPARE(widget->pos(), at);
      QVERIFY2(dialog.rect().contains(widget->geometry()), qPrintable(widget->objectName()));
    }
    QCOMPARE(dialog.edSound->width(), 241);
    QCOMPARE(dialog.Edit1->width(), 244);
    QCOMPARE(dialog.Label5->text(), u"ファンファーレのサウンドファイル"_s);
    QCOMPARE(dialog.Label1->text(), u"お祝いメッセージ"_s);
    QCOMPARE(dialog.btRef->text(), u"参照"_s);
    QCOMPARE(dialog.btTest->text(), u"テスト"_s);
    QCOMPARE(dialog.btnFont->text(), u"Font"_s);
    QCOMPARE(dialog.BitBtn1->text(), u"OK"_s);

    // Tab order: the fields and buttons top to bottom, the labels never.
    QList<QWidget*> order;
    QWidget* at = dialog.edSound;
    do {
      if (at->focusPolicy() & Qt::TabFocus && at->isVisible() && at->window() == &dialog) order << at;
      at = at->nextInFocusChain();
    } while (at != dialog.edSound);
    QCOMPARE(order, (QList<QWidget*>{dialog.edSound, dialog.btRef, dialog.btTest, dialog.Edit1, dialog.btnFont,
                                     dialog.BitBtn1, dialog.BitBtn2}));
  }

  // setValues fills the fields, the labels and Edit1's look; the dialog made
  // once shows the given values at every showing, whatever was typed before.
  void showsTheGivenValuesEachTime() {
    TfrmOiwaiCfg dialog;
    dialog.setReporter(recorder());
    dialog.setValues(u"/sounds/a.mid"_s, u"おめでとう"_s, StoredFont, StoredColour);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.edSound->text(), u"/sounds/a.mid"_s);
    QCOMPARE(dialog.Edit1->text(), u"おめでとう"_s);
    QCOMPARE(dialog.Label2->text(), u"IPAMincho"_s);
    QCOMPARE(dialog.Label3->text(), u"24point"_s);
    QCOMPARE(dialog.Label3->width(), dialog.Label3->sizeHint().width());  // the whole text fits

    const QFont shown = dialog.Edit1->font();
    QCOMPARE(shown.family(), u"IPAMincho"_s);
    QVERIFY(shown.italic());
    QVERIFY(!shown.bold());
    QCOMPARE(shown.pixelSize(), 13);
    QCOMPARE(dialog.Edit1->palette().color(QPalette::Base), QColor(Qt::red));
    QCOMPARE(dialog.Edit1->palette().color(QPalette::Text), StoredColour);
    dialog.Edit1->setText(u"■■■■"_s);
    const QImage look = dialog.Edit1->grab().toImage();
    QCOMPARE(look.pixelColor(dialog.Edit1->width() - 6, dialog.Edit1->height() / 2), QColor(Qt::red));
    QVERIFY2(showsColour(dialog.Edit1, StoredColour), "the message is not drawn in the font's colour");

    // The user edits, cancels; the next showing gets other values.
    QTest::keyClicks(dialog.edSound, u"x"_s);
    QTest::mouseClick(dialog.BitBtn2, Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    const QFont other = fontOf(u"DejaVu Sans"_s, 10, true);
    dialog.setValues(QString(), u"次"_s, other, Qt::blue);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.edSound->text(), QString());
    QCOMPARE(dialog.Edit1->text(), u"次"_s);
    QCOMPARE(dialog.Label2->text(), u"DejaVu Sans"_s);
    QCOMPARE(dialog.Label3->text(), u"10point"_s);
    QVERIFY(dialog.Edit1->font().bold());
    QVERIFY(!dialog.Edit1->font().italic());
    QCOMPARE(dialog.Edit1->font().pixelSize(), 13);
    QCOMPARE(dialog.Edit1->palette().color(QPalette::Text), QColor(Qt::blue));
    QCOMPARE(dialog.pendingFont(), other);
  }

  // The font button opens the program's own font dialog (Qt's crashes on Wine
  // with the Japanese fonts) on every installed family, proportional ones
  // too; its colour button asks for the colour.
  void choosingTheFont_data() {
    QTest::addColumn<bool>("confirmFont");
    QTest::addColumn<bool>("confirmColour");
    QTest::newRow("font and colour") << true << true;
    QTest::newRow("font, colour cancelled") << true << false;
    QTest::newRow("font cancelled") << false << true;
  }
  void choosingTheFont() {
    QFETCH(bool, confirmFont);
    QFETCH(bool, confirmColour);
    TfrmOiwaiCfg dialog;
    dialog.setReporter(recorder());
    dialog.setValues(u"a.mid"_s, u"祝"_s, StoredFont, StoredColour);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QString offered;
    int sizeShown = 0;
    bool proportionalOffered = false;
    bool colourAsked = false;
    QColor colourOffered;
    onNextModal<FontDialog>([&](FontDialog* chooser) {
      offered = familyOffered(chooser);
      sizeShown = chooser->findChild<QSpinBox*>(u"sizeBox"_s)->value();
      proportionalOffered = !chooser->findChild<QListWidget*>(u"familyList"_s)
                                 ->findItems(u"DejaVu Serif"_s, Qt::MatchFixedString)
                                 .isEmpty();
      choose(chooser, u"DejaVu Serif"_s, 20, true);
      onNextModal<QColorDialog>([&](QColorDialog* colours) {
        colourAsked = true;
        colourOffered = colours->currentColor();
        colours->setCurrentColor(QColor(200, 40, 160));
        onNextModal<FontDialog>([&](FontDialog* again) { confirmFont ? again->accept() : again->reject(); });
        confirmColour ? colours->accept() : colours->reject();
      });
      QTest::mouseClick(chooser->findChild<QPushButton*>(u"colorButton"_s), Qt::LeftButton);
    });
    QTest::mouseClick(dialog.btnFont, Qt::LeftButton);

    QCOMPARE(offered, u"IPAMincho"_s);
    QCOMPARE(sizeShown, 24);
    QVERIFY(proportionalOffered);
    QVERIFY(colourAsked);
    QCOMPARE(colourOffered, StoredColour);
    if (!confirmFont) {
      QCOMPARE(dialog.pendingFont(), StoredFont);
      QCOMPARE(dialog.pendingFontColor(), StoredColour);
      QCOMPARE(dialog.Label2->text(), u"IPAMincho"_s);
      QCOMPARE(dialog.Label3->text(), u"24point"_s);
      return;
    }
    const QColor expectedColour = confirmColour ? QColor(200, 40, 160) : StoredColour;
    QCOMPARE(dialog.pendingFont().family(), u"DejaVu Serif"_s);
    QCOMPARE(dialog.pendingFont().pointSize(), 20);
    QVERIFY(dialog.pendingFont().bold());
    QCOMPARE(dialog.pendingFontColor(), expectedColour);
    QCOMPARE(dialog.Label2->text(), u"DejaVu Serif"_s);
    QCOMPARE(dialog.Label3->text(), u"20point"_s);
    QCOMPARE(dialog.Edit1->font().family(), u"DejaVu Serif"_s);
    QVERIFY(dialog.Edit1->font().bold());
    QCOMPARE(dialog.Edit1->font().pixelSize(), 13);
    QCOMPARE(dialog.Edit1->palette().color(QPalette::Text), expectedColour);
    QCOMPARE(dialog.Edit1->palette().color(QPalette::Base), QColor(Qt::red));
  }

  // A Windows name is offered as the font standing for it; OK without a
  // change keeps the name itself.
  void aWindowsFontNameIsOfferedAsTheFontStandingForIt() {
    TfrmOiwaiCfg dialog;
    dialog.setValues(u"a.mid"_s, u"祝"_s, fontOf(u"ＭＳ ゴシック"_s, 28), Qt::white);
    QString offered;
    onNextModal<FontDialog>([&](FontDialog* chooser) {
      offered = familyOffered(chooser);
      chooser->accept();
    });
    dialog.btnFontClick();
    QCOMPARE(offered, u"IPAGothic"_s);
    QCOMPARE(dialog.pendingFont(), fontOf(u"ＭＳ ゴシック"_s, 28));
    QCOMPARE(dialog.pendingFontColor(), QColor(Qt::white));
  }

  // OK hands back what the fields hold, an empty path included; Cancel, the
  // close box and Escape close with Cancel after any change.
  void okAndCancel_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("result");
    QTest::newRow("OK") << u"ok"_s << int(QDialog::Accepted);
    QTest::newRow("Cancel") << u"cancel"_s << int(QDialog::Rejected);
    QTest::newRow("close box") << u"close"_s << int(QDialog::Rejected);
    QTest::newRow("Escape") << u"escape"_s << int(QDialog::Rejected);
  }
  void okAndCancel() {
    QFETCH(QString, how);
    QFETCH(int, result);
    TfrmOiwaiCfg dialog;
    dialog.setReporter(recorder());
    dialog.setValues(u"/old/ﾌｧﾝﾌｧｰﾚ.mid"_s, u"旧"_s, StoredFont, StoredColour);
    onNextModal<TfrmOiwaiCfg>([&](TfrmOiwaiCfg* shown) {
      onNextModal<FontDialog>([](FontDialog* chooser) {
        choose(chooser, u"DejaVu Serif"_s, 20, true);
        onNextModal<QColorDialog>([](QColorDialog* colours) {
          onNextModal<FontDialog>([](FontDialog* again) { again->accept(); });
          colours->setCurrentColor(Qt::blue);
          colours->accept();
        });
        QTest::mouseClick(chooser->findChild<QPushButton*>(u"colorButton"_s), Qt::LeftButton);
      });
      QTest::mouseClick(shown->btnFont, Qt::LeftButton);
      shown->edSound->clear();
      shown->Edit1->setText(u"新しいメッセージ"_s);
      if (how == u"ok")
        QTest::mouseClick(shown->BitBtn1, Qt::LeftButton);
      else if (how == u"cancel")
        QTest::mouseClick(shown->BitBtn2, Qt::LeftButton);
      else if (how == u"close")
        shown->close();
      else
        QTest::keyClick(shown->Edit1, Qt::Key_Escape);
    });
    QCOMPARE(dialog.exec(), result);
    QVERIFY(!dialog.isVisible());
    if (result == QDialog::Accepted) {
      QCOMPARE(dialog.fanfare(), QString());
      QCOMPARE(dialog.message(), u"新しいメッセージ"_s);
      QCOMPARE(dialog.pendingFont().family(), u"DejaVu Serif"_s);
      QCOMPARE(dialog.pendingFontColor(), QColor(Qt::blue));
    } else {
      // The font choice was made (the caller keeps its own values on Cancel).
      QCOMPARE(dialog.pendingFont().family(), u"DejaVu Serif"_s);
    }
  }

  // Browsing: the chooser's title and filters, the current file preselected,
  // the chosen file's full path in edSound; cancelling changes nothing.
  void browsing() {
    TempDir folder;
    const QString current = folder.write(u"今の.wav"_s, waveFile(1));
    const QString chosen = folder.write(u"ﾌｧﾝﾌｧｰﾚ.mid"_s, "MThd");
    TfrmOiwaiCfg dialog;
    dialog.setReporter(recorder());
    dialog.setValues(current, QString(), StoredFont, StoredColour);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QString title;
    QStringList filters, preselected;
    onNextModal<QFileDialog>([&](QFileDialog* files) {
      title = files->windowTitle();
      filters = files->nameFilters();
      preselected = files->selectedFiles();
      files->selectFile(chosen);
      static_cast<QDialog*>(files)->accept();  // QFileDialog's own accept(), as its Open button
    });
    QTest::mouseClick(dialog.btRef, Qt::LeftButton);
    QCOMPARE(title, u"サウンドの選択"_s);
    QCOMPARE(filters,
             (QStringList{u"Midi ファイル (*.mid *.rmi)"_s, u"Wave ファイル (*.wav)"_s, u"すべてのファイル (*)"_s}));
    QCOMPARE(preselected, QStringList{current});
    QCOMPARE(dialog.edSound->text(), chosen);
    QVERIFY(QFileInfo(dialog.edSound->text()).isAbsolute());

    dialog.edSound->setText(u"missing.mid"_s);
    bool opened = false;
    onNextModal<QFileDialog>([&](QFileDialog* files) {
      opened = true;
      files->reject();
    });
    QTest::mouseClick(dialog.btRef, Qt::LeftButton);
    QVERIFY(opened);
    QCOMPARE(dialog.edSound->text(), u"missing.mid"_s);
  }

  // Test: a missing file or a folder is reported and plays nothing; a file
  // that is no sound shows the player's own error, and the dialog stays.
  void testWithoutASound_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("playerError");
    QTest::newRow("missing") << u"none.mid"_s << QByteArray() << false;
    QTest::newRow("empty path") << QString() << QByteArray() << false;
    QTest::newRow("folder") << u"."_s << QByteArray() << false;
    QTest::newRow("text named .mid") << u"text.mid"_s << QByteArray("not a sound\n") << true;
  }
  void testWithoutASound() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, playerError);
    TempDir folder;
    QString path;
    if (!bytes.isEmpty())
      path = folder.write(name, bytes);
    else if (!name.isEmpty())
      path = folder.file(name);
    TfrmOiwaiCfg dialog;
    dialog.setReporter(recorder());
    dialog.setValues(path, QString(), StoredFont, StoredColour);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(dialog.btTest, Qt::LeftButton);

    QCOMPARE(messages_.size(), 1);
    if (playerError) {
      MediaPlayer probe;
      QVERIFY(!probe.open(path));
      QCOMPARE(messages_.first(), probe.errorText());
      QVERIFY(messages_.first().contains(path));
    } else {
      QCOMPARE(messages_.first(), u"ファイルが見つかりません。"_s);
    }
    QVERIFY(!dialog.MediaPlayer1.isOpen());
    QVERIFY(dialog.isVisible());
  }

  // A test plays without waiting; closing stops it, unless the path has
  // meanwhile been changed to a missing file.
  void testPlaysUntilClosing_data() {
    QTest::addColumn<bool>("pathChanged");
    QTest::newRow("same path") << false;
    QTest::newRow("path now missing") << true;
  }
  void testPlaysUntilClosing() {
    QFETCH(bool, pathChanged);
    TempDir folder;
    const QString sound = folder.write(u"fanfare.wav"_s, waveFile(3));
    TfrmOiwaiCfg dialog;
    dialog.setReporter(recorder());
    dialog.setValues(sound, QString(), StoredFont, StoredColour);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(dialog.btTest, Qt::LeftButton);
    QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join(u'\n')));
    QVERIFY(dialog.MediaPlayer1.isPlaying());
    QTest::mouseClick(dialog.btTest, Qt::LeftButton);  // again: the earlier one is closed first
    QVERIFY(messages_.isEmpty());
    QVERIFY(dialog.MediaPlayer1.isPlaying());

    if (pathChanged) dialog.edSound->setText(folder.file(u"gone.wav"_s));
    QTest::mouseClick(dialog.BitBtn1, Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.MediaPlayer1.isOpen(), pathChanged);
    dialog.MediaPlayer1.close();
  }
};

QTEST_MAIN(OiwaiCfgTest)
#include "OiwaiCfgTest.moc"
