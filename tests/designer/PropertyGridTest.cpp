// The object inspector: rows from the published properties, the editors' say per row,
// the multi-selection rule, and values the components refuse.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QToolButton>

#include "DesignerTesting.h"
#include "FormSurface.h"
#include "PropertyGrid.h"

namespace gaugery {
namespace {

using testing::CollectionOf;
using ::testing::Contains;
using testing::DropDownEntries;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::PickEntry;
using testing::RowOf;
using testing::TextOf;
using testing::TypeText;

// A filter in locale "009" with one item on Process and Working Set, chosen from the
// drop-downs; the form counts as saved.
class PropertyGridTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Window.show();
    Filter = Window.Surface()->DropComponent("TPerfFilter");
    PickEntry(RowOf(Window, QStringLiteral("LocaleID")), QStringLiteral("009"));
    Item = Window.Form().AddItem(CollectionOf(Filter, "Items"));
    Window.Form().Select({Item});
    PickEntry(Row("ObjectName"), QStringLiteral("Process"));
    PickEntry(Row("CounterName"), QStringLiteral("Working Set"));
    Window.SaveFile(Folder.filePath(QStringLiteral("form.json")));
  }

  TPropertyRow& Row(const char* Property) { return RowOf(Window, QString::fromLatin1(Property)); }

  QTemporaryDir Folder;
  TDesignerWindow Window{testing::DesignPackage()};
  TComponent* Filter = nullptr;
  TCollectionItem* Item = nullptr;
};

TEST_F(PropertyGridTest, EditorsDecideWhatEachRowOffers) {
  EXPECT_EQ(TextOf(Item, "ObjectName"), "Process");
  EXPECT_EQ(TextOf(Item, "CounterName"), "Working Set");
  EXPECT_THAT(Window.Inspector()->RowNames(),
              ElementsAre("ObjectName", "CounterName", "CounterType"));

  // Value lists sorted by the host when the editor says so.
  const QStringList Objects = DropDownEntries(Row("ObjectName"));
  EXPECT_THAT(Objects, Contains("Process"));
  QStringList Sorted = Objects;
  std::sort(Sorted.begin(), Sorted.end(), [](const QString& A, const QString& B) {
    return A.compare(B, Qt::CaseInsensitive) < 0;
  });
  EXPECT_EQ(Objects, Sorted);

  // A read-only dialog row: greyed, the button still works (and changes nothing).
  TPropertyRow& Type = Row("CounterType");
  EXPECT_EQ(Type.Text(), "(Counter type)");
  EXPECT_FALSE(Type.TextLine()->isEnabled());
  ASSERT_NE(Type.DialogButton(), nullptr);
  EXPECT_EQ(Row("ObjectName").DialogButton(), nullptr);

  // The filter's rows: a collection opens the collection editor, a link lists the form's
  // help tables only.
  Window.Surface()->DropComponent("TPerfTitles");
  TComponent* Helps = Window.Surface()->DropComponent("TPerfHelps");
  Window.Form().Select({Filter});
  EXPECT_THAT(Window.Inspector()->RowNames(),
              ElementsAre("Name", "ComputerName", "LocaleID", "Items", "Helps"));
  EXPECT_EQ(Row("Items").Text(), "(TPerfCounterItems)");
  EXPECT_THAT(DropDownEntries(Row("Helps")), ElementsAre("PerfHelps1"));
  PickEntry(Row("Helps"), QStringLiteral("PerfHelps1"));
  EXPECT_EQ(testing::LinkOf(Filter, "Helps"), Helps);
}

TEST_F(PropertyGridTest, SeveralSelectedObjectsShowOnlyTheRowsThatServeThemAll) {
  TComponent* Monitor = Window.Surface()->DropComponent("TPerfMonitor");
  Window.Form().Select({Filter, Monitor});
  EXPECT_EQ(Window.Inspector()->Caption(), "2 objects selected");
  // No Name; ComputerName is the filter's only; Items are not multi-select.
  EXPECT_THAT(Window.Inspector()->RowNames(), ElementsAre("LocaleID", "Helps"));
  PickEntry(Row("LocaleID"), QStringLiteral("007"));
  EXPECT_EQ(TextOf(Filter, "LocaleID"), "007");
  EXPECT_EQ(TextOf(Monitor, "LocaleID"), "007");
  EXPECT_NE(TextOf(Item, "ObjectName"), "Process") << "renamed into the new locale";

  TCollectionItem* Second = Window.Form().AddItem(CollectionOf(Filter, "Items"));
  Window.Form().Select({Item, Second});
  EXPECT_THAT(Window.Inspector()->RowNames(), ElementsAre("CounterType"));
}

TEST_F(PropertyGridTest, ARefusedValueKeepsTheOldValuesAndShowsTheComponentsMessage) {
  {
    testing::TMessageBoxes Boxes;
    TypeText(Row("ObjectName"), QStringLiteral("Nonsense"));
    EXPECT_THAT(Boxes.Texts(), ElementsAre("Invalid performance object name : Nonsense"));
  }
  // The item emptied both names when it refused; the designer put them back.
  EXPECT_EQ(TextOf(Item, "ObjectName"), "Process");
  EXPECT_EQ(TextOf(Item, "CounterName"), "Working Set");
  EXPECT_EQ(Row("ObjectName").Text(), "Process");
  EXPECT_EQ(Row("CounterName").Text(), "Working Set");
  EXPECT_FALSE(Window.Form().IsModified());
  {
    testing::TMessageBoxes Boxes;
    TypeText(Row("CounterName"), QStringLiteral("Elapsed Nonsense"));
    EXPECT_THAT(Boxes.Texts(), ElementsAre("Invalid performance counter name : Elapsed Nonsense"));
  }
  EXPECT_EQ(TextOf(Item, "CounterName"), "Working Set");
  EXPECT_FALSE(Window.Form().IsModified());

  // The same value again is no change; another one is.
  TypeText(Row("CounterName"), QStringLiteral("working set"));
  EXPECT_FALSE(Window.Form().IsModified());
  TypeText(Row("CounterName"), QStringLiteral("Thread Count"));
  EXPECT_TRUE(Window.Form().IsModified());
}

TEST_F(PropertyGridTest, TheNameRowRenamesWithinTheForm) {
  TComponent* Other = Window.Surface()->DropComponent("TPerfFilter");
  Window.Form().Select({Other});
  {
    testing::TMessageBoxes Boxes;
    TypeText(Row("Name"), QStringLiteral("perffilter1"));
    TypeText(Row("Name"), QStringLiteral("Form1"));
    TypeText(Row("Name"), QStringLiteral("9lives"));
    EXPECT_THAT(Boxes.Texts(), ElementsAre("A component named perffilter1 already exists",
                                           "A component named Form1 already exists",
                                           "\"9lives\" is not a valid component name"));
  }
  EXPECT_EQ(Other->Name(), "PerfFilter2");
  EXPECT_EQ(Row("Name").Text(), "PerfFilter2");
  TypeText(Row("Name"), QStringLiteral("Processes"));
  EXPECT_EQ(Other->Name(), "Processes");
  EXPECT_EQ(Window.Inspector()->Caption(), "Processes: TPerfFilter");
}

}  // namespace
}  // namespace gaugery
