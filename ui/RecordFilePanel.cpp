#include "ui/RecordFilePanel.h"

#include <QMouseEvent>

using namespace Qt::StringLiterals;

RecordFilePanel::RecordFilePanel(QWidget* parent) : QLabel(parent) {
  setMouseTracking(true);
  setAlignment(Qt::AlignCenter);
  setBevel(Bevel::Flat);
  setObjectName(u"plRecFile"_s);
  setFixedSize(113, 22);
  QFont panelFont(u"ＭＳ ゴシック"_s);
  panelFont.setBold(true);
  setFont(panelFont);
  setStyleSheet(u"color: navy;"_s);
  setToolTip(u"ｷﾛｸﾌｧｲﾙ"_s);
  setContextMenuPolicy(Qt::CustomContextMenu);  // the record-file menu
}

void RecordFilePanel::setBevel(Bevel bevel) {
  bevel_ = bevel;
  switch (bevel) {
    case Bevel::Flat:
      setFrameStyle(QFrame::Panel | QFrame::Plain);
      setLineWidth(0);
      break;
    case Bevel::Raised:
      setFrameStyle(QFrame::Panel | QFrame::Raised);
      setLineWidth(1);
      break;
    case Bevel::Lowered:
      setFrameStyle(QFrame::Panel | QFrame::Sunken);
      setLineWidth(1);
      break;
  }
}

void RecordFilePanel::enterEvent(QEnterEvent* event) {
  if (bevel_ != Bevel::Raised) setBevel(Bevel::Raised);
  QLabel::enterEvent(event);
}

void RecordFilePanel::leaveEvent(QEvent* event) {
  if (bevel_ != Bevel::Flat) setBevel(Bevel::Flat);
  QLabel::leaveEvent(event);
}

void RecordFilePanel::mouseMoveEvent(QMouseEvent* event) {
  if (bevel_ == Bevel::Flat) setBevel(Bevel::Raised);
  QLabel::mouseMoveEvent(event);
}

// The menu or dialog opens while the button is still being released, so the
// bevel stays lowered until it closes; then it is flat.
void RecordFilePanel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) Q_EMIT clicked();
  setBevel(Bevel::Flat);
  QLabel::mouseReleaseEvent(event);
}
