#include "PerfObjectBrowser.h"

namespace gaugery {

TPerfObjectBrowser::TPerfObjectBrowser(TComponent* AOwner)
    : TComponent(AOwner),
      Objects_(std::make_unique<TPerfObjects>(nullptr)),
      Titles_(std::make_unique<TPerfTitles>(nullptr)) {}

PPERF_OBJECT_TYPE TPerfObjectBrowser::ObjectData() {
  return Objects_->GetObjectData(Objects_->GetIndexOfObject(ObjectName_));
}

void TPerfObjectBrowser::SetObjectName(const std::string& Value) {
  ObjectName_.clear();
  if (!IsLoading() && !Value.empty()) Objects_->GetIndexOfObject(Value);
  ObjectName_ = Value;
}

void TPerfObjectBrowser::SetLocaleID(const std::string& Value) {
  const bool CarryName = !IsLoading() && !ObjectName_.empty();
  const std::string TitleIndex = CarryName ? Titles_->GetIdxOfItem(ObjectName_) : "";
  Objects_->SetLocaleID(Value);
  Titles_->SetLocaleID(Value);
  if (CarryName) SetObjectName(Titles_->GetItemByIdx(TitleIndex));
}

void TPerfObjectBrowser::Refresh() { Objects_->Refresh(); }

}  // namespace gaugery
