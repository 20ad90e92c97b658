// The designer's tests run on Qt's offscreen platform with the real design package
// loaded through the host's loader, as the program loads it.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdio>

#include "DesignerTesting.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication Application(argc, argv);
  const gaugery::TLoadedPackage Package = gaugery::testing::DesignPackage().front();
  if (!Package.IsLoaded()) {
    std::fprintf(stderr, "%s\n", Package.Error.c_str());
    return 1;
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
