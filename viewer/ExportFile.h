#pragma once

#include <QSaveFile>
#include <QString>

// The viewer's export target: a QSaveFile (the file is replaced only once it
// is complete) that keeps the reason of its first failure as the system gave
// it (a full disk, a folder that may not be written), so that the message
// says why in the user's words; Qt's own text of it is English. Unbuffered,
// so that every write reaches the system at once (the export buffers its
// output itself).
class ExportFile : public QSaveFile {
 public:
  explicit ExportFile(const QString& path) : QSaveFile(path) {}

  bool open();
  bool commit();

  // "<shownPath> に書き込めません" and, on the next line, why.
  QString failure(const QString& shownPath) const;

 protected:
  qint64 writeData(const char* data, qint64 bytes) override;

 private:
  bool noted(bool done);

  int systemError_ = 0;  // of the first failure, as an errno value
};
