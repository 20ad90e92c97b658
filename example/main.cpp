// Brindle: the running processes of this computer, or of the computer that
// --computer NAME names, with eight of their counters.
#include <QApplication>
#include <iostream>

#include "BrindleStartup.h"

int main(int argc, char** argv) {
  QApplication Application(argc, argv);
  Application.setApplicationName(QString::fromLatin1(gaugery::BrindleProductName));
  // What Qt leaves of the command line: the program and at most "--computer NAME".
  const QStringList Arguments = QApplication::arguments();
  const bool Remote = Arguments.size() == 3 && Arguments[1] == QStringLiteral("--computer");
  if (Arguments.size() != 1 && !Remote) {
    std::cerr << "usage: brindle [--computer NAME]\n"
                 "  --computer NAME  show the processes of the computer NAME; on Linux HOST:PORT\n"
                 "                   or HOST (port 9441) of a machine running `gaugery serve`\n";
    return 2;
  }
  const std::unique_ptr<gaugery::TBrindleForm> Form =
      gaugery::StartBrindle(Remote ? Arguments[2].toStdString() : std::string());
  Form->show();
  return QApplication::exec();
}
