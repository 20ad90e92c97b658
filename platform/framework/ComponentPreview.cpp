#include "framework/ComponentPreview.h"

#include <algorithm>

#include "framework/TypeInfo.h"

namespace gaugery {

namespace {

struct TPreviewRegistration {
  std::type_index ComponentClass;
  TComponentPreviewClass PreviewClass;
};

std::vector<TPreviewRegistration>& PreviewRegistry() {
  static std::vector<TPreviewRegistration> Registrations;
  return Registrations;
}

}  // namespace

void RegisterComponentPreview(std::type_index ComponentClass, TComponentPreviewClass PreviewClass) {
  PreviewRegistry().push_back({ComponentClass, std::move(PreviewClass)});
}

std::unique_ptr<TComponentPreview> CreateComponentPreview(TComponent* Component) {
  const TClassInfo* Class = ClassInfoOf(Component);
  if (Class == nullptr) return nullptr;
  const auto& Registrations = PreviewRegistry();
  const auto Found = std::find_if(
      Registrations.rbegin(), Registrations.rend(),
      [&](const TPreviewRegistration& R) { return InheritsFrom(*Class, R.ComponentClass); });
  return Found == Registrations.rend() ? nullptr : Found->PreviewClass(Component);
}

}  // namespace gaugery
