#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// The help project (help/hoko32.qhp) read as it lies in the help folder: the
// table of contents, the keyword index and the page files, with QtCore alone.
// A page is named by its reference in the project, a file name relative to the
// project's folder, possibly with an anchor ("miss.html#recalc").
class HelpProject {
 public:
  struct Section {
    QString title;
    QString ref;
    QList<Section> children;
  };
  struct Link {
    QString title;  // the page's <title>, or its file name
    QString ref;
  };
  struct Keyword {
    QString name;
    QList<Link> links;  // in the order of the project
  };

  // Reads the project file; false, with errorString(), when it cannot be read
  // or is no help project.
  bool load(const QString& projectFile);
  const QString& errorString() const { return error_; }

  const QString& folder() const { return folder_; }
  const QList<Section>& contents() const { return contents_; }
  const QList<Keyword>& keywords() const { return keywords_; }  // sorted by name, each name once
  QList<Link> linksFor(const QString& keyword) const;
  const QStringList& files() const { return files_; }  // the <files> list

  // The file of a reference, anchor dropped, in the project's folder.
  QString filePath(const QString& ref) const;
  // The files the contents, the keywords and the file list name that are not
  // in the folder, each once.
  QStringList missingFiles() const;

 private:
  QString titleOf(const QString& ref);

  QString error_;
  QString folder_;
  QList<Section> contents_;
  QList<Keyword> keywords_;
  QStringList files_;
  QHash<QString, QString> titles_;
};
