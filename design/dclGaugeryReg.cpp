#include "dclGaugeryReg.h"

#include <QString>
#include <exception>
#include <string>

#include "CounterPropertyEditor.h"
#include "CounterTypePropertyEditor.h"
#include "LocalePropertyEditor.h"
#include "ObjectKeyPropertyEditor.h"
#include "ObjectPropertyEditor.h"
#include "PerfCounters.h"
#include "PerfFilter.h"
#include "PerfInstances.h"
#include "PerfMonitor.h"
#include "PerfObjects.h"
#include "PerfPreview.h"
#include "PerfTitles.h"
#include "framework/TextFunctions.h"

namespace gaugery::dclGaugeryRegUnit {

void Register() {
  PerfTitlesUnit::DoRegister();
  PerfObjectsUnit::DoRegister();
  PerfCountersUnit::DoRegister();
  PerfInstancesUnit::DoRegister();
  PerfFilterUnit::DoRegister();
  PerfMonitorUnit::DoRegister();

  LocalePropertyEditorUnit::DoRegister();
  ObjectPropertyEditorUnit::DoRegister();
  CounterPropertyEditorUnit::DoRegister();
  CounterTypePropertyEditorUnit::DoRegister();
  ObjectKeyPropertyEditorUnit::DoRegister();
}

QImage PaletteImage(const std::string& ClassName) {
  return QImage(QStringLiteral(":/GaugeryDesign/") + QString::fromStdString(UpperCase(ClassName)));
}

}  // namespace gaugery::dclGaugeryRegUnit

const char* GaugeryRegisterPackage() noexcept {
  static std::string Failure;
  try {
    gaugery::dclGaugeryRegUnit::Register();
    gaugery::PerfPreviewUnit::DoRegister();
    return nullptr;
  } catch (const std::exception& Error) {
    Failure = Error.what();
  } catch (...) {
    Failure = "Unknown error while registering the package";
  }
  return Failure.c_str();
}

const char* GaugeryPackageDescription() noexcept {
  return gaugery::dclGaugeryRegUnit::PackageDescription;
}

// The host calls the entry points through these types.
[[maybe_unused]] constexpr gaugery::TRegisterPackageProc RegisterPackageChecked =
    &GaugeryRegisterPackage;
[[maybe_unused]] constexpr gaugery::TPackageDescriptionProc PackageDescriptionChecked =
    &GaugeryPackageDescription;
