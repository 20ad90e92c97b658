// The designer interfaces a host shares with its packages: the base property editor by
// kind, the editor and preview registries, and the palette's pages.
#include "framework/DesignIntf.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ErrorOf.h"
#include "framework/ComponentPreview.h"

namespace gaugery {
namespace {

using testing::ErrorOf;

class TNote : public TCollectionItem {
 public:
  using TCollectionItem::TCollectionItem;
};

// A component with one property of every kind.
class TDial : public TComponent {
 public:
  explicit TDial(TComponent* AOwner) : TComponent(AOwner), Notes_(&CollectionItemClass<TNote>) {}

  std::string Caption;
  std::int64_t Turns = 0;
  bool Locked = false;
  TDial* Partner = nullptr;
  TObject* Scratch = nullptr;
  TCollection* Notes() { return &Notes_; }

 private:
  TCollection Notes_;
};

class TBigDial : public TDial {
 public:
  using TDial::TDial;
};

// Publishes Caption too, through a member at another place than TDial's.
class TLamp : public TComponent {
 public:
  using TComponent::TComponent;
  std::int64_t Padding[4] = {};
  std::string Caption;
  // Same name as TDial's integer, another kind.
  std::string Turns;
};

const bool Registered = [] {
  RegisterPersistentClass<TNote>("TNote", {});
  RegisterComponentClass<TDial>(
      "TDial",
      {StringProperty<TDial>(
           "Caption", [](TDial* D) { return D->Caption; },
           [](TDial* D, const std::string& V) { D->Caption = V; }),
       IntegerProperty<TDial>(
           "Turns", [](TDial* D) { return D->Turns; },
           [](TDial* D, std::int64_t V) { D->Turns = V; }),
       BooleanProperty<TDial>(
           "Locked", [](TDial* D) { return D->Locked; }, [](TDial* D, bool V) { D->Locked = V; }),
       ComponentProperty<TDial, TDial>(
           "Partner", [](TDial* D) { return D->Partner; },
           [](TDial* D, TDial* V) { D->Partner = V; }),
       ObjectProperty<TDial, TObject>(
           "Scratch", [](TDial* D) { return D->Scratch; },
           [](TDial* D, TObject* V) { D->Scratch = V; }),
       CollectionProperty<TDial, TNote>("Notes", &TDial::Notes)});
  RegisterComponentClass<TBigDial, TDial>("TBigDial", {});
  RegisterComponentClass<TLamp>("TLamp",
                                {StringProperty<TLamp>(
                                     "Caption", [](TLamp* L) { return L->Caption; },
                                     [](TLamp* L, const std::string& V) { L->Caption = V; }),
                                 StringProperty<TLamp>(
                                     "Turns", [](TLamp* L) { return L->Turns; },
                                     [](TLamp* L, const std::string& V) { L->Turns = V; })});
  return true;
}();

std::unique_ptr<TPropertyEditor> EditorOf(TPersistent* Object, const std::string& Property) {
  return CreatePropertyEditor({Object}, Property);
}

std::vector<std::string> ValuesOf(TPropertyEditor& Editor) {
  std::vector<std::string> Values;
  Editor.GetValues([&](const std::string& Value) { Values.push_back(Value); });
  return Values;
}

TEST(BaseEditor, ShowsAndWritesEachKindAsText) {
  ASSERT_TRUE(Registered);
  TDial Dial(nullptr);
  Dial.Turns = 7;
  Dial.Locked = true;

  auto Turns = EditorOf(&Dial, "Turns");
  EXPECT_EQ(Turns->GetValue(), "7");
  Turns->SetValue("-12");
  EXPECT_EQ(Dial.Turns, -12);
  EXPECT_EQ(ErrorOf([&] { Turns->SetValue("many"); }), "'many' is not a valid integer value");
  EXPECT_EQ(Dial.Turns, -12);

  auto Locked = EditorOf(&Dial, "Locked");
  EXPECT_EQ(Locked->GetValue(), "True");
  EXPECT_EQ(ValuesOf(*Locked), (std::vector<std::string>{"False", "True"}));
  EXPECT_EQ(Locked->GetAttributes(), paValueList | paMultiSelect);
  Locked->SetValue("false");
  EXPECT_FALSE(Dial.Locked);
  EXPECT_EQ(ErrorOf([&] { Locked->SetValue("maybe"); }), "'maybe' is not a valid boolean value");

  // A collection is edited by the host's collection editor: one dialog row, one object.
  auto Notes = EditorOf(&Dial, "Notes");
  EXPECT_EQ(Notes->GetValue(), "(TCollection)");
  EXPECT_EQ(Notes->GetAttributes(), paDialog | paReadOnly);
  Notes->SetValue("ignored");
  EXPECT_EQ(Dial.Notes()->Count(), 0);

  auto Scratch = EditorOf(&Dial, "Scratch");
  EXPECT_EQ(Scratch->GetValue(), "");
  EXPECT_NE(Scratch->GetAttributes() & paReadOnly, 0u);
}

TEST(BaseEditor, LinksOfferTheFormsComponentsOfTheLinkedClass) {
  TDial Form(nullptr);
  Form.SetName("Form");
  auto* First = new TDial(&Form);
  First->SetName("First");
  auto* Big = new TBigDial(&Form);
  Big->SetName("Big");
  (new TLamp(&Form))->SetName("Lamp");
  new TDial(&Form);  // unnamed: cannot be stored as a link

  auto Partner = EditorOf(First, "Partner");
  EXPECT_EQ(Partner->GetAttributes(), paValueList | paSortList | paMultiSelect);
  EXPECT_EQ(ValuesOf(*Partner), (std::vector<std::string>{"Form", "First", "Big"}));
  Partner->SetValue("big");
  EXPECT_EQ(First->Partner, Big);
  EXPECT_EQ(Partner->GetValue(), "Big");
  EXPECT_EQ(ErrorOf([&] { Partner->SetValue("Lamp"); }), "Invalid property value");
  EXPECT_EQ(First->Partner, Big);
  Partner->SetValue("");
  EXPECT_EQ(First->Partner, nullptr);
}

TEST(BaseEditor, SeveralClassesAreWrittenThroughTheirOwnDescriptions) {
  TDial Dial(nullptr);
  TLamp Lamp(nullptr);
  auto Caption = CreatePropertyEditor({&Dial, &Lamp}, "Caption");
  ASSERT_NE(Caption, nullptr);
  Caption->SetValue("shared");
  EXPECT_EQ(Dial.Caption, "shared");
  EXPECT_EQ(Lamp.Caption, "shared");
  // The same name with another kind: no row for both.
  EXPECT_EQ(CreatePropertyEditor({&Dial, &Lamp}, "Turns"), nullptr);
  EXPECT_EQ(CreatePropertyEditor({&Dial, &Dial}, "Notes"), nullptr) << "not multi-select";
}

TEST(DesignIntf, DesignedFormIsTheOwnerOfAComponentOrOfAnItemsComponent) {
  TDial Form(nullptr);
  auto* Dial = new TDial(&Form);
  TCollectionItem* Note = Dial->Notes()->Add();
  EXPECT_EQ(DesignedFormOf(&Form), &Form);
  EXPECT_EQ(DesignedFormOf(Dial), &Form);
  EXPECT_EQ(DesignedFormOf(nullptr), nullptr);
  TNote Loose(nullptr);
  EXPECT_EQ(DesignedFormOf(&Loose), nullptr);
  // A bare collection has no owner to lead to the form.
  EXPECT_EQ(DesignedFormOf(Note), nullptr);
}

class TNamedPreview : public TComponentPreview {
 public:
  explicit TNamedPreview(std::string Name) : Name_(std::move(Name)) {}
  int SampleCount() const override { return 1; }
  void Sample() override {}
  TPreviewTable Table() override { return {{Name_}, {}}; }

 private:
  std::string Name_;
};

TComponentPreviewClass NamedPreview(const std::string& Name) {
  return [Name](TComponent*) { return std::make_unique<TNamedPreview>(Name); };
}

TEST(ComponentPreview, TheLatestRegistrationForTheClassOrAnAncestorServes) {
  TDial Dial(nullptr);
  TBigDial Big(nullptr);
  TLamp Lamp(nullptr);
  RegisterComponentPreview(typeid(TDial), NamedPreview("dial"));
  EXPECT_EQ(CreateComponentPreview(&Big)->Table().Columns.front(), "dial");
  RegisterComponentPreview(typeid(TBigDial), NamedPreview("big"));
  EXPECT_EQ(CreateComponentPreview(&Big)->Table().Columns.front(), "big");
  EXPECT_EQ(CreateComponentPreview(&Dial)->Table().Columns.front(), "dial");
  EXPECT_EQ(CreateComponentPreview(&Lamp), nullptr);
  EXPECT_EQ(CreateComponentPreview(nullptr), nullptr);
}

TEST(Palette, PagesKeepTheOrderOfTheirFirstRegistration) {
  const std::size_t Before = PalettePages().size();
  RegisterComponents("Second", {"TLamp"});
  RegisterComponents("First", {"TDial"});
  RegisterComponents("Second", {"TBigDial"});
  const std::vector<std::string> Pages = PalettePages();
  ASSERT_EQ(Pages.size(), Before + 2);
  EXPECT_EQ(Pages[Before], "Second");
  EXPECT_EQ(Pages[Before + 1], "First");
  EXPECT_EQ(PaletteClasses("Second"), (std::vector<std::string>{"TLamp", "TBigDial"}));
}

}  // namespace
}  // namespace gaugery
