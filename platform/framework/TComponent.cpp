#include "framework/TComponent.h"

#include <algorithm>
#include <iterator>

#include "framework/TextFunctions.h"

namespace gaugery {

namespace {

bool IsIdentifierStart(char C) { return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || C == '_'; }
bool IsIdentifierChar(char C) { return IsIdentifierStart(C) || (C >= '0' && C <= '9'); }

bool IsIdentifier(const std::string& Name) {
  return !Name.empty() && IsIdentifierStart(Name[0]) &&
         std::all_of(Name.begin() + 1, Name.end(), IsIdentifierChar);
}

void EraseAll(std::vector<TComponent*>& List, const TComponent* Component) {
  List.erase(std::remove(List.begin(), List.end(), Component), List.end());
}

void AddOnce(std::vector<TComponent*>& List, TComponent* Component) {
  if (std::find(List.begin(), List.end(), Component) == List.end()) List.push_back(Component);
}

}  // namespace

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner != nullptr) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  State_ |= csDestroying;
  NotifyRemoval();
  // Each owned component leaves this one in its destructor (RemoveComponent).
  while (!Components_.empty()) delete Components_.back();
  if (Owner_ != nullptr) Owner_->RemoveComponent(this);
}

void TComponent::SetName(const std::string& NewName) {
  if (NewName == Name_) return;
  if (!NewName.empty() && !IsIdentifier(NewName)) {
    throw Exception("\"" + NewName + "\" is not a valid component name");
  }
  if (Owner_ != nullptr) {
    const TComponent* Namesake = Owner_->FindComponent(NewName);
    if (Namesake != nullptr && Namesake != this) {
      throw Exception("A component named " + NewName + " already exists");
    }
    Owner_->UnlistName(*this);
  }
  Name_ = NewName;
  if (Owner_ != nullptr) Owner_->ListName(*this);
}

void TComponent::BeginLoading() { State_ |= csLoading; }

void TComponent::Loaded() { State_ &= ~static_cast<std::uint32_t>(csLoading); }

void TComponent::SetDesigning(bool Designing) {
  if (Designing) {
    State_ |= csDesigning;
  } else {
    State_ &= ~static_cast<std::uint32_t>(csDesigning);
  }
  for (TComponent* Component : Components_) Component->SetDesigning(Designing);
}

TComponent* TComponent::Components(int Index) const {
  if (Index < 0 || Index >= ComponentCount()) RaiseListIndexError(Index);
  return Components_[static_cast<std::size_t>(Index)];
}

TComponent* TComponent::FindComponent(const std::string& AName) const {
  if (AName.empty()) return nullptr;
  const auto Found = ByName_.find(LowerCase(AName));
  return Found == ByName_.end() ? nullptr : Found->second;
}

// Names are identifiers: their lower-case forms are equal exactly when SameText calls
// the names equal.
void TComponent::ListName(TComponent& Component) {
  if (!Component.Name_.empty()) ByName_[LowerCase(Component.Name_)] = &Component;
}

void TComponent::UnlistName(const TComponent& Component) {
  if (!Component.Name_.empty()) ByName_.erase(LowerCase(Component.Name_));
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (AComponent == nullptr || AComponent == this) return;
  // A component on its way out takes no new partners: its removal is already being told.
  if (((State_ | AComponent->State_) & csDestroying) != 0) return;
  AddOnce(FreeNotifies_, AComponent);
  AddOnce(AComponent->FreeNotifies_, this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  if (AComponent == nullptr) return;
  EraseAll(FreeNotifies_, AComponent);
  EraseAll(AComponent->FreeNotifies_, this);
}

// A removal is passed on to the owned components, last first and re-checked each step
// (a component told may remove others); an insertion concerns the owner only, so that
// filling a form stays linear.
void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation != TOperation::opRemove) return;
  if (AComponent != nullptr) EraseAll(FreeNotifies_, AComponent);
  for (std::size_t I = Components_.size(); I-- > 0;) {
    if (I < Components_.size()) Components_[I]->Notification(AComponent, Operation);
  }
}

void TComponent::InsertComponent(TComponent* AComponent) {
  Components_.push_back(AComponent);
  AComponent->Owner_ = this;
  if (IsDesigning()) AComponent->SetDesigning(true);
  try {
    Notification(AComponent, TOperation::opInsert);
  } catch (...) {
    // The component's constructor fails with this exception: leave no pointer to it.
    EraseAll(Components_, AComponent);
    AComponent->Owner_ = nullptr;
    throw;
  }
}

// While the owner is destroyed its components go from the last, and the others are not
// told: they go as well, and the ones that asked were told by FreeNotification.
void TComponent::RemoveComponent(TComponent* AComponent) {
  UnlistName(*AComponent);
  const auto Last = std::find(Components_.rbegin(), Components_.rend(), AComponent);
  if (Last != Components_.rend()) Components_.erase(std::next(Last).base());
  AComponent->Owner_ = nullptr;
  if ((State_ & csDestroying) == 0) Notification(AComponent, TOperation::opRemove);
}

void TComponent::NotifyRemoval() {
  while (!FreeNotifies_.empty()) {
    TComponent* Partner = FreeNotifies_.back();
    FreeNotifies_.pop_back();
    EraseAll(Partner->FreeNotifies_, this);
    Partner->Notification(this, TOperation::opRemove);
  }
}

}  // namespace gaugery
