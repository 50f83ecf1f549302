#pragma once

#include <QString>
#include <QStringList>

#include <memory>

#include "support/TempDir.h"
#include "ui/MessageBoxes.h"

// What the window tests start from: a fresh folder for the settings file and
// the record files, and every message box the program shows, caught as text.
// A test class calls setUpWindowFolder() in init() and
// tearDownWindowFolder() in cleanup().
class WindowFixture {
 protected:
  std::unique_ptr<TempDir> dir;
  QStringList messages;

  QString settingsPath() const { return dir->file(QStringLiteral("hoko32.ini")); }

  void setUpWindowFolder() {
    dir = std::make_unique<TempDir>();
    messages.clear();
    MessageBoxes::setHandler([this](const QString& text) { messages << text; });
  }
  void tearDownWindowFolder() { MessageBoxes::setHandler(nullptr); }
};
