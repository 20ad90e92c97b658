// Owned, ordered collections of items of one item class.
#pragma once

#include <string>
#include <vector>

#include "framework/LibraryExport.h"
#include "framework/TPersistent.h"

namespace gaugery {

class TCollection;
class TCollectionItem;

// The item class of a collection: makes a new item in the given collection.
using TCollectionItemClass = TCollectionItem* (*)(TCollection* Collection);

template <class TItem>
TCollectionItem* CollectionItemClass(TCollection* Collection) {
  return new TItem(Collection);
}

class GAUGERY_PLATFORM_API TCollectionItem : public TPersistent {
 public:
  // Appends the new item to Collection (when not null).
  explicit TCollectionItem(TCollection* Collection);
  // Leaves the collection.
  ~TCollectionItem() override;

  TCollection* Collection() const { return Collection_; }
  // Position in the collection, or -1 outside one.
  int Index() const;
  // Moves the item to position Value of its collection, the items between shifting by
  // one; EListError for a position out of range.
  void SetIndex(int Value);
  TPersistent* GetOwner() override;

 private:
  friend class TCollection;
  TCollection* Collection_ = nullptr;
};

class GAUGERY_PLATFORM_API TCollection : public TPersistent {
 public:
  explicit TCollection(TCollectionItemClass AItemClass);
  // Destroys the items, last first.
  ~TCollection() override;

  TCollectionItemClass ItemClass() const { return ItemClass_; }

  // A new item of the item class, appended.
  TCollectionItem* Add();
  int Count() const { return static_cast<int>(Items_.size()); }
  // EListError for a position out of range.
  TCollectionItem* Items(int Index) const;
  // Destroys the item at Index (EListError when out of range).
  void Delete(int Index);
  // Destroys every item, last first.
  void Clear();

  // From another collection: Clear, then one new item per source item, each filled
  // by its Assign with the source item.
  void Assign(TPersistent* Source) override;

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* Item);
  void RemoveItem(TCollectionItem* Item);

  TCollectionItemClass ItemClass_;
  std::vector<TCollectionItem*> Items_;
};

}  // namespace gaugery
