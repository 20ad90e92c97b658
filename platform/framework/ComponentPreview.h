// Live previews of components, for the designer's Preview: a design package registers,
// per component class, how to sample a component and lay out what it read; the host
// takes the samples and shows the table. Like the property editors, the registrations
// live here so that a host and the packages it loads share them.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <typeindex>
#include <vector>

#include "framework/LibraryExport.h"
#include "framework/TComponent.h"
#include "framework/TObject.h"

namespace gaugery {

// What a preview shows: column captions and rows of texts, each as wide as Columns.
struct GAUGERY_PLATFORM_API TPreviewTable {
  std::vector<std::string> Columns;
  std::vector<std::vector<std::string>> Rows;
};

// The preview of one component. It refers to the component without owning it.
class GAUGERY_PLATFORM_API TComponentPreview : public TObject {
 public:
  // The samples one preview takes, a second apart: rates need two.
  virtual int SampleCount() const = 0;
  // Takes one sample; the component's own errors pass out.
  virtual void Sample() = 0;
  // What the last sample read.
  virtual TPreviewTable Table() = 0;
};

using TComponentPreviewClass =
    std::function<std::unique_ptr<TComponentPreview>(TComponent* Component)>;

// Binds a preview to ComponentClass and the classes derived from it.
GAUGERY_PLATFORM_API void RegisterComponentPreview(std::type_index ComponentClass,
                                                   TComponentPreviewClass PreviewClass);

// The preview of Component: the latest registration that matches its class; null when
// none does.
GAUGERY_PLATFORM_API std::unique_ptr<TComponentPreview> CreateComponentPreview(
    TComponent* Component);

}  // namespace gaugery
