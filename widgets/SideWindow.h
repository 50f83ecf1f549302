#pragma once

#include <QDialog>
#include <QSize>
#include <QString>

#include <functional>
#include <optional>

#include "widgets/WindowPlacement.h"

// The shell of a window of its own beside the main window (the practice
// calendar, the progress chart, the 3D chart): where it first goes, fitted on
// the screen; its place and size handed back to be kept; the error reporter;
// F1 opening the help topic it is given (the main window reads the topic from
// the property "helpContext"). What a window keeps besides its place and size
// rides along in its own options type: see SideWindowOf below.
class SideWindow : public QDialog {
  Q_OBJECT
 public:
  // How errors are shown (options that cannot be kept, a file that cannot be
  // written); without one, in a plain message box titled like the window.
  using ErrorReporter = std::function<void(QWidget* parent, const QString& text)>;

  // Where the window goes and when its options are kept.
  enum class Opening {
    // Non-modal, with minimise and maximise buttons: placed at its first
    // showing, at its stored place or else beside the main window, in its
    // stored size or else its own first size; kept whenever it is hidden.
    Beside,
    // Modal, made anew for each opening: placed at its stored place and size
    // (always given) when the window asks (placeAtStoredPlace); kept when the
    // window asks (keep), as it closes.
    Stored,
  };

  // A place and size as the settings file keeps them: the frame's top left
  // corner and the client area's size.
  struct Geometry {
    int left = -1;  // with top: < 0 (Beside) is no stored place
    int top = -1;
    int width = 0;  // with height: <= 0 (Beside) is no stored size
    int height = 0;
  };

  // The window's place and size as it stands.
  Geometry currentGeometry() const;

 protected:
  SideWindow(Opening opening, Geometry stored, int helpTopic, ErrorReporter reporter, QWidget* parent);

  // The client size a Beside window takes at its first showing where none is
  // stored (width and height each on their own), given the main window and
  // the screen around it.
  virtual QSize firstSize(const WindowPlacement::Surroundings& around);
  // Hands the window's options back (a Beside window whenever it is hidden);
  // the text of an error to show when they cannot be kept.
  virtual std::optional<QString> handBack() = 0;

  // The stored place and size, fitted on the screen; the frame is taken to be
  // as wide as the main window's.
  void placeAtStoredPlace();
  // Hands the options back, and shows the error when they cannot be kept.
  void keep();
  // Through the reporter given, else a message box.
  void reportError(const QString& text);

  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void placeFirstTime();

  Opening opening_;
  Geometry stored_;  // as given: the place and size of the first opening
  ErrorReporter reporter_;
  bool placed_ = false;
};

// A side window whose options (`Options`: its place and size as the members
// left, top, width and height, and whatever else the window keeps) are given
// at its making and handed to `OptionsSaver` to be kept. The window fills in
// its own options (ownOptions); the shell adds the place and size.
template <class Options>
class SideWindowOf : public SideWindow {
 public:
  // Keeps the options the window hands back; gives the text of an error to
  // show when they cannot be kept.
  using OptionsSaver = std::function<std::optional<QString>(const Options&)>;

  // The options as the window stands: its frame's place, its size and its own.
  Options options() const {
    Options options = ownOptions();
    const Geometry now = currentGeometry();
    options.left = now.left;
    options.top = now.top;
    options.width = now.width;
    options.height = now.height;
    return options;
  }

 protected:
  SideWindowOf(Opening opening, const Options& stored, OptionsSaver saver, int helpTopic, ErrorReporter reporter,
               QWidget* parent)
      : SideWindow(opening, {stored.left, stored.top, stored.width, stored.height}, helpTopic, std::move(reporter),
                   parent),
        saver_(std::move(saver)) {}

  // The window's own options; the place and size in them are not read.
  virtual Options ownOptions() const = 0;
  void setSaver(OptionsSaver saver) { saver_ = std::move(saver); }

  std::optional<QString> handBack() override { return saver_ ? saver_(options()) : std::nullopt; }

 private:
  OptionsSaver saver_;
};
