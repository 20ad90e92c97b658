#include "framework/TList.h"

#include <algorithm>

namespace gaugery {

int TList::Add(void* Item) {
  Items_.push_back(Item);
  return Count() - 1;
}

void* TList::Items(int Index) const {
  CheckIndex(Index);
  return Items_[Index];
}

void TList::SetItems(int Index, void* Item) {
  CheckIndex(Index);
  Items_[Index] = Item;
}

void TList::Delete(int Index) {
  CheckIndex(Index);
  Items_.erase(Items_.begin() + Index);
}

int TList::Remove(void* Item) {
  const int Index = IndexOf(Item);
  if (Index >= 0) Delete(Index);
  return Index;
}

int TList::IndexOf(const void* Item) const {
  const auto Found = std::find(Items_.begin(), Items_.end(), Item);
  return Found == Items_.end() ? -1 : static_cast<int>(Found - Items_.begin());
}

void TList::Clear() { Items_.clear(); }

void TList::CheckIndex(int Index) const {
  if (Index < 0 || Index >= Count()) RaiseListIndexError(Index);
}

}  // namespace gaugery
