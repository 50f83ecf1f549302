#pragma once

#include <QObject>
#include <QStringList>

class QAction;
class HelpSystem;

// The main window's watch over the application's events: hints only while
// the hint option (Hint1) is on, wrapped to at most 120 pixels; the menus'
// keys before any control's own in the main window; F1 in a window of its
// own with a help page (a side window, the export) opens that page. It
// watches from its making to its end, which the main window's takes with it.
class KeyAndHintFilter : public QObject {
 public:
  KeyAndHintFilter(QWidget* mainWindow, const QAction* hintOption, QStringList menuKeys, HelpSystem* help);
  ~KeyAndHintFilter() override;

  bool eventFilter(QObject* watched, QEvent* event) override;

  static constexpr int MaxHintWidth = 120;

 private:
  QWidget* mainWindow_;
  const QAction* hintOption_;
  QStringList menuKeys_;
  HelpSystem* help_;
};
