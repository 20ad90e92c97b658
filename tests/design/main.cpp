// The plug-in's tests run on Qt's offscreen platform with the package registered once
// through its C entry point, as the designer registers it when it loads it.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdio>

#include "dclGaugeryReg.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication Application(argc, argv);
  if (const char* Failure = GaugeryRegisterPackage()) {
    std::fprintf(stderr, "%s\n", Failure);
    return 1;
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
