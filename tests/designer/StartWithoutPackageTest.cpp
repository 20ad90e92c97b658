// The designer without its package: it tells why and starts with an empty palette.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <fstream>
#include <sstream>

#include "ComponentPalette.h"
#include "DesignerTesting.h"
#include "ErrorOf.h"

namespace gaugery {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

int Argc = 1;
char Program[] = "designer_start_tests";
char* Argv[] = {Program, nullptr};

// The shared libraries mapped into this process.
std::string MappedLibraries() {
  std::ifstream Maps("/proc/self/maps");
  std::ostringstream Text;
  Text << Maps.rdbuf();
  return Text.str();
}

TEST(DesignerStart, AMissingPackageIsReportedAndThePaletteStaysEmpty) {
  // The host links the framework only: the package and the run-time library come with
  // the package, when it loads.
  EXPECT_THAT(MappedLibraries(), Not(HasSubstr("libGaugeryRuntime")));
  EXPECT_THAT(MappedLibraries(), Not(HasSubstr("libGaugeryDesign")));
  QApplication Application(Argc, Argv);
  const TLoadedPackage Missing =
      LoadDesignPackage(QStringLiteral("/nonexistent/libGaugeryDesign.so"));
  EXPECT_FALSE(Missing.IsLoaded());
  EXPECT_THAT(Missing.Error,
              StartsWith("Cannot load the design package /nonexistent/libGaugeryDesign.so: "));
  const TLoadedPackage NotAPackage = LoadDesignPackage(QStringLiteral(GAUGERY_PLATFORM_LIBRARY));
  EXPECT_EQ(NotAPackage.Error, std::string(GAUGERY_PLATFORM_LIBRARY) +
                                   " is not a design package: it lacks the entry point "
                                   "GaugeryRegisterPackage");

  TDesignerWindow Window({Missing, NotAPackage});
  Window.show();
  EXPECT_EQ(Window.Palette()->count(), 0);
  {
    testing::TMessageBoxes Boxes;
    Window.ReportPackageProblems();
    EXPECT_THAT(Boxes.Texts(), ElementsAre(Missing.Error + "\n\n" + NotAPackage.Error));
  }
  // The designer still works on forms; it only has no components to put on them.
  EXPECT_EQ(testing::ErrorOf([&] { Window.Form().AddComponent("TPerfFilter"); }),
            "Class TPerfFilter cannot be put on a form");
  EXPECT_EQ(Window.Form().Root()->Name(), "Form1");
}

}  // namespace
}  // namespace gaugery
