// The dialogs and pictures as the user meets them: shown offscreen, clicked
// and typed into, and judged by what they show.
#include <QApplication>
#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

#include "records/LoaderMessages.h"
#include "ui/JapaneseTranslations.h"
#include "ui/LoadingFeedback.h"
#include "ui/Pictures.h"
#include "ui/TAboutBox.h"
#include "ui/TfrmAverCfg.h"
#include "ui/TfrmColor.h"
#include "ui/TfrmGChar.h"
#include "ui/TfrmOpening.h"
#include "ui/TfrmRecent.h"
#include "widgets/FontDialog.h"

using namespace Qt::StringLiterals;

namespace {

QColor pixelOf(QWidget* widget, QPoint at = {1, 1}) { return widget->grab().toImage().pixelColor(at); }

void showActive(QWidget* window) {
  window->show();
  window->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(window));
}

void clickCell(TfrmColor& dialog, int index) {
  QVERIFY2(index < dialog.colorLabels().size(), "no such cell in the grid");
  QTest::mouseClick(dialog.colorLabels().at(index), Qt::LeftButton, {}, QPoint(3, 3));
}

void chooseColorType(TfrmColor& dialog, int type) {
  const QList<QRadioButton*> items = dialog.rgColorType->findChildren<QRadioButton*>();
  QTest::mouseClick(items.at(type), Qt::LeftButton, {}, QPoint(4, items.at(type)->height() / 2));
}

QStringList selectedCells(const TfrmColor& dialog) {
  QStringList names;
  for (QLabel* cell : dialog.colorLabels())
    if (!cell->text().isEmpty()) names << cell->objectName() + u':' + cell->text();
  return names;
}

QStringList previewLines(const TfrmColor& dialog) { return dialog.moPreview->toPlainText().split(u'\n'); }

// What the preview's empty lower-right corner shows.
QColor previewShows(const TfrmColor& dialog) {
  QWidget* viewport = dialog.moPreview->viewport();
  return pixelOf(viewport, QPoint(viewport->width() - 4, viewport->height() - 4));
}

void typeInto(QLineEdit* field, const QString& text) {
  for (QChar character : text)
    QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(character), Qt::NoModifier);
}

void commitFromInputMethod(QLineEdit* field, const QString& text) {
  QInputMethodEvent commit;
  commit.setCommitString(text);
  QApplication::sendEvent(field, &commit);
}

QLabel* labelSaying(QWidget* window, const QString& text) {
  for (QLabel* label : window->findChildren<QLabel*>())
    if (label->text() == text) return label;
  return nullptr;
}

double meanLightness(const QPixmap& picture) {
  const QImage image = picture.toImage();
  double sum = 0;
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y).alpha() > 200) sum += image.pixelColor(x, y).lightness(), ++count;
  return count ? sum / count : -1;
}

const QColor Teal(0, 128, 128);
const QColor Olive(128, 128, 0);

}  // namespace

class DialogsTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  // ------------------------------------------------------------ palette

  void paletteGrids_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("count");
    QTest::addColumn<QSize>("cell");
    QTest::addColumn<int>("perRow");
    QTest::addColumn<QList<int>>("indexes");
    QTest::addColumn<QList<QColor>>("colours");
    QTest::newRow("16") << 0 << 16 << QSize(320, 19) << 1 << QList<int>{0, 1, 7, 8, 9, 15}
                        << QList<QColor>{
                               Qt::black,         QColor(128, 0, 0), QColor(128, 128, 128), QColor(192, 192, 192),
                               QColor(255, 0, 0), Qt::white};
    QTest::newRow("64") << 1 << 64 << QSize(40, 38) << 8 << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 16, 63}
                        << QList<QColor>{Qt::black,           QColor(128, 0, 0),
                                         QColor(192, 0, 0),   QColor(255, 0, 0),
                                         QColor(0, 128, 0),   QColor(128, 128, 0),
                                         QColor(192, 128, 0), QColor(255, 128, 0),
                                         QColor(0, 0, 128),   Qt::white};
    QTest::newRow("125") << 2 << 125 << QSize(64, 12) << 5 << QList<int>{0, 1, 4, 5, 25, 124}
                         << QList<QColor>{Qt::black,        QColor(64, 0, 0), QColor(255, 0, 0),
                                          QColor(0, 64, 0), QColor(0, 0, 64), Qt::white};
  }

  void paletteGrids() {
    QFETCH(int, type);
    QFETCH(int, count);
    QFETCH(QSize, cell);
    QFETCH(int, perRow);
    QFETCH(QList<int>, indexes);
    QFETCH(QList<QColor>, colours);
    TfrmColor dialog;
    showActive(&dialog);
    if (type != 0) chooseColorType(dialog, type);
    QCOMPARE(dialog.colorType(), type);

    const QList<QLabel*> cells = dialog.colorLabels();
    QCOMPARE(cells.size(), count);
    QCOMPARE(dialog.findChildren<QLabel*>(QRegularExpression(u"^Label\\d+$"_s)).size(), count);
    for (int i = 0; i < count; ++i) {
      QCOMPARE(cells[i]->objectName(), u"Label%1"_s.arg(i));
      QCOMPARE(cells[i]->geometry(), QRect(QPoint(i % perRow * cell.width(), i / perRow * cell.height()), cell));
      QVERIFY(cells[i]->isVisible());
      QVERIFY(cells[i]->text().isEmpty());
    }
    QCOMPARE(cells.last()->geometry().right(), 319);
    QVERIFY(count / perRow * cell.height() <= 304);  // the grid stays above the band below it
    for (int k = 0; k < indexes.size(); ++k) {
      QCOMPARE(pixelOf(cells[indexes[k]]), colours[k]);
      QCOMPARE(TfrmColor::paletteColor(type, indexes[k]), colours[k]);
    }
  }

  void bandBelowTheGrid() {
    TfrmColor dialog;
    showActive(&dialog);
    const QRect preview = dialog.moPreview->geometry();
    QCOMPARE(dialog.width(), 320);
    QCOMPARE(preview, QRect(8, 309, 113, dialog.bbOK->height() + dialog.bbCancel->height() + 5));
    QCOMPARE(dialog.rgColorType->geometry(), QRect(128, 304, 105, preview.height() + 5));
    QCOMPARE(dialog.bbOK->geometry().topLeft(), QPoint(240, 309));
    QCOMPARE(dialog.bbCancel->geometry().topLeft(), QPoint(240, dialog.bbOK->geometry().bottom() + 1 + 5));
    QCOMPARE(dialog.height(), dialog.bbCancel->geometry().bottom() + 1 + 5);
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    for (QRadioButton* item : dialog.rgColorType->findChildren<QRadioButton*>())
      QVERIFY(dialog.rgColorType->rect().contains(item->geometry()));

    QCOMPARE(dialog.moPreview->toPlainText(), u"プレビュー画面"_s);
    QVERIFY(!(dialog.moPreview->focusPolicy() & Qt::TabFocus));
  }

  void pickingAColour_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("index");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("16 white") << 0 << 15 << QColor(Qt::white);
    QTest::newRow("16 maroon") << 0 << 1 << QColor(128, 0, 0);
    QTest::newRow("64 last") << 1 << 63 << QColor(Qt::white);
    QTest::newRow("125 clamped") << 2 << 124 << QColor(Qt::white);
    QTest::newRow("125 mixed") << 2 << 2 + 3 * 5 + 1 * 25 << QColor(128, 192, 64);
  }

  void pickingAColour() {
    QFETCH(int, type);
    QFETCH(int, index);
    QFETCH(QColor, colour);
    TfrmColor dialog;
    dialog.setPreviewColors(Teal, Qt::black);
    showActive(&dialog);
    chooseColorType(dialog, type);
    clickCell(dialog, index);
    QCOMPARE(previewLines(dialog), (QStringList{u"R = %1"_s.arg(colour.red()), u"G = %1"_s.arg(colour.green()),
                                                u"B = %1"_s.arg(colour.blue())}));
    QCOMPARE(selectedCells(dialog), QStringList{u"Label%1:Selected"_s.arg(index)});
    QLabel* cell = dialog.colorLabels().at(index);
    QVERIFY(cell->fontMetrics().horizontalAdvance(cell->text()) <= cell->contentsRect().width());  // not clipped
    QCOMPARE(dialog.previewBackground(), colour);
    QCOMPARE(previewShows(dialog), colour);
    QVERIFY(dialog.isVisible());  // a pick does not close the dialog
  }

  void onlyTheLastPickSaysSelected() {
    TfrmColor dialog;
    showActive(&dialog);
    clickCell(dialog, 15);
    clickCell(dialog, 1);
    QCOMPARE(selectedCells(dialog), QStringList{u"Label1:Selected"_s});
    QCOMPARE(previewLines(dialog), (QStringList{u"R = 128"_s, u"G = 0"_s, u"B = 0"_s}));
    QTest::mouseClick(dialog.colorLabels().at(3), Qt::RightButton, {}, QPoint(3, 3));
    QCOMPARE(selectedCells(dialog), QStringList{u"Label1:Selected"_s});  // only the left button picks
  }

  void closingTheDialog_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("picks");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<int>("result");
    const QColor lastPick(255, 255, 0);  // cell 11 of the 16
    QTest::newRow("cancel after picks") << u"cancel"_s << 3 << Teal << int(QDialog::Rejected);
    QTest::newRow("escape after picks") << u"escape"_s << 3 << Teal << int(QDialog::Rejected);
    QTest::newRow("ok without pick") << u"ok"_s << 0 << Teal << int(QDialog::Accepted);
    QTest::newRow("ok after picks") << u"ok"_s << 3 << lastPick << int(QDialog::Accepted);
    QTest::newRow("title bar after picks") << u"close"_s << 3 << lastPick << int(QDialog::Rejected);
  }

  void closingTheDialog() {
    QFETCH(QString, how);
    QFETCH(int, picks);
    QFETCH(QColor, colour);
    QFETCH(int, result);
    TfrmColor dialog;
    dialog.setPreviewColors(Teal, Qt::black);
    showActive(&dialog);
    const QList<int> cells{4, 13, 11};
    for (int pick = 0; pick < picks; ++pick) clickCell(dialog, cells[pick]);
    if (how == u"cancel"_s) QTest::mouseClick(dialog.bbCancel, Qt::LeftButton);
    if (how == u"escape"_s) QTest::keyClick(&dialog, Qt::Key_Escape);
    if (how == u"ok"_s) QTest::mouseClick(dialog.bbOK, Qt::LeftButton);
    if (how == u"close"_s) dialog.close();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), result);
    QCOMPARE(dialog.previewBackground(), colour);
  }

  void everyShowingStartsAfresh() {
    TfrmColor dialog;
    dialog.setPreviewColors(Teal, Qt::black);
    showActive(&dialog);
    chooseColorType(dialog, 1);
    clickCell(dialog, 63);
    QTest::mouseClick(dialog.bbOK, Qt::LeftButton);

    dialog.setPreviewColors(Olive, Qt::white);
    showActive(&dialog);
    QCOMPARE(dialog.colorType(), 1);
    QCOMPARE(dialog.colorLabels().size(), 64);
    QVERIFY(dialog.findChild<QRadioButton*>()->group()->button(1)->isChecked());
    QCOMPARE(selectedCells(dialog), QStringList());
    QCOMPARE(previewLines(dialog), (QStringList{u"R = 255"_s, u"G = 255"_s, u"B = 255"_s}));
    QCOMPARE(previewShows(dialog), Olive);
    clickCell(dialog, 0);
    QTest::mouseClick(dialog.bbCancel, Qt::LeftButton);
    QCOMPARE(dialog.previewBackground(), Olive);  // the colour of this showing, not the first
  }

  // ------------------------------------------------------- graph marks

  void markFieldsHoldOneSingleByteCharacter_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("second character") << u"o"_s << u"p"_s << u"o"_s;
    QTest::newRow("two typed") << u""_s << u"#*"_s << u"#"_s;
    QTest::newRow("full-width letter") << u""_s << u"Ａ"_s << u""_s;
    QTest::newRow("hiragana") << u""_s << u"あ"_s << u""_s;
    QTest::newRow("full-width then ascii") << u""_s << u"■o"_s << u"o"_s;
    QTest::newRow("half-width katakana") << u""_s << u"ｱ"_s << u"ｱ"_s;
    QTest::newRow("katakana range ends") << u""_s << u"ﾟ"_s << u"ﾟ"_s;
    QTest::newRow("tilde") << u""_s << u"~"_s << u"~"_s;
    QTest::newRow("space") << u""_s << u" "_s << u" "_s;
  }

  void markFieldsHoldOneSingleByteCharacter() {
    QFETCH(QString, start);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    TfrmGChar dialog;
    showActive(&dialog);
    for (QLineEdit* field : {dialog.edtHit, dialog.edtMiss}) {
      field->setFocus();
      field->setText(start);
      field->end(false);
      typeInto(field, typed);
      QCOMPARE(field->text(), shown);
    }
    QCOMPARE(dialog.hitText(), shown);
    QCOMPARE(dialog.missText(), shown);
  }

  void markFieldsRefuseOtherWaysIn() {
    TfrmGChar dialog;
    showActive(&dialog);
    QCOMPARE(dialog.hitText(), u"o"_s);
    QCOMPARE(dialog.missText(), u"x"_s);
    dialog.edtHit->clear();
    commitFromInputMethod(dialog.edtHit, u"ａ"_s);  // what a Japanese input method sends
    QCOMPARE(dialog.hitText(), u""_s);
    dialog.edtHit->insert(u"ab"_s);  // as pasted
    QCOMPARE(dialog.hitText(), u"a"_s);
    dialog.setMarks(u"*"_s, u"-"_s);
    QCOMPARE(dialog.hitText(), u"*"_s);
    QCOMPARE(dialog.missText(), u"-"_s);
  }

  void markDialogButtons() {
    TfrmGChar dialog;
    QCOMPARE(dialog.windowTitle(), u"グラフ表示の方法"_s);
    QCOMPARE(labelSaying(&dialog, u"Hit に使用するキャラクタ"_s)->buddy(), dialog.edtHit);
    QCOMPARE(labelSaying(&dialog, u"Miss に使用するキャラクタ"_s)->buddy(), dialog.edtMiss);
    showActive(&dialog);
    QTest::keyClick(dialog.edtMiss, Qt::Key_Return);  // OK is the default button
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    showActive(&dialog);
    QCOMPARE(dialog.BitBtn2->text(), u"キャンセル"_s);
    QTest::mouseClick(dialog.BitBtn2, Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!dialog.isVisible());
  }

  // --------------------------------------------------------- spin boxes

  void spinBoxesRangesAndSteps() {
    TfrmRecent recent;
    TfrmAverCfg average;
    struct Case {
      QSpinBox* spin;
      int maximum;
      int step;
    };
    const QList<Case> cases{{recent.SpinEdit1, 255, 1},
                            {average.SpinEdit1, 255, 1},
                            {average.SpinEdit2, 999, 1},
                            {average.SpinEdit3, 999, 10}};
    for (const Case& c : cases) {
      QCOMPARE(c.spin->minimum(), 0);
      QCOMPARE(c.spin->maximum(), c.maximum);
      c.spin->setValue(0);
      c.spin->stepDown();
      QCOMPARE(c.spin->value(), 0);
      c.spin->stepUp();
      QCOMPARE(c.spin->value(), c.step);
      c.spin->setValue(c.maximum - 1);
      c.spin->stepUp();
      QCOMPARE(c.spin->value(), c.maximum);  // clamped at the top, even with a step of 10
    }
  }

  // A typed value out of range is brought to the nearer bound when the typing
  // ends; no key is dropped on the way.
  void typedValuesAreHeldToTheNearerBound() {
    TfrmRecent recent;
    showActive(&recent);
    const struct {
      const char* typed;
      int value;
    } cases[] = {{"300", 255}, {"7", 7}, {"2550", 255}, {"-4", 0}};
    for (const auto& c : cases) {
      recent.SpinEdit1->setFocus();
      recent.SpinEdit1->selectAll();
      QTest::keyClicks(recent.SpinEdit1, QString::fromLatin1(c.typed));
      QCOMPARE(recent.SpinEdit1->text(), QString::fromLatin1(c.typed));
      QTest::keyClick(recent.SpinEdit1, Qt::Key_Tab);
      QCOMPARE(recent.SpinEdit1->value(), c.value);
    }
  }

  void recentDialog() {
    TfrmRecent dialog;
    QCOMPARE(dialog.windowTitle(), u"表示回数の制限"_s);
    QCOMPARE(dialog.Label1->text(),
             u"画面に表示させる回数を指定してください。( 0 ～ 255 の範囲で指定。 0 なら全部表示になります。)"_s);
    QVERIFY(dialog.Label1->wordWrap());
    showActive(&dialog);
    QVERIFY(dialog.Label1->height() > dialog.Label1->fontMetrics().height() * 3 / 2);  // wrapped
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QCOMPARE(dialog.BitBtn1->text(), u"OK"_s);
    QCOMPARE(dialog.BitBtn2->text(), u"キャンセル"_s);
    QTest::mouseClick(dialog.BitBtn1, Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
  }

  void averageDialogRows() {
    TfrmAverCfg dialog;
    QCOMPARE(dialog.windowTitle(), u"平均値の表示設定"_s);
    showActive(&dialog);
    QCOMPARE(dialog.size(), QSize(268, 215));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QCOMPARE(dialog.Label1->text(), u"ミスが次の入力値以下の場合の平均値を計算します。（最大値255）"_s);
    QCOMPARE(dialog.Label2->text(), u"総打数が次の入力値以上の場合の平均値を計算します。（最大値999）"_s);
    QCOMPARE(dialog.Label3->text(), u"「回」のボタンが押されているときに次の回数ごとの平均値を計算します。"_s);
    const QList<QPair<QLabel*, QSpinBox*>> rows{
        {dialog.Label1, dialog.SpinEdit1}, {dialog.Label2, dialog.SpinEdit2}, {dialog.Label3, dialog.SpinEdit3}};
    int previousBottom = -1;
    for (const auto& [label, spin] : rows) {
      QVERIFY(label->geometry().right() < spin->geometry().left());       // label left, spin right
      QVERIFY(label->geometry().top() <= spin->geometry().center().y());  // on one row
      QVERIFY(spin->geometry().center().y() <= label->geometry().bottom());
      QVERIFY(label->geometry().top() > previousBottom);                  // rows do not overlap
      QVERIFY(label->heightForWidth(label->width()) <= label->height());  // the whole text shows
      previousBottom = label->geometry().bottom();
    }
    for (QPushButton* button : {dialog.BitBtn1, dialog.BitBtn2}) {
      QVERIFY(button->geometry().top() > previousBottom);
      QVERIFY(dialog.rect().contains(button->geometry()));
    }
    QTest::mouseClick(dialog.BitBtn2, Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
  }

  void averageDialogTabsThroughItsFieldsFirst() {
    TfrmAverCfg dialog;
    showActive(&dialog);
    dialog.SpinEdit1->setFocus();
    QTRY_VERIFY(dialog.SpinEdit1->hasFocus());
    QList<QWidget*> order{QApplication::focusWidget()};
    while (order.size() < 5) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      order << QApplication::focusWidget();
    }
    QCOMPARE(order,
             (QList<QWidget*>{dialog.SpinEdit1, dialog.SpinEdit2, dialog.SpinEdit3, dialog.BitBtn1, dialog.BitBtn2}));
  }

  // Fixed dialogs: no minimise or maximise button, centred on the screen.
  void fixedDialogsAreCentredWithoutMinimiseOrMaximise() {
    TfrmRecent recent;
    TfrmAverCfg average;
    TfrmGChar characters;
    TfrmColor colour;
    TAboutBox about;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (QDialog* dialog : std::initializer_list<QDialog*>{&recent, &average, &characters, &colour, &about}) {
      const Qt::WindowFlags flags = dialog->windowFlags();
      QVERIFY2(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)),
               qPrintable(dialog->objectName()));
      dialog->move(0, 0);
      dialog->show();
      QVERIFY(QTest::qWaitForWindowExposed(dialog));
      QVERIFY2((dialog->frameGeometry().center() - screen.center()).manhattanLength() <= 2,
               qPrintable(dialog->objectName()));
      dialog->hide();
    }
  }

  // ---------------------------------------------------------- about box

  void aboutBox() {
    TAboutBox box;
    QCOMPARE(box.windowTitle(), u"バージョン情報"_s);
    showActive(&box);
    QCOMPARE(box.size(), QSize(305, 240));
    QCOMPARE(QApplication::focusWidget(), box.OKButton);

    QLabel* name = labelSaying(&box, u"ＴＡＰＰＥＲの足跡32"_s);
    QLabel* version = labelSaying(&box, u"Version 2.0"_s);
    QVERIFY(name && version);
    QWidget* panel = name->parentWidget();
    for (QLabel* label : box.findChildren<QLabel*>()) {
      QVERIFY(panel->rect().contains(label->geometry()));  // nothing spills over the bevel
      if (label->wordWrap()) {
        QVERIFY(label->text().contains(u"フリーソフトウェア"_s));
        QVERIFY(label->heightForWidth(label->width()) <= label->height());
      }
      if (label->pixmap().isNull()) continue;
      QCOMPARE(label->geometry(), QRect(14, 14, 83, 75));
    }
    QTest::keyClick(box.OKButton, Qt::Key_Return);
    QCOMPARE(box.result(), int(QDialog::Accepted));
  }

  // ----------------------------------------------------- loading window

  void openingWindow() {
    TfrmOpening window;
    window.centreOnScreen();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(!window.isModal());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QCOMPARE(window.size(), QSize(396, 255));
    QCOMPARE(window.frameGeometry().center(), window.screen()->availableGeometry().center());

    QCOMPARE(window.Label1->text(), u"ﾌｧｲﾙ読み込み中..."_s);
    QCOMPARE(window.ProgressBar1->maximum(), 100);

    const QImage shown = window.grab().toImage();
    QCOMPARE(shown.pixelColor(3, 250), QColor(0, 0, 255));   // blue around the bar
    QCOMPARE(shown.pixelColor(20, 220), QColor(0, 0, 255));  // the picture runs into it
    QCOMPARE(shown.pixelColor(390, 220), QColor(0, 0, 255));
    int yellow = 0;
    const QRect caption = window.Label1->geometry();
    for (int y = caption.top(); y <= caption.bottom(); ++y)
      for (int x = caption.left(); x <= caption.right(); ++x)
        if (shown.pixelColor(x, y).blue() < 128 && shown.pixelColor(x, y).red() > 128) ++yellow;
    QVERIFY2(yellow > 20, "the caption is written in yellow on the picture's blue");

    // A longer caption (what a load waits for) is shown whole, within the window.
    LoadingFeedback feedback(window, nullptr);
    feedback.setCaption(LoaderMessages::waitingCaption());
    QVERIFY(window.Label1->width() >= window.Label1->fontMetrics().horizontalAdvance(window.Label1->text()));
    QVERIFY(window.Label1->geometry().right() < window.width());
  }

  // ----------------------------------------------------------- pictures

  void toolbarImages() {
    for (int i = 0; i < Pictures::ImageCount; ++i) {
      const QPixmap image = Pictures::toolbarImage(i);
      QCOMPARE(image.size(), QSize(16, 16));
      QVERIFY2(meanLightness(image) >= 0, qPrintable(u"image %1 is empty"_s.arg(i)));
    }
    for (int mode = 0; mode < 4; ++mode) {
      const QImage up = Pictures::toolbarImage(mode).toImage();
      const QImage pressed = Pictures::toolbarImage(mode + 4).toImage();
      QVERIFY(meanLightness(Pictures::toolbarImage(mode + 4)) + 20 < meanLightness(Pictures::toolbarImage(mode)));
      for (int other = mode + 1; other < 4; ++other)
        QVERIFY(Pictures::toolbarImage(other).toImage() != up);  // each mode has its own letter
      QVERIFY(pressed != up);
    }
  }

  void chartImages() {
    const QImage chart = Pictures::toolbarImage(12).toImage();
    double redRows = 0, blueRows = 0;
    int reds = 0, blues = 0;
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        const QColor pixel = chart.pixelColor(x, y);
        if (pixel.alpha() < 200) continue;
        if (pixel.red() > 2 * pixel.blue() && pixel.red() > 100) redRows += y, ++reds;
        if (pixel.blue() > 2 * pixel.red() && pixel.blue() > 100) blueRows += y, ++blues;
      }
    }
    QVERIFY(reds > 5 && blues > 5);
    QVERIFY2(redRows / reds < blueRows / blues, "blue bars below red ones");

    const QImage greyed = Pictures::toolbarImage(13).toImage();
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        const QColor pixel = greyed.pixelColor(x, y);
        QCOMPARE(pixel.alpha(), chart.pixelColor(x, y).alpha());  // the same shape
        if (pixel.alpha() > 0) QVERIFY(pixel.red() == pixel.green() && pixel.green() == pixel.blue());
      }
    }
  }

  void programIconAndOpeningPicture() {
    for (int size : {16, 32, 48, 256}) {
      const QImage icon = Pictures::programIcon(size).toImage();
      QCOMPARE(icon.size(), QSize(size, size));
      QCOMPARE(icon.pixelColor(0, 0).alpha(), 0);  // rounded corners
      bool red = false, blue = false;
      for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
          const QColor pixel = icon.pixelColor(x, y);
          red = red || (pixel.red() > 180 && pixel.blue() < 90);
          blue = blue || (pixel.blue() > 180 && pixel.red() < 120);
        }
      }
      QVERIFY2(red && blue, qPrintable(u"size %1"_s.arg(size)));
    }
    QVERIFY(Pictures::programIconSet().availableSizes().contains(QSize(16, 16)));

    const QImage opening = Pictures::openingPicture().toImage();
    QCOMPARE(opening.size(), QSize(396, 221));
    QCOMPARE(opening.pixelColor(0, 220), QColor(0, 0, 255));
    QVERIFY(opening.pixelColor(0, 0).blue() < opening.pixelColor(0, 220).blue());  // a gradient
  }

  // The panes' fonts: one column for half-width characters, two for full-width.
  void fontDialogOffersTheJapaneseFixedPitchFonts() {
    const QStringList families = FontDialog::fixedPitchFamilies();
    for (const QString& offered : {u"IPAGothic"_s, u"IPAMincho"_s})
      QVERIFY2(families.contains(offered), qPrintable(families.join(u", "_s)));
    for (const QString& proportional : {u"IPAPGothic"_s, u"IPAPMincho"_s})
      QVERIFY2(!families.contains(proportional), qPrintable(proportional));
  }

  // The Windows folder ships Qt's Japanese catalogues as Debian has them, all but
  // the multimedia one: the gathering catalogue "qt_ja" names that one too and
  // cannot load there, so Qt's own buttons must come from "qtbase_ja". Every
  // translator is taken out again afterwards.
  void qtButtonsSpeakJapaneseFromTheWindowsFolderCatalogues() {
    const QDir system(QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    for (const QString& shipped : {u"qt_ja.qm"_s, u"qtbase_ja.qm"_s})
      QVERIFY2(QFile::copy(system.filePath(shipped), folder.filePath(shipped)), qPrintable(shipped));
    QVERIFY(JapaneseTranslations::install(*qApp, {folder.path()}));
    const auto installed = qApp->findChildren<QTranslator*>(QString(), Qt::FindDirectChildrenOnly);
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Open);
    const QStringList captions = {buttons.button(QDialogButtonBox::Cancel)->text(),
                                  buttons.button(QDialogButtonBox::Open)->text()};
    for (QTranslator* translator : installed) {
      QCoreApplication::removeTranslator(translator);
      delete translator;
    }
    QCOMPARE(installed.size(), 1);  // qtbase_ja only: qt_help_ja is not in the folder
    QCOMPARE(captions, QStringList({u"キャンセル"_s, u"開く"_s}));
    // And nothing to load gives false, leaving Qt's texts in English.
    QTemporaryDir empty;
    QVERIFY(!JapaneseTranslations::install(*qApp, {empty.path()}));
    QCOMPARE(QDialogButtonBox(QDialogButtonBox::Cancel).button(QDialogButtonBox::Cancel)->text(), u"Cancel"_s);
  }

  // Last: Qt's own dialogs and menus speak Japanese once the translations are in.
  void standardDialogsSpeakJapanese() {
    QVERIFY(JapaneseTranslations::install(*qApp));
    QFileDialog files(nullptr, u"t"_s);
    files.setOption(QFileDialog::DontUseNativeDialog);
    QCOMPARE(files.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->text(), u"キャンセル"_s);
    QPlainTextEdit pane;
    std::unique_ptr<QMenu> menu(pane.createStandardContextMenu());
    QStringList captions;
    for (const QAction* item : menu->actions()) captions << item->text();
    QVERIFY2(captions.join(u' ').contains(u"貼り付け"_s), qPrintable(captions.join(u' ')));
  }
};

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
