// hoko32-report: the viewer's loader and views on the command line.
#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

#include "app/ReportTool.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QStringList arguments = QCoreApplication::arguments();
  arguments.removeFirst();
  ReportTool tool(QCoreApplication::applicationFilePath(), stdout, stderr);
  return tool.closeOutput(tool.run(arguments));
}
