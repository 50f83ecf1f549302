#include "calendar/PracticeCalendarWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include "analysis/CalendarTexts.h"
#include "calendar/CalendarColors.h"
#include "calendar/CalendarMapView.h"
#include "settings/SettingsFile.h"

using namespace Qt::StringLiterals;

namespace {

// F1 opens the help page of this topic number (the calendar's page).

// "少 ■■■■■ 多": the five steps, in the palette's colours.
QPixmap legendPicture(const CalendarColors& colors, int square) {
  const int gap = std::max(2, square / 5);
  QPixmap picture(CalendarColors::Levels() * (square + gap), square);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  for (int level = 0; level < CalendarColors::Levels(); ++level)
    painter.fillRect(level * (square + gap), 0, square, square, colors.levels[static_cast<std::size_t>(level)]);
  return picture;
}

}  // namespace

PracticeCalendarWindow::PracticeCalendarWindow(SettingsFile* settings, QWidget* parent, ErrorReporter reporter)
    : PracticeCalendarWindow(settings ? CalendarOptions::load(*settings) : CalendarOptions(), {}, parent,
                             std::move(reporter)) {
  if (settings) setSaver([settings](const CalendarOptions& options) { return settings->keep(options); });
}

PracticeCalendarWindow::PracticeCalendarWindow(CalendarOptions options, OptionsSaver saver, QWidget* parent,
                                               ErrorReporter reporter)
    : SideWindowOf(Opening::Beside, options, std::move(saver), HelpContext, std::move(reporter), parent) {
  setObjectName(u"frmCalendar"_s);
  setWindowTitle(u"練習カレンダー"_s);

  auto* layout = new QVBoxLayout(this);
  auto* header = new QHBoxLayout;
  figures_ = new QLabel(this);
  figures_->setObjectName(u"lblFigures"_s);
  figures_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  figures_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  header->addWidget(figures_, 1);
  auto* side = new QVBoxLayout;
  modes_ = new QComboBox(this);
  modes_->setObjectName(u"cbModes"_s);
  modes_->addItems({u"表示中のモード"_s, u"すべてのモード"_s});
  modes_->setToolTip(u"表示中のモードの練習だけを数えるか、すべてのモードの練習を数えるかを選びます"_s);
  side->addWidget(modes_);
  auto* legendRow = new QHBoxLayout;
  legendRow->addStretch();
  legendRow->addWidget(new QLabel(u"少"_s, this));
  legend_ = new QLabel(this);
  legend_->setObjectName(u"lblLegend"_s);
  legendRow->addWidget(legend_);
  legendRow->addWidget(new QLabel(u"多"_s, this));
  side->addLayout(legendRow);
  side->addStretch();
  header->addLayout(side);
  layout->addLayout(header);

  map_ = new CalendarMapView;
  scroll_ = new QScrollArea(this);
  scroll_->setObjectName(u"CalendarScroll"_s);
  scroll_->setWidget(map_);
  scroll_->setWidgetResizable(false);
  layout->addWidget(scroll_, 1);

  dayTitle_ = new QLabel(u"日付をクリックすると、その日の練習が表示されます。"_s, this);
  dayTitle_->setObjectName(u"lblDay"_s);
  layout->addWidget(dayTitle_);
  dayRuns_ = new QListWidget(this);
  dayRuns_->setObjectName(u"lbDayRuns"_s);
  dayRuns_->setToolTip(u"ダブルクリックでその日の練習をすべてコピーします"_s);
  dayRuns_->setMaximumHeight(fontMetrics().height() * 7);
  layout->addWidget(dayRuns_);

  const int square = CalendarLayout::Metrics::forLineHeight(fontMetrics().height()).square;
  legend_->setPixmap(legendPicture(CalendarColors::forPalette(palette()), square));
  // The figures' lines are there from the start, for the first placing to count.
  figures_->setText(CalendarTexts::figureLines(calendar_).join(u'\n'));

  modes_->setCurrentIndex(options.allModes ? 1 : 0);
  connect(modes_, &QComboBox::currentIndexChanged, this, [this] { rebuild(); });
  connect(map_, &CalendarMapView::dayClicked, this, &PracticeCalendarWindow::showDay);
  connect(dayRuns_, &QListWidget::itemDoubleClicked, this, &PracticeCalendarWindow::copyDayRuns);
}

bool PracticeCalendarWindow::allModes() const { return modes_->currentIndex() == 1; }

int PracticeCalendarWindow::calendarWidth() const {
  const QMargins margins = layout()->contentsMargins();
  return map_->sizeHint().width() + scroll_->verticalScrollBar()->sizeHint().width() + 2 * scroll_->frameWidth() +
         margins.left() + margins.right();
}

int PracticeCalendarWindow::yearHeight() const {
  const int oneYear = CalendarLayout(2000, 2000, map_->layout().metrics()).size().height();
  return layout()->sizeHint().height() - scroll_->sizeHint().height() + oneYear + 2 * scroll_->frameWidth();
}

void PracticeCalendarWindow::setRuns(std::span<const PracticeRecord* const> runs, PracticeMode mode, QDate today) {
  runs_ = runs;
  mode_ = mode;
  today_ = today;
  rebuild();
}

void PracticeCalendarWindow::setEra(const QString& era) {
  setWindowTitle(era.isEmpty() ? u"練習カレンダー"_s : u"練習カレンダー (%1)"_s.arg(era));
}

void PracticeCalendarWindow::rebuild() {
  const std::optional<PracticeMode> counted =
      allModes() || mode_ >= PracticeModeCount ? std::nullopt : std::optional<PracticeMode>(mode_);
  calendar_ = PracticeCalendar::build(runs_, counted, today_);
  figures_->setText(CalendarTexts::figureLines(calendar_).join(u'\n'));
  const bool firstLayout = map_->layout().size().isEmpty() || !map_->isVisible();
  map_->setCalendar(&calendar_);
  if (firstLayout) scroll_->verticalScrollBar()->setValue(0);  // the newest year
  if (shownDay_.isValid())
    showDay(shownDay_);
  else
    dayRuns_->clear();
}

void PracticeCalendarWindow::showDay(QDate date) {
  shownDay_ = date;
  dayTitle_->setText(CalendarTexts::dayTooltip(calendar_.day(date), date).split(u'\n').join(u"  "_s));
  dayRuns_->clear();
  for (const PracticeRecord* run : PracticeCalendar::runsOn(runs_, calendar_.mode(), date))
    dayRuns_->addItem(CalendarTexts::runLine(*run));
}

void PracticeCalendarWindow::copyDayRuns() {
  QStringList lines{dayTitle_->text()};
  for (int i = 0; i < dayRuns_->count(); ++i) lines << dayRuns_->item(i)->text();
  QGuiApplication::clipboard()->setText(lines.join(u"\r\n"_s) + u"\r\n"_s);
}

QSize PracticeCalendarWindow::firstSize(const WindowPlacement::Surroundings& around) {
  const int widest = around.room.width() * 9 / 10;
  map_->setWidthLimit(widest - (calendarWidth() - map_->sizeHint().width()));
  const int tallest = around.room.height();
  return {std::min(widest, calendarWidth()), std::min(tallest, std::max(tallest * 2 / 3, yearHeight()))};
}

void PracticeCalendarWindow::setRunsFont(const QFont& font) { dayRuns_->setFont(font); }

CalendarOptions PracticeCalendarWindow::ownOptions() const {
  CalendarOptions own;
  own.allModes = allModes();
  return own;
}
