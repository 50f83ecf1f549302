#include "ui/PaneHeaderLayout.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>

#include "analysis/ModePass.h"

using namespace Qt::StringLiterals;

namespace PaneHeaderLayout {

void layOutGraph(QLabel* panel) {
  panel->setText(graphScaleText());
  panel->setFixedHeight(QFontMetrics(panel->font()).boundingRect(u"1"_s).height() + 2);
}

void layOutAverage(QLabel* panel, const std::array<QToolButton*, 5>& periods, QPushButton* settings) {
  const QFontMetrics metrics(panel->font());
  const int height = metrics.height() + 6;
  const int width = height * 3 / 2;
  int left = 0;
  for (QToolButton* button : periods) {
    button->setGeometry(left, 2, width, height);
    left += width + 1;
  }
  settings->setGeometry(left - 1 + 5, 2, 2 * width, height);
  panel->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
  panel->setFixedHeight(height + 4);
  fitAverageScale(panel);
}

// A character for 5 hits: "0" in column 25, then 50 hits every ten columns,
// each number ending in column 26 + 10 k, up to 550.
void fitAverageScale(QLabel* panel) {
  const QFontMetrics metrics(panel->font());
  const int room = panel->contentsRect().width();
  QString scale = QString(25, u' ') + u'0';
  for (int hits = 50; hits <= 550; hits += 50) {
    const QString longer = scale + QString::number(hits).rightJustified(27 + hits / 5 - scale.size());
    if (metrics.horizontalAdvance(longer) > room) break;
    scale = longer;
  }
  panel->setText(scale);
}

void layOutMiss(QWidget* panel, QPushButton* recalc, QLabel* before, QSpinBox* minHits, QLabel* after) {
  const QFontMetrics metrics(panel->font());
  recalc->setGeometry(0, 3, 2 * metrics.horizontalAdvance(u"再計算"_s), metrics.height() + 12);
  panel->setFixedHeight(recalc->height() + 6);
  const QSize label1 = metrics.size(0, before->text());
  before->setGeometry(recalc->width() + 24, (panel->height() - label1.height()) / 2, label1.width(), label1.height());
  minHits->setGeometry(before->x() + before->width() + 6, recalc->y(),
                       std::max(label1.width(), metrics.horizontalAdvance(u"5000"_s) + 30), recalc->height());
  const QSize label2 = metrics.size(0, after->text());
  after->setGeometry(minHits->x() + minHits->width() + 6, (panel->height() - label2.height()) / 2, label2.width(),
                     label2.height());
}

}  // namespace PaneHeaderLayout
