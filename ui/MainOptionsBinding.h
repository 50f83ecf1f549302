#pragma once

#include <array>

#include "analysis/View.h"
#include "settings/Options.h"

class CelebrationFeature;
class MainMenus;
class QCheckBox;
class QMainWindow;
class QPlainTextEdit;
class QSpinBox;
class QWidget;
class RecordFilePanel;

// The main options on the main window's controls, both ways: the window's
// place and size, the options menu's check marks, the best tab's rank
// controls, the record file's name, each pane's font and colours (a header
// panel takes its pane's font), and the celebration's values through it.
class MainOptionsBinding {
 public:
  struct Controls {
    QMainWindow* window = nullptr;
    const MainMenus* menus = nullptr;
    QSpinBox* rankCount = nullptr;         // seRankCount
    QCheckBox* moreMissesAbove = nullptr;  // cbMIssEval
    RecordFilePanel* recordFile = nullptr;
    std::array<QPlainTextEdit*, ViewCount> panes{};
    std::array<QWidget*, ViewCount> headers{};  // null: the view has none, or one of its own font
    CelebrationFeature* celebration = nullptr;
  };

  explicit MainOptionsBinding(const Controls& controls) : c_(controls) {}

  // The stored place and size (of the client area) are fitted on the screen.
  void apply(const MainOptions& options) const;
  MainOptions current() const;  // the options that the controls hold

 private:
  Controls c_;
};
