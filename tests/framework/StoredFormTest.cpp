#include "framework/StoredForm.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ErrorOf.h"
#include "framework/TypeInfo.h"

namespace gaugery {
namespace {

using testing::ErrorOf;

// What the sample classes were told, in order.
std::vector<std::string> Log;
// Sample components alive right now.
int LiveBoxes = 0;

class TTag : public TCollectionItem {
 public:
  using TCollectionItem::TCollectionItem;
  const std::string& Text() const { return Text_; }
  void SetText(const std::string& Value) { Text_ = Value; }
  std::int64_t Weight() const { return Weight_; }
  void SetWeight(std::int64_t Value) { Weight_ = Value; }

 private:
  std::string Text_;
  std::int64_t Weight_ = 0;
};

class TBox : public TComponent {
 public:
  explicit TBox(TComponent* AOwner) : TComponent(AOwner), Tags_(&CollectionItemClass<TTag>) {
    ++LiveBoxes;
  }
  ~TBox() override { --LiveBoxes; }

  const std::string& Caption() const { return Caption_; }
  void SetCaption(const std::string& Value) {
    if (Value == "refused") throw Exception("Caption refused");
    Told("Caption");
    Caption_ = Value;
  }
  std::int64_t Size() const { return Size_; }
  void SetSize(std::int64_t Value) {
    Told("Size");
    Size_ = Value;
  }
  bool Visible() const { return Visible_; }
  void SetVisible(bool Value) {
    Told("Visible");
    Visible_ = Value;
  }
  TCollection* Tags() { return &Tags_; }
  TBox* Buddy() const { return Buddy_; }
  void SetBuddy(TBox* Value) {
    Told("Buddy");
    Buddy_ = Value;
  }
  TObject* Scratch() const { return Scratch_; }
  void SetScratch(TObject* Value) { Scratch_ = Value; }

  void Loaded() override {
    Log.push_back(Name() + ".Loaded");
    TComponent::Loaded();
  }

 private:
  void Told(const std::string& Property) {
    Log.push_back(Name() + "." + Property + (IsLoading() ? " loading" : ""));
  }

  std::string Caption_;
  std::int64_t Size_ = 0;
  bool Visible_ = false;
  TCollection Tags_;
  TBox* Buddy_ = nullptr;
  TObject* Scratch_ = nullptr;
};

// A box that adds a property of its own after the inherited ones.
class TFancyBox : public TBox {
 public:
  using TBox::TBox;
  const std::string& Style() const { return Style_; }
  void SetStyle(const std::string& Value) { Style_ = Value; }

 private:
  std::string Style_;
};

// Known to the registry but not creatable by name.
class THiddenBox : public TBox {
 public:
  using TBox::TBox;
};

const bool Registered = [] {
  RegisterPersistentClass<TTag>("TTag",
                                {StringProperty<TTag>("Text", &TTag::Text, &TTag::SetText),
                                 IntegerProperty<TTag>("Weight", &TTag::Weight, &TTag::SetWeight)});
  RegisterComponentClass<TBox>(
      "TBox", {StringProperty<TBox>("Caption", &TBox::Caption, &TBox::SetCaption),
               IntegerProperty<TBox>("Size", &TBox::Size, &TBox::SetSize),
               BooleanProperty<TBox>("Visible", &TBox::Visible, &TBox::SetVisible),
               CollectionProperty<TBox, TTag>("Tags", &TBox::Tags),
               ComponentProperty<TBox, TBox>("Buddy", &TBox::Buddy, &TBox::SetBuddy),
               ObjectProperty<TBox, TObject>("Scratch", &TBox::Scratch, &TBox::SetScratch)});
  RegisterComponentClass<TFancyBox, TBox>(
      "TFancyBox", {StringProperty<TFancyBox>("Style", &TFancyBox::Style, &TFancyBox::SetStyle)});
  RegisterPersistentClass<THiddenBox, TBox>("THiddenBox", {});
  return true;
}();

class StoredFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Registered);
    Log.clear();
  }
  void TearDown() override { EXPECT_EQ(LiveBoxes, 0) << "a box outlived its test"; }
};

// A root box owning a fancy box, which names the root as its buddy and back.
std::unique_ptr<TBox> SampleForm() {
  auto Root = std::make_unique<TBox>(nullptr);
  Root->SetName("Root");
  Root->SetCaption("Main \"window\"");
  Root->SetSize(-9007199254740993);
  auto* Fancy = new TFancyBox(Root.get());
  Fancy->SetName("Fancy");
  Fancy->SetStyle("bold");
  Fancy->SetVisible(true);
  Fancy->SetBuddy(Root.get());
  auto* Tag = static_cast<TTag*>(Fancy->Tags()->Add());
  Tag->SetText("first");
  Tag->SetWeight(3);
  Fancy->Tags()->Add();
  Root->SetBuddy(Fancy);
  return Root;
}

const char* const SampleText = R"({
  "class": "TBox",
  "name": "Root",
  "Caption": "Main \"window\"",
  "Size": -9007199254740993,
  "Visible": false,
  "Tags": [],
  "Buddy": "Fancy",
  "components": [
    {
      "class": "TFancyBox",
      "name": "Fancy",
      "Caption": "",
      "Size": 0,
      "Visible": true,
      "Tags": [
        {
          "Text": "first",
          "Weight": 3
        },
        {
          "Text": "",
          "Weight": 0
        }
      ],
      "Buddy": "Root",
      "Style": "bold"
    }
  ]
}
)";

TEST_F(StoredFormTest, WritesStoredPropertiesInDeclarationOrderAndReadsThemBack) {
  const std::string Written = WriteComponentForm(SampleForm().get());
  EXPECT_EQ(Written, SampleText);

  std::unique_ptr<TComponent> Read(ReadComponentForm(Written, nullptr));
  EXPECT_EQ(WriteComponentForm(Read.get()), Written);
  auto* Root = dynamic_cast<TBox*>(Read.get());
  ASSERT_NE(Root, nullptr);
  auto* Fancy = dynamic_cast<TFancyBox*>(Root->FindComponent("Fancy"));
  ASSERT_NE(Fancy, nullptr);
  EXPECT_EQ(Root->Buddy(), Fancy);
  EXPECT_EQ(Fancy->Buddy(), Root);
  EXPECT_EQ(Root->Size(), -9007199254740993);
  EXPECT_EQ(static_cast<TTag*>(Fancy->Tags()->Items(0))->Text(), "first");
  EXPECT_EQ(Fancy->Tags()->Count(), 2);
}

TEST_F(StoredFormTest, AppliesPropertiesInDeclarationOrderWhileEverythingIsLoading) {
  // Keys in reverse order; the root refers to a component listed after it, in other
  // letter case.
  const std::string Text = R"({"components": [{"Buddy": null, "Size": 2, "name": "B",
      "class": "TBox"}], "Buddy": "b", "Caption": "c", "name": "A", "class": "TBox"})";
  std::unique_ptr<TComponent> Root(ReadComponentForm(Text, nullptr));
  EXPECT_EQ(Log, (std::vector<std::string>{"A.Caption loading", "A.Buddy loading", "B.Size loading",
                                           "B.Buddy loading", "A.Loaded", "B.Loaded"}));
  EXPECT_FALSE(Root->IsLoading());
  EXPECT_FALSE(Root->Components(0)->IsLoading());
  EXPECT_EQ(static_cast<TBox*>(Root.get())->Buddy(), Root->Components(0));
}

TEST_F(StoredFormTest, MissingPropertiesKeepTheirDefaults) {
  TComponent Owner(nullptr);
  TComponent* Root = ReadComponentForm(R"({"class": "TBox", "name": "Box"})", &Owner);
  EXPECT_EQ(Root->Owner(), &Owner);
  EXPECT_EQ(static_cast<TBox*>(Root)->Size(), 0);
}

struct TRefusal {
  const char* Text;
  const char* Message;
};

TEST_F(StoredFormTest, RefusesBadFormsNamingThePlaceAndLeavesNothingBehind) {
  const TRefusal Refusals[] = {
      {R"({"class": "TBox",)",
       "Invalid stored form: parse error at line 1, column 18: syntax error while parsing "
       "object key - unexpected end of input; expected string literal"},
      {R"({"class": "TBox", "Size": 1E400})",
       "Invalid stored form: number overflow parsing '1E400'"},
      {R"([])", "Invalid stored form at /: expected a component object"},
      {R"({"name": "A"})", "Invalid stored form at /class: the class is missing"},
      {R"({"class": "TNothing"})", "Invalid stored form at /class: unknown class \"TNothing\""},
      {R"({"class": "THiddenBox"})",
       "Invalid stored form at /class: class THiddenBox cannot be created by name"},
      {R"({"class": "TBox", "name": 7})",
       "Invalid stored form at /name: expected a component name"},
      {R"({"class": "TBox", "Colour": 1})",
       "Invalid stored form at /Colour: unknown property \"Colour\" of TBox"},
      {R"({"class": "TBox", "Style": "x"})",
       "Invalid stored form at /Style: unknown property \"Style\" of TBox"},
      {R"({"class": "TBox", "Scratch": null})",
       "Invalid stored form at /Scratch: property \"Scratch\" of TBox is not stored"},
      {R"({"class": "TBox", "Caption": 5})", "Invalid stored form at /Caption: expected a string"},
      {R"({"class": "TBox", "Size": "5"})", "Invalid stored form at /Size: expected an integer"},
      {R"({"class": "TBox", "Size": 1.5})", "Invalid stored form at /Size: expected an integer"},
      {R"({"class": "TBox", "Size": 9223372036854775808})",
       "Invalid stored form at /Size: expected an integer"},
      {R"({"class": "TBox", "Visible": 1})",
       "Invalid stored form at /Visible: expected true or false"},
      {R"({"class": "TBox", "Tags": {}})",
       "Invalid stored form at /Tags: expected an array of items"},
      {R"({"class": "TBox", "Tags": [{"Text": "a"}, "b"]})",
       "Invalid stored form at /Tags/1: expected an item object"},
      {R"({"class": "TBox", "Tags": [{"Weight": true}]})",
       "Invalid stored form at /Tags/0/Weight: expected an integer"},
      {R"({"class": "TBox", "Tags": [{"class": "TTag"}]})",
       "Invalid stored form at /Tags/0/class: unknown property \"class\" of TTag"},
      {R"({"class": "TBox", "Buddy": 3})",
       "Invalid stored form at /Buddy: expected a component name or null"},
      {R"({"class": "TBox", "name": "A", "Buddy": "Ghost"})",
       "Invalid stored form at /Buddy: no component named \"Ghost\" in the form"},
      {R"({"class": "TComponent", "name": "F", "components": [{"class": "TBox", "Buddy": "F"}]})",
       "Invalid stored form at /components/0/Buddy: component \"F\" is not a TBox"},
      {R"({"class": "TBox", "components": {}})",
       "Invalid stored form at /components: expected an array of components"},
      {R"({"class": "TBox", "components": [{"class": "TBox", "components": []}]})",
       "Invalid stored form at /components/0/components: only the root lists components"},
      {R"({"class": "TBox", "name": "A", "components": [{"class": "TBox", "name": "a"}]})",
       "Invalid stored form at /components/0/name: duplicate component name \"a\""},
      {R"({"class": "TBox", "name": "1A"})",
       "Invalid stored form at /name: \"1A\" is not a valid component name"},
      {R"({"class": "TBox", "components": [{"class": "TBox", "Caption": "refused"}]})",
       "Invalid stored form at /components/0/Caption: Caption refused"},
  };
  TComponent Owner(nullptr);
  for (const TRefusal& Refusal : Refusals) {
    SCOPED_TRACE(Refusal.Text);
    EXPECT_EQ(ErrorOf([&] { ReadComponentForm(Refusal.Text, &Owner); }), Refusal.Message);
    EXPECT_EQ(LiveBoxes, 0);
    EXPECT_EQ(Owner.ComponentCount(), 0);
  }
}

TEST_F(StoredFormTest, ReadsIntoAnExistingRootReusingItsComponents) {
  TBox Root(nullptr);
  auto* Kept = new TBox(&Root);
  Kept->SetName("Kept");
  ReadComponentFormInto(&Root, R"({"class": "TBox", "name": "Main", "components": [
      {"class": "TBox", "name": "Kept", "Size": 4}, {"class": "TBox", "name": "Added"}]})");
  EXPECT_EQ(Root.Name(), "Main");
  EXPECT_EQ(Root.ComponentCount(), 2);
  EXPECT_EQ(Kept->Size(), 4);
  EXPECT_EQ(Root.Components(1)->Name(), "Added");

  // A failure removes what this read added and ends loading of the rest.
  EXPECT_THROW(ReadComponentFormInto(&Root, R"({"class": "TBox", "components": [
      {"class": "TBox", "name": "Kept"}, {"class": "TBox", "name": "New"},
      {"class": "TBox", "Caption": "refused"}]})"),
               Exception);
  EXPECT_EQ(Root.ComponentCount(), 2);
  EXPECT_EQ(Root.FindComponent("New"), nullptr);
  EXPECT_FALSE(Root.IsLoading());
  EXPECT_FALSE(Kept->IsLoading());

  EXPECT_EQ(ErrorOf([&] { ReadComponentFormInto(&Root, R"({"class": "TFancyBox"})"); }),
            "Invalid stored form at /class: the root is not a TFancyBox");
  EXPECT_EQ(ErrorOf([&] {
              ReadComponentFormInto(&Root, R"({"class": "TBox", "components": [
        {"class": "TFancyBox", "name": "Kept"}]})");
            }),
            "Invalid stored form at /components/0/class: the root's component \"Kept\" is "
            "not a TFancyBox");
}

TEST_F(StoredFormTest, RefusesToWriteWhatCannotBeReadBack) {
  TBox Root(nullptr);
  TBox Stranger(nullptr);
  Root.SetBuddy(&Stranger);
  EXPECT_EQ(ErrorOf([&] { WriteComponentForm(&Root); }),
            "Cannot write stored form at /Buddy: the component is not part of the form");
  Root.SetBuddy(new TBox(&Root));
  EXPECT_EQ(ErrorOf([&] { WriteComponentForm(&Root); }),
            "Cannot write stored form at /Buddy: the component has no name");
  Root.SetBuddy(nullptr);
  class TUnknown : public TComponent {
   public:
    using TComponent::TComponent;
  };
  new TUnknown(&Root);
  EXPECT_EQ(ErrorOf([&] { WriteComponentForm(&Root); }),
            "Cannot write stored form at /components/1: class TUnknown is not registered");
}

TEST_F(StoredFormTest, RegistryDescribesInheritedPropertiesFirstAndRefusesClashes) {
  const TClassInfo* Fancy = FindClassInfo("TFancyBox");
  ASSERT_NE(Fancy, nullptr);
  std::vector<std::string> Names;
  for (const TPropertyInfo* Property : PublishedProperties(*Fancy)) Names.push_back(Property->Name);
  EXPECT_EQ(Names, (std::vector<std::string>{"Caption", "Size", "Visible", "Tags", "Buddy",
                                             "Scratch", "Style"}));
  EXPECT_TRUE(InheritsFrom(*Fancy, typeid(TBox)));
  EXPECT_FALSE(InheritsFrom(*FindClassInfo("TBox"), typeid(TFancyBox)));

  EXPECT_THROW(RegisterComponentClass<TBox>("TOtherBox", {}), Exception);
  class TNamed : public TComponent {
   public:
    using TComponent::TComponent;
    std::string Get() const { return {}; }
    void Set(const std::string&) {}
  };
  EXPECT_THROW(RegisterComponentClass<TNamed>(
                   "TNamed", {StringProperty<TNamed>("name", &TNamed::Get, &TNamed::Set)}),
               Exception);
  EXPECT_EQ(FindClassInfo("TNamed"), nullptr);
}

}  // namespace
}  // namespace gaugery
