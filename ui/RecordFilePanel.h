#pragma once

#include <QLabel>

// The toolbar panel that names the record file (plRecFile), in bold navy. Its outer bevel follows the
// mouse: raised while the mouse is over it, lowered while its menu or dialog is
// open, flat otherwise. A click (on release) asks for the record-file menu.
class RecordFilePanel : public QLabel {
  Q_OBJECT
 public:
  enum class Bevel { Flat, Raised, Lowered };

  explicit RecordFilePanel(QWidget* parent = nullptr);

  Bevel bevel() const { return bevel_; }
  void setBevel(Bevel bevel);

 Q_SIGNALS:
  void clicked();

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  Bevel bevel_ = Bevel::Flat;
};
