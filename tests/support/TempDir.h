#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A temporary folder for one test, removed with it.
class TempDir {
 public:
  TempDir();

  QString path() const { return dir_.path(); }
  QString file(const QString& name) const { return dir_.filePath(name); }

  // Writes the bytes to a file in the folder and returns its path.
  QString write(const QString& name, const QByteArray& bytes) const;
  QByteArray read(const QString& name) const;

 private:
  QTemporaryDir dir_;
};
