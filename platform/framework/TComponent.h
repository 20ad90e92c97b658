// Components: persistent objects with an owner, a name and a component state.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "framework/LibraryExport.h"
#include "framework/TPersistent.h"

namespace gaugery {

enum TComponentStateFlag : std::uint32_t {
  csLoading = 1u << 0,     // being read from a stored form
  csDesigning = 1u << 1,   // shown in the form designer
  csDestroying = 1u << 2,  // its destructor is running
};

enum class TOperation { opInsert, opRemove };

class GAUGERY_PLATFORM_API TComponent : public TPersistent {
 public:
  // Joins AOwner's components (when not null); the owner destroys it.
  explicit TComponent(TComponent* AOwner);
  // Tells every component that asked for it (FreeNotification), and the owner's other
  // components unless the owner is being destroyed too, that this one goes; destroys
  // the owned components, last first; leaves the owner.
  ~TComponent() override;

  TComponent* Owner() const { return Owner_; }
  TPersistent* GetOwner() override { return Owner_; }

  const std::string& Name() const { return Name_; }
  // An empty name or an identifier (letter or "_" first, then letters, digits, "_")
  // that no other component of the same owner carries (ignoring case); else Exception
  // ""<name>" is not a valid component name" or "A component named <name> already exists".
  void SetName(const std::string& NewName);

  std::uint32_t ComponentState() const { return State_; }
  bool IsLoading() const { return (State_ & csLoading) != 0; }
  bool IsDesigning() const { return (State_ & csDesigning) != 0; }

  // Sets csLoading on this component; Loaded clears it again.
  void BeginLoading();
  // Called once the whole stored form has been read; derived classes finish their
  // set-up here and must call the base, which clears csLoading.
  virtual void Loaded();
  void SetDesigning(bool Designing);

  int ComponentCount() const { return static_cast<int>(Components_.size()); }
  // EListError for a position out of range.
  TComponent* Components(int Index) const;
  // The owned component with that name (ignoring case), or null.
  TComponent* FindComponent(const std::string& AName) const;

  // Asks that AComponent's Notification be called with opRemove when this component
  // is destroyed (and the other way round). Asking twice is the same as once.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

 protected:
  // Told that AComponent is inserted into this component or removed from the form.
  // Removals are passed on to the owned components. During opRemove AComponent is
  // being destroyed: compare the pointer, never call it.
  virtual void Notification(TComponent* AComponent, TOperation Operation);

 private:
  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);
  void NotifyRemoval();
  void ListName(TComponent& Component);
  void UnlistName(const TComponent& Component);

  TComponent* Owner_ = nullptr;
  std::string Name_;
  std::uint32_t State_ = 0;
  std::vector<TComponent*> Components_;
  // The owned components that have a name, by their name in lower case.
  std::unordered_map<std::string, TComponent*> ByName_;
  std::vector<TComponent*> FreeNotifies_;
};

// Makes Value the component Linker links to through Link: Linker stops watching the old
// one and watches the new one, so that its Notification can forget a linked component
// that is destroyed.
template <class T>
void LinkComponent(TComponent& Linker, T*& Link, T* Value) {
  if (Value == Link) return;
  if (Link != nullptr) Link->RemoveFreeNotification(&Linker);
  Link = Value;
  if (Link != nullptr) Link->FreeNotification(&Linker);
}

}  // namespace gaugery
