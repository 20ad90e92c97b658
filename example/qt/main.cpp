// Brindle: the running processes of this computer, of the computer that --computer NAME
// names, or of replayed captures, with eight of their counters.
#include <QApplication>
#include <iostream>

#include "BrindleArguments.h"
#include "BrindleStartup.h"
#include "framework/ProgramArguments.h"

int main(int argc, char** argv) {
  QApplication Application(argc, argv);
  Application.setApplicationName(QString::fromLatin1(gaugery::BrindleProductName));
  // What Qt leaves of the command line.
  const gaugery::TBrindleArguments Arguments =
      gaugery::ReadBrindleArguments(gaugery::ProgramArguments(argc, argv));
  if (Arguments.ExitCode) {
    std::ostream& Out = *Arguments.ExitCode == 0 ? std::cout : std::cerr;
    if (!Arguments.Error.empty()) Out << "brindle: " << Arguments.Error << "\n";
    if (Arguments.ShowUsage) Out << gaugery::BrindleUsage;
    return *Arguments.ExitCode;
  }
  const std::unique_ptr<gaugery::TBrindleForm> Form =
      gaugery::StartBrindle(Arguments.ComputerName);
  Form->show();
  return QApplication::exec();
}
