#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

#include "analysis/View.h"
#include "viewer/ViewerSession.h"

class QWidget;
class LoadFeedback;
class LoadScheduler;
class SettingsFile;

// What the main window lends a feature: the parent of its windows, the
// session its windows read and follow, the settings file, the error reporter
// and what the main window shows.
struct FeatureHost {
  QWidget* window = nullptr;
  ViewerSession* session = nullptr;
  SettingsFile* settings = nullptr;
  std::function<void(QWidget* parent, const QString& text)> reportError;
  std::function<View()> activeView;  // the tab shown
  std::function<QFont()> runsFont;   // the history pane's font
  std::function<void(QWidget* parent, const QString& text)> showMessage;
  std::function<void()> saveSettings;       // every option, at once (after a dialog's OK)
  std::function<void()> computeActiveView;  // the active tab's pass, as the options stand
  LoadScheduler* loads = nullptr;           // one load, or export, at a time
  LoadFeedback* feedback = nullptr;         // the loading window, with how far a long task has come
  QWidget* loadingWindow = nullptr;         // that window, modal while an export shows in it
};

// The menu whose place for features an item takes: the file menu's before its
// separator above 終了, the view menu's below the views, the options menu's at its end.
enum class FeatureMenu { File, Show, Option };

// One menu item of a feature.
struct FeatureItem {
  enum class Kind {
    Command,      // runs the feature's command
    StartOption,  // a check mark: when on, the command runs after the first pass of the start
  };
  FeatureItem(FeatureMenu menu, QString name, QString caption, QString shortcut = {}, Kind kind = Kind::Command,
              bool chartedViewsOnly = false)
      : menu(menu),
        name(std::move(name)),
        caption(std::move(caption)),
        shortcut(std::move(shortcut)),
        kind(kind),
        chartedViewsOnly(chartedViewsOnly) {}

  FeatureMenu menu = FeatureMenu::Show;
  QString name;      // its design name ("Calendar1")
  QString caption;   // with its access key
  QString shortcut;  // portable text ("Ctrl+Y"); empty: none
  Kind kind = Kind::Command;
  bool chartedViewsOnly = false;  // shown only on a tab with a chart; its key works while hidden
};

// The feature's button on the tool bar, after the mode buttons.
struct FeatureButton {
  FeatureButton(QString name, QString hint, int picture, int disabledPicture = -1)
      : name(std::move(name)), hint(std::move(hint)), picture(picture), disabledPicture(disabledPicture) {}

  QString name;  // its design name ("CalendarButton")
  QString hint;
  int picture = 0;           // the tool bar image
  int disabledPicture = -1;  // greyed on a tab without a chart; -1: always enabled
};

// A feature beside the tab views (the 3D chart, the practice calendar, ...):
// what the main window needs to know of it, said once. The main window makes
// its menu items and button, runs its command and knows nothing else of it;
// its window reads the session and, while open, follows the changes named.
class Feature {
 public:
  struct Declaration {
    std::vector<FeatureItem> items;  // in the order of their menus
    std::optional<FeatureButton> button;
    QStringList settingsSections;                // its sections in the settings file; none: none of its own
    QStringList settingsKeys;                    // its keys in a section it shares with the main window
    int helpTopic = 0;                           // the help page F1 opens in its window; 0: none of its own
    std::vector<ViewerSession::Change> follows;  // what its open window follows
  };

  explicit Feature(Declaration declaration) : declaration_(std::move(declaration)) {}
  virtual ~Feature() = default;
  Feature(const Feature&) = delete;
  Feature& operator=(const Feature&) = delete;

  const Declaration& declaration() const { return declaration_; }
  bool follows(ViewerSession::Change change) const;

  // The command of its items and its button: opens its window (or brings it up).
  virtual void open(const FeatureHost& host) = 0;

 protected:
  // Has `update` run on each change the feature follows while `window` is
  // open, for as long as the window lives.
  void follow(const FeatureHost& host, QWidget* window, std::function<void()> update) const;

 private:
  Declaration declaration_;
};
