#pragma once

#include <array>

class QLabel;
class QPushButton;
class QSpinBox;
class QToolButton;
class QWidget;

// The header panels above the graph, average and miss panes, laid out as
// their fonts ask: each panel's height and the places of its controls.
namespace PaneHeaderLayout {

void layOutGraph(QLabel* panel);  // Panel2: the graph's scale line
// Panel3: the period buttons and the settings button, over the scale line.
void layOutAverage(QLabel* panel, const std::array<QToolButton*, 5>& periods, QPushButton* settings);
// The scale over the average pane's bars, as far as whole numbers fit in the panel.
void fitAverageScale(QLabel* panel);
// Panel4: 再計算, then "HIT数が" [spin box] "以上のときのミス率ワースト１０".
void layOutMiss(QWidget* panel, QPushButton* recalc, QLabel* before, QSpinBox* minHits, QLabel* after);

}  // namespace PaneHeaderLayout
