// Renders Brindle's main form offscreen into a picture: brindle_screenshot FILE.PNG
#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "BrindleStartup.h"

namespace {

// Long enough for a timer tick after the first refresh, so elapsed times have moved.
constexpr int SettleMs = 1500;

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: brindle_screenshot FILE.PNG\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication Application(argc, argv);
  Application.setApplicationName(QString::fromLatin1(gaugery::BrindleProductName));
  const std::unique_ptr<gaugery::TBrindleForm> Form = gaugery::StartBrindle();
  Form->show();
  QTimer::singleShot(SettleMs, &Application, &QApplication::quit);
  QApplication::exec();
  if (!Form->grab().save(QString::fromLocal8Bit(argv[1]))) {
    std::fprintf(stderr, "brindle_screenshot: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
