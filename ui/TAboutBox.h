#pragma once

#include <QDialog>

class QPushButton;

// "バージョン情報": the program's name, version, icon and a word about it.
class TAboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit TAboutBox(QWidget* parent = nullptr);

  QPushButton* OKButton = nullptr;
};
