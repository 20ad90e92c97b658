#include "DesignTesting.h"

#include <QCoreApplication>
#include <QEvent>

namespace gaugery::testing {

std::vector<std::string> ValuesOf(TPropertyEditor& Editor) {
  std::vector<std::string> Values;
  Editor.GetValues([&](const std::string& Value) { Values.push_back(Value); });
  return Values;
}

std::vector<std::string> LinesOf(const TStringList& List) {
  std::vector<std::string> Lines;
  for (int I = 0; I < List.Count(); ++I) Lines.push_back(List.Strings(I));
  return Lines;
}

TModalDriver::TModalDriver(std::function<int(QDialog&)> Drive) {
  SetModalRunner([this, Drive = std::move(Drive)](QDialog& Dialog) {
    ++Shown_;
    return Drive(Dialog);
  });
}

TModalDriver::~TModalDriver() {
  SetModalRunner(nullptr);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace gaugery::testing
