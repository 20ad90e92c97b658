// The plug-in's tests run on Qt's offscreen platform with the package registered once,
// as the designer registers it when it loads it.
#include <gtest/gtest.h>

#include <QApplication>

#include "dclGaugeryReg.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication Application(argc, argv);
  gaugery::dclGaugeryRegUnit::Register();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
