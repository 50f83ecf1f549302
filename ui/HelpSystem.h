#pragma once

#include <QObject>
#include <QString>

class QWidget;

// Our help in place of the platform's help files. The program asks for its help
// by the name "Hoko32.hlp"; the pages are our own, in Japanese, in the folder
// "help" beside the program with their help project (hoko32.qhp), and shown in
// a help window with the project's contents and keyword index. The help topic numbers of the menus and tabs
// lead to pages.
class HelpSystem : public QObject {
  Q_OBJECT
 public:
  HelpSystem(QString helpFileName, QWidget* parentWindow);
  ~HelpSystem() override;

  const QString& helpFileName() const { return helpFileName_; }

  void showContents();              // the contents page
  void showKeywordSearch();         // the keyword index, ready for a word
  void showTopic(int helpContext);  // the page of a topic number

  // The page a topic number leads to (a page name inside the help), for
  // instance 5000 -> the history view's page.
  static QString pageForTopic(int helpContext);

  // The help window, created on first use (for tests and screenshots).
  QWidget* window();

 private:
  class Private;
  QString helpFileName_;
  QWidget* parentWindow_;
  Private* d_ = nullptr;
};
