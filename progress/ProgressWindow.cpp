#include "progress/ProgressWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QVBoxLayout>

#include <ranges>

#include "analysis/TextFormat.h"
#include "progress/ProgressChartView.h"
#include "progress/TimeAxis.h"
#include "settings/SettingsFile.h"

using namespace Qt::StringLiterals;

namespace {

// F1 opens the help page of this topic number (the progress chart's page).

constexpr int MostRuns = 100'000'000;

// The runs of a mean: a number refused (0, nothing) goes back to the one in use when the box is left.
class WindowValidator : public QIntValidator {
 public:
  WindowValidator(std::function<int()> inUse, QObject* parent)
      : QIntValidator(1, MostRuns, parent), inUse_(std::move(inUse)) {}
  void fixup(QString& input) const override { input = QString::number(inUse_()); }

 private:
  std::function<int()> inUse_;
};

QString countText(int n) { return QLocale(QLocale::Japanese, QLocale::Japan).toString(n); }

}  // namespace

ProgressWindow::ProgressWindow(SettingsFile* settings, QWidget* parent, ErrorReporter reporter)
    : ProgressWindow(settings ? ProgressOptions::load(*settings) : ProgressOptions(), {}, parent, std::move(reporter)) {
  if (settings) setSaver([settings](const ProgressOptions& options) { return settings->keep(options); });
}

ProgressWindow::ProgressWindow(ProgressOptions options, OptionsSaver saver, QWidget* parent, ErrorReporter reporter)
    : SideWindowOf(Opening::Beside, options, std::move(saver), HelpContext, std::move(reporter), parent) {
  setObjectName(u"frmProgress"_s);
  setWindowTitle(u"進歩グラフ"_s);

  auto* layout = new QVBoxLayout(this);
  auto* controls = new QHBoxLayout;
  ranges_ = new QComboBox(this);
  ranges_->setObjectName(u"cbRange"_s);
  ranges_->addItems(
      {u"全期間"_s, u"直近1年"_s, u"6か月"_s, u"3か月"_s, u"1か月"_s, u"1週間"_s, u"直近 N 回"_s, u"期間指定"_s});
  controls->addWidget(ranges_);
  lastRuns_ = new QSpinBox(this);
  lastRuns_->setObjectName(u"seLastRuns"_s);
  lastRuns_->setRange(1, MostRuns);
  lastRuns_->setSuffix(u" 回"_s);
  controls->addWidget(lastRuns_);
  from_ = new QDateEdit(this);
  from_->setObjectName(u"dtFrom"_s);
  until_ = new QLabel(u"～"_s, this);
  to_ = new QDateEdit(this);
  to_->setObjectName(u"dtTo"_s);
  for (QDateEdit* edit : {from_, to_}) {
    edit->setDisplayFormat(u"yyyy/MM/dd"_s);
    edit->setCalendarPopup(true);
  }
  controls->addWidget(from_);
  controls->addWidget(until_);
  controls->addWidget(to_);
  controls->addSpacing(fontMetrics().height());
  controls->addWidget(new QLabel(u"平均の回数"_s, this));
  windows_ = new QComboBox(this);
  windows_->setObjectName(u"cbWindow"_s);
  windows_->setEditable(true);
  windows_->setInsertPolicy(QComboBox::NoInsert);
  windows_->addItems({u"5"_s, u"10"_s, u"25"_s, u"50"_s, u"100"_s, u"250"_s, u"1000"_s});
  windows_->setValidator(new WindowValidator([this] { return window_; }, windows_));
  controls->addWidget(windows_);
  controls->addSpacing(fontMetrics().height());
  allModes_ = new QCheckBox(u"すべてのモード"_s, this);
  allModes_->setObjectName(u"cbAllModes"_s);
  controls->addWidget(allModes_);
  controls->addStretch();
  auto* save = new QPushButton(u"画像として保存..."_s, this);
  save->setObjectName(u"btnSavePicture"_s);
  save->setAutoDefault(false);
  controls->addWidget(save);
  layout->addLayout(controls);

  auto* body = new QHBoxLayout;
  chart_ = new ProgressChartView(this);
  chart_->setToolTip(QString());
  body->addWidget(chart_, 1);
  auto* side = new QVBoxLayout;
  shown_ = new QLabel(this);
  shown_->setObjectName(u"lblShown"_s);
  side->addWidget(shown_);
  auto* form = new QFormLayout;
  const auto figure = [&](const QString& name, const QString& caption) {
    auto* value = new QLabel(this);
    value->setObjectName(name);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(caption, value);
    return value;
  };
  runCount_ = figure(u"lblRuns"_s, u"回数"_s);
  practiceDays_ = figure(u"lblPracticeDays"_s, u"練習日数"_s);
  meanHits_ = figure(u"lblMeanHits"_s, u"平均打数"_s);
  bestHits_ = figure(u"lblBestHits"_s, u"最高打数"_s);
  meanMissRate_ = figure(u"lblMeanMissRate"_s, u"平均ミス率"_s);
  side->addLayout(form);
  change_ = new QLabel(this);
  change_->setObjectName(u"lblChange"_s);
  change_->setFont(ProgressChartView::japaneseFont(change_->font()));
  side->addWidget(change_);
  side->addStretch();
  body->addLayout(side);
  layout->addLayout(body, 1);

  // The choices kept from the last time.
  ranges_->setCurrentIndex(std::clamp(options.range, 0, ranges_->count() - 1));
  lastRuns_->setValue(std::max(1, options.lastRuns));
  window_ = std::max(1, options.window);
  windows_->setEditText(QString::number(window_));
  allModes_->setChecked(options.allModes);
  to_->setDate(options.to.isValid() ? options.to : today_);
  from_->setDate(options.from.isValid() ? options.from : to_->date().addMonths(-1).addDays(1));
  showRangeControls();

  connect(ranges_, &QComboBox::currentIndexChanged, this, [this] {
    showRangeControls();
    reselect(false);
  });
  connect(lastRuns_, &QSpinBox::valueChanged, this, [this] { reselect(false); });
  connect(from_, &QDateEdit::dateChanged, this, [this] { reselect(false); });
  connect(to_, &QDateEdit::dateChanged, this, [this] { reselect(false); });
  connect(windows_, &QComboBox::currentTextChanged, this, [this](const QString& text) {
    bool ok = false;
    const int window = text.toInt(&ok);
    if (!ok || window < 1 || window == window_) return;
    window_ = window;
    reselect(true);
  });
  connect(allModes_, &QCheckBox::toggled, this, &ProgressWindow::rebuild);
  connect(save, &QPushButton::clicked, this, &ProgressWindow::chooseSaveFile);
  connect(new QShortcut(QKeySequence::Copy, this), &QShortcut::activated, this, &ProgressWindow::copyPicture);
  reselect(false);
}

void ProgressWindow::showRangeControls() {
  const auto kind = static_cast<ProgressRangeKind>(ranges_->currentIndex());
  lastRuns_->setVisible(kind == ProgressRangeKind::LastRuns);
  for (QWidget* w : std::initializer_list<QWidget*>{from_, until_, to_})
    w->setVisible(kind == ProgressRangeKind::Dates);
}

ProgressRange ProgressWindow::range() const {
  return {static_cast<ProgressRangeKind>(ranges_->currentIndex()), lastRuns_->value(), from_->date(), to_->date()};
}

void ProgressWindow::setRuns(std::span<const PracticeRecord* const> runs, PracticeMode mode, bool noMiss, QDate today,
                             const EraDays& era) {
  runs_ = runs;
  era_ = era;
  mode_ = mode;
  noMiss_ = noMiss;
  today_ = today;
  rebuild();
}

void ProgressWindow::setSource(const QString& recordFileName, const QString& era) {
  recordFileName_ = recordFileName;
  eraText_ = era;
  setWindowTitle(era.isEmpty() ? u"進歩グラフ"_s : u"進歩グラフ (%1)"_s.arg(era));
}

// "ローマ字 ・ 直近 100 回 ・ 2025/04/01 以降 ・ typist.ｷﾛｸ": what the picture shows, of which runs.
QString ProgressWindow::pictureTitle() const {
  const ProgressRange chosen = range();
  QString shownRange = ranges_->currentText();
  if (chosen.kind == ProgressRangeKind::LastRuns) shownRange = u"直近 %1 回"_s.arg(countText(chosen.lastRuns));
  if (chosen.kind == ProgressRangeKind::Dates)
    shownRange = std::min(chosen.from, chosen.to).toString(u"yyyy/MM/dd"_s) + u" ～ "_s +
                 std::max(chosen.from, chosen.to).toString(u"yyyy/MM/dd"_s);
  QStringList parts{shown_->text(), shownRange};
  if (!eraText_.isEmpty()) parts << eraText_;
  if (!recordFileName_.isEmpty()) parts << recordFileName_;
  return parts.join(u" ・ "_s);
}

void ProgressWindow::rebuild() {
  const bool everyMode = allModes_->isChecked() || mode_ >= PracticeModeCount;
  modeRuns_ = ProgressSeries::runsOf(runs_, everyMode ? std::nullopt : std::optional<PracticeMode>(mode_), noMiss_);
  const QString modeName =
      everyMode ? u"すべてのモード"_s : QString::fromUtf16(ModeName[mode_].data(), qsizetype(ModeName[mode_].size()));
  shown_->setText(noMiss_ ? modeName + u"（ノーミスのみ）"_s : modeName);
  reselect(true);
}

// keepVisible: the same runs anew (a reload, another mean): a zoomed chart stays where it was.
void ProgressWindow::reselect(bool keepVisible) {
  const ProgressChartView::TimeRange visible = chart_->visibleRange();
  const bool zoomed = keepVisible && visible != chart_->wholeRange();
  // The means and the best so far are the whole series' (within the era); the
  // range only chooses which points are shown. The whole time is the mode's
  // runs as they are, not copied, filled into the memory of the points before,
  // which a window opened again on a million runs keeps.
  const ProgressRange chosen = range();
  // The time axis spans the range's days, from the first day's start to the last day's end.
  std::optional<ProgressChartView::TimeRange> span;
  if (const auto days = ProgressSeries::daysOf(chosen, today_))
    span = {TimeAxis::dayCountOf(days->first), TimeAxis::dayCountOf(days->second) + 1};
  std::vector<ProgressRun> before;
  if (chosen.kind == ProgressRangeKind::All) {
    chart_->setPoints([&](std::vector<ProgressPoint>& points) { ProgressSeries::points(modeRuns_, window_, points); },
                      window_, span);
  } else {
    ProgressSeries::Selection selection = ProgressSeries::select(modeRuns_, chosen, today_, window_, era_);
    chart_->setPoints(std::move(selection.shown), window_, span);
    before = std::move(selection.before);
  }
  if (zoomed) chart_->setVisibleRange(visible);

  figures_ = ProgressSeries::figuresOf(chart_->points() | std::views::transform(&ProgressPoint::run));
  const bool any = figures_.runs > 0;
  runCount_->setText(countText(figures_.runs));
  practiceDays_->setText(countText(figures_.practiceDays));
  meanHits_->setText(any ? TextFormat::fixed(figures_.meanHits, 1) : u"-"_s);
  bestHits_->setText(any ? countText(figures_.bestHits) : u"-"_s);
  meanMissRate_->setText(any ? TextFormat::fixed(figures_.meanMissRate * 100, 2) + u'%' : u"-"_s);
  change_->setText(ProgressSeries::changeText(figures_, ProgressSeries::figures(before)));
}

QImage ProgressWindow::picture() const {
  const QString title = pictureTitle();
  const QFont font = ProgressChartView::japaneseFont(chart_->font());
  const int band = QFontMetrics(font).height() * 2;
  const QSize chartSize = chart_->size();
  QImage image(chartSize.width(), chartSize.height() + band, QImage::Format_ARGB32_Premultiplied);
  QPainter painter(&image);
  painter.fillRect(image.rect(), chart_->palette().color(QPalette::Base));
  painter.setFont(font);
  painter.setPen(chart_->palette().color(QPalette::Text));
  painter.drawText(QRect(band / 4, 0, image.width() - band / 2, band), Qt::AlignLeft | Qt::AlignVCenter, title);
  chart_->paintChart(painter, QRect(QPoint(0, band), chartSize));
  painter.end();
  image.setText(u"Title"_s, title);
  return image;
}

bool ProgressWindow::savePicture(const QString& path) const { return picture().save(path, "PNG"); }

void ProgressWindow::copyPicture() const { QGuiApplication::clipboard()->setImage(picture()); }

void ProgressWindow::chooseSaveFile() {
  QString path = QFileDialog::getSaveFileName(this, u"画像として保存"_s, u"進歩グラフ.png"_s, u"PNG 画像 (*.png)"_s);
  if (path.isEmpty()) return;
  if (!path.endsWith(u".png"_s, Qt::CaseInsensitive)) path += u".png"_s;
  if (savePicture(path)) return;
  reportError(u"%1 に書き込めません"_s.arg(QDir::toNativeSeparators(path)));
}

QSize ProgressWindow::firstSize(const WindowPlacement::Surroundings& around) {
  return {std::min(around.room.width() * 9 / 10, 960), std::min(around.room.height() * 9 / 10, 600)};
}

ProgressOptions ProgressWindow::ownOptions() const {
  ProgressOptions own;
  own.window = window_;
  own.range = ranges_->currentIndex();
  own.lastRuns = lastRuns_->value();
  own.from = from_->date();
  own.to = to_->date();
  own.allModes = allModes_->isChecked();
  return own;
}
