// Brindle: the running processes of this computer, of the computer that --computer NAME
// names, or of replayed captures, with eight of their counters.
#include <QApplication>
#include <iostream>

#include "BrindleArguments.h"
#include "BrindleStartup.h"
#include "framework/ProgramArguments.h"

namespace {

int EndWithoutWindow(const gaugery::TBrindleArguments& Arguments) {
  (*Arguments.ExitCode == 0 ? std::cout : std::cerr) << gaugery::EndingText(Arguments);
  return *Arguments.ExitCode;
}

}  // namespace

int main(int argc, char** argv) {
  // --help and --version answer before Qt starts, which needs a display. Anything else
  // is read once Qt has taken its own options out of the command line.
  const gaugery::TBrindleArguments Informative =
      gaugery::ParseBrindleArguments(gaugery::ProgramArguments(argc, argv));
  if (Informative.ExitCode == 0) return EndWithoutWindow(Informative);
  QApplication Application(argc, argv);
  Application.setApplicationName(QString::fromLatin1(gaugery::BrindleProductName));
  const gaugery::TBrindleArguments Arguments =
      gaugery::ReadBrindleArguments(gaugery::ProgramArguments(argc, argv));
  if (Arguments.ExitCode) return EndWithoutWindow(Arguments);
  const std::unique_ptr<gaugery::TBrindleForm> Form = gaugery::StartBrindle(Arguments);
  Form->show();
  return QApplication::exec();
}
