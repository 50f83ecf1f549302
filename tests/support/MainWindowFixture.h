#pragma once

#include <memory>

#include "support/WindowFixture.h"
#include "ui/TfrmMain.h"

// The main window started in the fixture's folder: its settings file there,
// the banner pictures counted there, the program folder the same.
class MainWindowFixture : public WindowFixture {
 protected:
  StartupContext context(const QStringList& arguments = {}) const {
    return {settingsPath(), dir->path() + u'/', dir->path(), arguments};
  }
  // With the dialogs that live for the whole run, as the program makes them.
  std::unique_ptr<TfrmMain> start(const QStringList& arguments) const {
    auto window = std::make_unique<TfrmMain>(context(arguments));
    window->createLongLivedDialogs();
    return window;
  }
};
