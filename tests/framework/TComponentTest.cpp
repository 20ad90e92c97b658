#include "framework/TComponent.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace gaugery {
namespace {

// Shared by all probes of a test: who was told what, in order.
using TLog = std::vector<std::string>;

// A component that links to another one and records what it is told.
class TProbe : public TComponent {
 public:
  TProbe(TComponent* AOwner, const std::string& AName, TLog* ALog)
      : TComponent(AOwner), Log_(ALog) {
    SetName(AName);
  }
  ~TProbe() override { Log_->push_back("~" + Name()); }

  // Links to Target the way a component property does: asks to be told when it goes.
  void Link(TProbe* Target) {
    Linked = Target;
    Target->FreeNotification(this);
  }

  void Loaded() override {
    Log_->push_back(Name() + ".Loaded loading=" + std::to_string(IsLoading()));
    TComponent::Loaded();
  }

  TProbe* Linked = nullptr;
  // The components it was told are going, in order.
  std::vector<TComponent*> Removed;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opInsert) return;
    Removed.push_back(AComponent);
    Log_->push_back(Name() + " told");
    if (AComponent == Linked) Linked = nullptr;
  }

 private:
  TLog* Log_;
};

TEST(TComponent, OwnerDestroysOwnedComponentsLastFirst) {
  TLog Log;
  auto* Owner = new TProbe(nullptr, "Owner", &Log);
  auto* A = new TProbe(Owner, "A", &Log);
  new TProbe(Owner, "B", &Log);
  ASSERT_EQ(Owner->ComponentCount(), 2);
  EXPECT_EQ(Owner->Components(0), A);
  EXPECT_EQ(A->Owner(), Owner);
  EXPECT_EQ(A->GetOwner(), Owner);

  delete Owner;
  // The children go without being told of each other: they all go.
  EXPECT_EQ(Log, (TLog{"~Owner", "~B", "~A"}));
}

TEST(TComponent, DeletingAnOwnedComponentLeavesItsOwner) {
  TLog Log;
  TProbe Owner(nullptr, "Owner", &Log);
  auto* A = new TProbe(&Owner, "A", &Log);
  auto* B = new TProbe(&Owner, "B", &Log);
  delete A;
  ASSERT_EQ(Owner.ComponentCount(), 1);
  EXPECT_EQ(Owner.Components(0), B);
  // The owner is told, and through it its other components.
  EXPECT_EQ(Log, (TLog{"~A", "B told", "Owner told"}));
  try {
    Owner.Components(1);
    FAIL() << "no list-index error";
  } catch (const EListError& Error) {
    EXPECT_STREQ(Error.what(), "List index out of bounds (1)");
  }
}

TEST(TComponent, FreeNotificationWorksBothWaysAndOnlyOnce) {
  TLog Log;
  auto* Target = new TProbe(nullptr, "Target", &Log);
  auto* Holder = new TProbe(nullptr, "Holder", &Log);
  Holder->Link(Target);
  Target->FreeNotification(Holder);  // asking twice is asking once
  delete Target;
  EXPECT_EQ(Holder->Linked, nullptr);
  EXPECT_EQ(Holder->Removed.size(), 1u);

  // The holder goes first: the target is told, and the holder is not called later.
  Target = new TProbe(nullptr, "Target", &Log);
  Holder->Link(Target);
  delete Holder;
  EXPECT_EQ(Target->Removed.size(), 1u);
  delete Target;  // must not reach the destroyed holder
}

TEST(TComponent, RemovedFreeNotificationIsNotTold) {
  TLog Log;
  TProbe Holder(nullptr, "Holder", &Log);
  auto* Target = new TProbe(nullptr, "Target", &Log);
  Holder.Link(Target);
  Target->RemoveFreeNotification(&Holder);
  delete Target;
  EXPECT_TRUE(Holder.Removed.empty());
}

TEST(TComponent, OwnerDestroyingLinkedSiblingsLeavesNoDanglingLink) {
  TLog Log;
  auto* Form = new TProbe(nullptr, "Form", &Log);
  auto* First = new TProbe(Form, "First", &Log);
  auto* Second = new TProbe(Form, "Second", &Log);
  auto* Outside = new TProbe(nullptr, "Outside", &Log);
  First->Link(Second);
  Second->Link(First);
  Outside->Link(First);
  delete Form;
  EXPECT_EQ(Outside->Linked, nullptr);
  delete Outside;  // would touch First if its link had survived
}

TEST(TComponent, LoadingAndDesigningFlags) {
  TLog Log;
  TProbe Form(nullptr, "Form", &Log);
  auto* Child = new TProbe(&Form, "Child", &Log);
  Child->BeginLoading();
  EXPECT_TRUE(Child->IsLoading());
  EXPECT_NE(Child->ComponentState() & csLoading, 0u);
  EXPECT_FALSE(Form.IsLoading()) << "the flag is per component";
  Child->Loaded();
  EXPECT_EQ(Log.back(), "Child.Loaded loading=1") << "Loaded runs while the flag is still set";
  EXPECT_FALSE(Child->IsLoading());

  Form.SetDesigning(true);
  EXPECT_TRUE(Child->IsDesigning());
  auto* Later = new TProbe(&Form, "Later", &Log);
  EXPECT_TRUE(Later->IsDesigning()) << "a component joining a designed owner is designed";
  Form.SetDesigning(false);
  EXPECT_FALSE(Later->IsDesigning());
}

TEST(TComponent, NamesAreIdentifiersUniqueAmongSiblingsIgnoringCase) {
  TLog Log;
  TProbe Form(nullptr, "Form", &Log);
  auto* Filter = new TProbe(&Form, "PerfFilter1", &Log);
  auto* Other = new TProbe(&Form, "", &Log);
  EXPECT_EQ(Form.FindComponent("PERFFILTER1"), Filter);
  EXPECT_EQ(Form.FindComponent(""), nullptr) << "unnamed components are never found";

  auto MessageOf = [&](const std::string& Name) -> std::string {
    try {
      Other->SetName(Name);
    } catch (const Exception& Error) {
      return Error.Message();
    }
    return "";
  };
  EXPECT_EQ(MessageOf("perffilter1"), "A component named perffilter1 already exists");
  EXPECT_EQ(MessageOf("1st"), "\"1st\" is not a valid component name");
  EXPECT_EQ(MessageOf("a b"), "\"a b\" is not a valid component name");
  EXPECT_EQ(Other->Name(), "") << "a refused name leaves the old one";
  EXPECT_EQ(MessageOf("_Monitor2"), "");
  Filter->SetName("PERFFILTER1");  // its own name in other letters
  EXPECT_EQ(Filter->Name(), "PERFFILTER1");
}

TEST(TComponent, NamesGoneByRenameOrDestructionAreFreeAgain) {
  TLog Log;
  TProbe Form(nullptr, "Form", &Log);
  auto* First = new TProbe(&Form, "First", &Log);
  auto* Second = new TProbe(&Form, "Second", &Log);
  First->SetName("Renamed");
  EXPECT_EQ(Form.FindComponent("first"), nullptr);
  EXPECT_EQ(Form.FindComponent("RENAMED"), First);
  Second->SetName("First");
  EXPECT_EQ(Form.FindComponent("First"), Second);
  delete First;
  EXPECT_EQ(Form.FindComponent("Renamed"), nullptr);
  Second->SetName("");
  EXPECT_EQ(Form.FindComponent("First"), nullptr);
  auto* Third = new TProbe(&Form, "renamed", &Log);
  EXPECT_EQ(Form.FindComponent("Renamed"), Third);
}

class TOther : public TPersistent {};

TEST(TObject, ClassNamesChecksAndDefaultAssign) {
  TLog Log;
  TProbe Probe(nullptr, "Probe", &Log);
  EXPECT_EQ(Probe.ClassName(), "TProbe");

  TObject* AsObject = &Probe;
  EXPECT_EQ(As<TComponent>(AsObject), &Probe);
  EXPECT_EQ(As<TComponent>(static_cast<TObject*>(nullptr)), nullptr);
  TOther Other;
  AsObject = &Other;
  try {
    As<TComponent>(AsObject);
    FAIL() << "no invalid-cast error";
  } catch (const EInvalidCast& Error) {
    EXPECT_EQ(Error.Message(), "Invalid class typecast");
  }

  try {
    Other.Assign(&Probe);
    FAIL() << "no conversion error";
  } catch (const EConvertError& Error) {
    EXPECT_EQ(Error.Message(), "Cannot assign a TProbe to a TOther");
  }
  EXPECT_THROW(Other.Assign(nullptr), EConvertError);

  auto* Doomed = new TOther;
  FreeAndNil(Doomed);
  EXPECT_EQ(Doomed, nullptr);
  FreeAndNil(Doomed);  // freeing a null reference does nothing
}

}  // namespace
}  // namespace gaugery
