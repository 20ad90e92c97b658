// Ordered lists of untyped references.
#pragma once

#include <vector>

#include "framework/LibraryExport.h"
#include "framework/TObject.h"

namespace gaugery {

class GAUGERY_PLATFORM_API TList : public TObject {
 public:
  int Count() const { return static_cast<int>(Items_.size()); }
  int Add(void* Item);
  // EListError outside 0 to Count - 1.
  void* Items(int Index) const;
  void SetItems(int Index, void* Item);
  void Delete(int Index);
  // Removes the first occurrence; its former position, or -1.
  int Remove(void* Item);
  int IndexOf(const void* Item) const;
  void Clear();

 private:
  void CheckIndex(int Index) const;
  std::vector<void*> Items_;
};

}  // namespace gaugery
