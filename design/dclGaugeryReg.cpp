#include "dclGaugeryReg.h"

#include <QString>

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
