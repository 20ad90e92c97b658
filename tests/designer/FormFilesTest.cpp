// New, Open and Save of stored forms: what is written, what is read back, and that an
// unchanged form keeps its file's bytes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "CollectionEditor.h"
#include "DesignerTesting.h"
#include "FormSurface.h"
#include "PropertyGrid.h"
#include "framework/StoredForm.h"

namespace gaugery {
namespace {

using testing::CollectionOf;
using ::testing::ElementsAre;
using testing::FileText;
using ::testing::HasSubstr;
using testing::PickEntry;
using testing::RowOf;
using testing::TextOf;

const QString BrindleForm = QStringLiteral(GAUGERY_SOURCE_DIR "/example/fmBrindle.json");

TEST(FormFiles, AFilterBuiltFromTheDropDownsIsSavedAndReadBack) {
  QTemporaryDir Folder;
  const QString File = Folder.filePath(QStringLiteral("processes.json"));
  {
    TDesignerWindow Window(testing::DesignPackage());
    Window.show();
    EXPECT_EQ(Window.windowTitle(), "Untitled[*] - Gaugery Designer");
    TComponent* Filter = Window.Surface()->DropComponent("TPerfFilter");
    PickEntry(RowOf(Window, QStringLiteral("LocaleID")), QStringLiteral("009"));
    QTest::mouseClick(RowOf(Window, QStringLiteral("Items")).DialogButton(), Qt::LeftButton);
    Window.CollectionEditor()->AddAction()->trigger();
    PickEntry(RowOf(Window, QStringLiteral("ObjectName")), QStringLiteral("Process"));
    PickEntry(RowOf(Window, QStringLiteral("CounterName")), QStringLiteral("Working Set"));
    EXPECT_TRUE(Window.isWindowModified());
    ASSERT_TRUE(Window.SaveFile(File));
    EXPECT_FALSE(Window.isWindowModified());
    EXPECT_EQ(Window.windowTitle(), "processes.json[*] - Gaugery Designer");
    (void)Filter;
  }
  EXPECT_EQ(FileText(File), R"({
  "class": "TComponent",
  "name": "Form1",
  "components": [
    {
      "class": "TPerfFilter",
      "name": "PerfFilter1",
      "ComputerName": "",
      "LocaleID": "009",
      "Items": [
        {
          "ObjectName": "Process",
          "CounterName": "Working Set"
        }
      ],
      "Helps": null
    }
  ]
}
)");
  TDesignerWindow Again(testing::DesignPackage());
  ASSERT_TRUE(Again.OpenFile(File));
  TComponent* Filter = Again.Form().Root()->FindComponent("PerfFilter1");
  ASSERT_NE(Filter, nullptr);
  TCollection* Items = CollectionOf(Filter, "Items");
  ASSERT_EQ(Items->Count(), 1);
  EXPECT_EQ(TextOf(Items->Items(0), "CounterName"), "Working Set");
  EXPECT_EQ(WriteComponentForm(Again.Form().Root()), FileText(File));
}

TEST(FormFiles, BrindlesFormIsEditableAndKeepsItsBytesWhileItStoresTheSame) {
  TDesignerWindow Window(testing::DesignPackage());
  Window.show();
  ASSERT_TRUE(Window.OpenFile(BrindleForm));
  EXPECT_EQ(Window.windowTitle(), "fmBrindle.json[*] - Gaugery Designer");
  EXPECT_FALSE(Window.isWindowModified());
  // The root is Brindle's filter: it stands on the form like the components it could own.
  TComponent* Filter = Window.Form().Root();
  EXPECT_EQ(Filter->ClassName(), "TPerfFilter");
  EXPECT_FALSE(Window.Surface()->IconRect(Filter).isEmpty());
  TCollection* Items = CollectionOf(Filter, "Items");
  ASSERT_EQ(Items->Count(), 8);

  QTemporaryDir Folder;
  const QString Copy = Folder.filePath(QStringLiteral("copy.json"));
  ASSERT_TRUE(Window.SaveFile(Copy));
  EXPECT_EQ(FileText(Copy), FileText(BrindleForm));

  // A change undone by hand still stores the same: the bytes stay.
  Window.Form().Select({Items->Items(7)});
  PickEntry(RowOf(Window, QStringLiteral("CounterName")), QStringLiteral("Thread Count"));
  EXPECT_TRUE(Window.isWindowModified());
  PickEntry(RowOf(Window, QStringLiteral("CounterName")), QStringLiteral("Working Set"));
  ASSERT_TRUE(Window.SaveFile(Copy));
  EXPECT_EQ(FileText(Copy), FileText(BrindleForm));

  PickEntry(RowOf(Window, QStringLiteral("CounterName")), QStringLiteral("Virtual Bytes"));
  ASSERT_TRUE(Window.SaveFile(Copy));
  EXPECT_THAT(FileText(Copy), HasSubstr("\"CounterName\": \"Virtual Bytes\""));
  EXPECT_EQ(FileText(Copy), WriteComponentForm(Filter));
}

TEST(FormFiles, AFileThatCannotBeReadLeavesTheFormAsItWas) {
  TDesignerWindow Window(testing::DesignPackage());
  Window.show();
  TComponent* Titles = Window.Surface()->DropComponent("TPerfTitles");
  QTemporaryDir Folder;
  const QString Broken = Folder.filePath(QStringLiteral("broken.json"));
  {
    QFile File(Broken);
    ASSERT_TRUE(File.open(QIODevice::WriteOnly));
    File.write(R"({"class": "TPerfFilter", "Items": [{"ObjectName": 3}]})");
  }
  testing::TMessageBoxes Boxes;
  EXPECT_FALSE(Window.OpenFile(Broken));
  EXPECT_FALSE(Window.OpenFile(Folder.filePath(QStringLiteral("missing.json"))));
  ASSERT_EQ(Boxes.Texts().size(), 2u);
  EXPECT_EQ(Boxes.Texts()[0], "Invalid stored form at /Items/0/ObjectName: expected a string");
  EXPECT_THAT(Boxes.Texts()[1], HasSubstr("Cannot open "));
  EXPECT_EQ(Window.Form().Root()->FindComponent("PerfTitles1"), Titles);
  EXPECT_TRUE(Window.isWindowModified());
}

}  // namespace
}  // namespace gaugery
