#include "framework/TCollection.h"

#include <algorithm>
#include <iterator>

#include "framework/Exceptions.h"

namespace gaugery {

TCollectionItem::TCollectionItem(TCollection* Collection) {
  if (Collection != nullptr) Collection->InsertItem(this);
}

TCollectionItem::~TCollectionItem() {
  if (Collection_ != nullptr) Collection_->RemoveItem(this);
}

int TCollectionItem::Index() const {
  if (Collection_ == nullptr) return -1;
  const auto& Items = Collection_->Items_;
  return static_cast<int>(std::find(Items.begin(), Items.end(), this) - Items.begin());
}

void TCollectionItem::SetIndex(int Value) {
  if (Collection_ == nullptr) return;
  auto& Items = Collection_->Items_;
  if (Value < 0 || Value >= Collection_->Count()) RaiseListIndexError(Value);
  const auto From = Items.begin() + Index();
  const auto To = Items.begin() + Value;
  if (From < To) {
    std::rotate(From, From + 1, To + 1);
  } else {
    std::rotate(To, From, From + 1);
  }
}

TPersistent* TCollectionItem::GetOwner() { return Collection_; }

TCollection::TCollection(TCollectionItemClass AItemClass) : ItemClass_(AItemClass) {}

TCollection::~TCollection() { Clear(); }

TCollectionItem* TCollection::Add() { return ItemClass_(this); }

TCollectionItem* TCollection::Items(int Index) const {
  if (Index < 0 || Index >= Count()) RaiseListIndexError(Index);
  return Items_[Index];
}

void TCollection::Delete(int Index) { delete Items(Index); }

void TCollection::Clear() {
  while (!Items_.empty()) delete Items_.back();
}

void TCollection::Assign(TPersistent* Source) {
  auto* From = dynamic_cast<TCollection*>(Source);
  if (From == nullptr) {
    TPersistent::Assign(Source);
    return;
  }
  if (From == this) return;
  Clear();
  for (TCollectionItem* SourceItem : From->Items_) Add()->Assign(SourceItem);
}

void TCollection::InsertItem(TCollectionItem* Item) {
  Items_.push_back(Item);
  Item->Collection_ = this;
}

// Searched from the last item: clearing removes the items from the end.
void TCollection::RemoveItem(TCollectionItem* Item) {
  const auto Found = std::find(Items_.rbegin(), Items_.rend(), Item);
  if (Found != Items_.rend()) Items_.erase(std::next(Found).base());
  Item->Collection_ = nullptr;
}

}  // namespace gaugery
