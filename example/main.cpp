// Brindle: the running processes of this computer with eight of their counters.
#include <QApplication>

#include "BrindleStartup.h"

int main(int argc, char** argv) {
  QApplication Application(argc, argv);
  Application.setApplicationName(QString::fromLatin1(gaugery::BrindleProductName));
  const std::unique_ptr<gaugery::TBrindleForm> Form = gaugery::StartBrindle();
  Form->show();
  return QApplication::exec();
}
