#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/TCollection.h"
#include "framework/TList.h"
#include "framework/TStringList.h"

namespace gaugery {
namespace {

// An item that copies its text from another TTextItem and counts its destructions.
class TTextItem : public TCollectionItem {
 public:
  using TCollectionItem::TCollectionItem;
  ~TTextItem() override { ++Destroyed; }

  void Assign(TPersistent* Source) override {
    if (auto* From = dynamic_cast<TTextItem*>(Source)) {
      Text = From->Text + " (copy)";
      return;
    }
    TCollectionItem::Assign(Source);
  }

  std::string Text;
  static inline int Destroyed = 0;
};

class TOtherItem : public TCollectionItem {
 public:
  using TCollectionItem::TCollectionItem;
};

TTextItem* AddText(TCollection& Collection, const std::string& Text) {
  auto* Item = static_cast<TTextItem*>(Collection.Add());
  Item->Text = Text;
  return Item;
}

std::vector<std::string> TextsOf(const TCollection& Collection) {
  std::vector<std::string> Texts;
  for (int I = 0; I < Collection.Count(); ++I) {
    Texts.push_back(static_cast<TTextItem*>(Collection.Items(I))->Text);
  }
  return Texts;
}

TEST(TCollection, ItemsJoinOnCreationAndLeaveOnDestruction) {
  TCollection Collection(&CollectionItemClass<TTextItem>);
  AddText(Collection, "a");
  auto* Direct = new TTextItem(&Collection);  // created with its collection: appended
  AddText(Collection, "c");
  EXPECT_EQ(Collection.Count(), 3);
  EXPECT_EQ(Direct->Index(), 1);
  EXPECT_EQ(Direct->Collection(), &Collection);
  EXPECT_EQ(Direct->GetOwner(), &Collection);

  delete Direct;
  EXPECT_EQ(TextsOf(Collection), (std::vector<std::string>{"a", "c"}));
  Collection.Delete(0);
  EXPECT_EQ(TextsOf(Collection), std::vector<std::string>{"c"});
  EXPECT_THROW(Collection.Delete(1), EListError);
  EXPECT_THROW(Collection.Items(-1), EListError);

  TTextItem Loose(nullptr);
  EXPECT_EQ(Loose.Index(), -1);
}

TEST(TCollection, DestructionAndClearDestroyEveryItem) {
  TTextItem::Destroyed = 0;
  {
    TCollection Collection(&CollectionItemClass<TTextItem>);
    AddText(Collection, "a");
    AddText(Collection, "b");
    Collection.Clear();
    EXPECT_EQ(TTextItem::Destroyed, 2);
    EXPECT_EQ(Collection.Count(), 0);
    AddText(Collection, "c");
  }
  EXPECT_EQ(TTextItem::Destroyed, 3);
}

TEST(TCollection, SetIndexMovesAnItemAndShiftsTheOthers) {
  TCollection Collection(&CollectionItemClass<TTextItem>);
  for (const char* Text : {"a", "b", "c", "d"}) AddText(Collection, Text);
  Collection.Items(0)->SetIndex(2);
  EXPECT_EQ(TextsOf(Collection), (std::vector<std::string>{"b", "c", "a", "d"}));
  Collection.Items(3)->SetIndex(0);
  EXPECT_EQ(TextsOf(Collection), (std::vector<std::string>{"d", "b", "c", "a"}));
  Collection.Items(1)->SetIndex(1);
  EXPECT_EQ(TextsOf(Collection), (std::vector<std::string>{"d", "b", "c", "a"}));
  EXPECT_THROW(Collection.Items(1)->SetIndex(4), EListError);
  EXPECT_THROW(Collection.Items(1)->SetIndex(-1), EListError);
  EXPECT_EQ(TextsOf(Collection), (std::vector<std::string>{"d", "b", "c", "a"}));
}

TEST(TCollection, AssignReplacesItemsByCopiesMadeWithTheItemsAssign) {
  TCollection Source(&CollectionItemClass<TTextItem>);
  AddText(Source, "x");
  AddText(Source, "y");
  TCollection Target(&CollectionItemClass<TTextItem>);
  AddText(Target, "old");

  Target.Assign(&Source);
  EXPECT_EQ(TextsOf(Target), (std::vector<std::string>{"x (copy)", "y (copy)"}));
  EXPECT_NE(Target.Items(0), Source.Items(0)) << "new items, not the source's";

  Target.Assign(&Target);  // from itself: unchanged
  EXPECT_EQ(TextsOf(Target), (std::vector<std::string>{"x (copy)", "y (copy)"}));

  TCollection Empty(&CollectionItemClass<TTextItem>);
  Target.Assign(&Empty);
  EXPECT_EQ(Target.Count(), 0);

  TCollection Others(&CollectionItemClass<TOtherItem>);
  Others.Add();
  try {
    Target.Assign(&Others);
    FAIL() << "an item that cannot copy the source item";
  } catch (const EConvertError& Error) {
    EXPECT_EQ(Error.Message(), "Cannot assign a TOtherItem to a TTextItem");
  }
}

TEST(TStringList, LinesWithObjectsTheListDoesNotOwn) {
  TObject Attached;
  {
    TStringList List;
    EXPECT_EQ(List.Add("one"), 0);
    EXPECT_EQ(List.AddObject("two", &Attached), 1);
    List.Insert(0, "zero");
    EXPECT_EQ(List.Strings(0), "zero");
    EXPECT_EQ(List.Objects(2), &Attached);
    EXPECT_EQ(List.IndexOfObject(&Attached), 2);
    List.Delete(1);
    EXPECT_EQ(List.Text(), "zero\ntwo\n");

    TStringList Copy;
    Copy.Add("replaced");
    Copy.Assign(&List);
    EXPECT_EQ(Copy.Text(), "zero\ntwo\n");
    EXPECT_EQ(Copy.Objects(1), &Attached);

    for (int Index : {-1, 2}) {
      try {
        List.Strings(Index);
        FAIL() << "no list-index error for " << Index;
      } catch (const EListError& Error) {
        EXPECT_EQ(Error.Message(), "List index out of bounds (" + std::to_string(Index) + ")");
      }
    }
    List.Clear();
    EXPECT_EQ(List.Count(), 0);
  }
  EXPECT_EQ(Attached.ClassName(), "TObject") << "clearing and destroying leave objects alone";
}

TEST(TStringList, IndexOfIgnoresCaseAlsoBeyondAscii) {
  TStringList List;
  List.Add("Prozessor");
  List.Add("ärger");
  List.Add("ÄRGER");
  List.Add("Ölkännchen");
  EXPECT_EQ(List.IndexOf("PROZESSOR"), 0);
  EXPECT_EQ(List.IndexOf("ÄRGER"), 1) << "the first match";
  EXPECT_EQ(List.IndexOf("ölKÄNNCHEN"), 3);
  EXPECT_EQ(List.IndexOf("Arger"), -1) << "accents are not case";
  EXPECT_EQ(List.IndexOf("Prozess"), -1);
  EXPECT_EQ(List.IndexOf(""), -1);
}

TEST(TStringList, NamesAndValuesSplitAtTheFirstEquals) {
  TStringList List;
  List.Add("238=Processor");
  List.Add("Path=a=b");
  List.Add("path=second");
  List.Add("=nameless");
  List.Add("plain");
  EXPECT_EQ(List.Names(0), "238");
  EXPECT_EQ(List.ValueFromIndex(0), "Processor");
  EXPECT_EQ(List.Names(1), "Path");
  EXPECT_EQ(List.ValueFromIndex(1), "a=b");
  EXPECT_EQ(List.Values("PATH"), "a=b") << "the first line with that name";
  EXPECT_EQ(List.IndexOfName("path"), 1);
  EXPECT_EQ(List.Values(""), "nameless");
  EXPECT_EQ(List.ValueFromIndex(4), "");
  EXPECT_EQ(List.Values("missing"), "");
  EXPECT_EQ(List.IndexOfName("missing"), -1);
}

TEST(TList, UntypedReferences) {
  int A = 0;
  int B = 0;
  TList List;
  EXPECT_EQ(List.Add(&A), 0);
  EXPECT_EQ(List.Add(&B), 1);
  EXPECT_EQ(List.Add(&A), 2);
  EXPECT_EQ(List.Add(nullptr), 3);
  EXPECT_EQ(List.Items(1), &B);

  EXPECT_EQ(List.Remove(&A), 0) << "the first occurrence";
  EXPECT_EQ(List.Count(), 3);
  EXPECT_EQ(List.Items(1), &A);
  EXPECT_EQ(List.Remove(&A), 1);
  EXPECT_EQ(List.Remove(&A), -1);
  EXPECT_EQ(List.IndexOf(nullptr), 1);
  EXPECT_THROW(List.Items(2), EListError);
  EXPECT_THROW(List.Delete(-1), EListError);
}

}  // namespace
}  // namespace gaugery
