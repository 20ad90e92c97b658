// The designer as a user meets it: the palette the package fills, dropping components,
// the icons on the form, the preview, and closing with unsaved changes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QListWidget>
#include <QPointer>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "CollectionEditor.h"
#include "ComponentPalette.h"
#include "DesignerTesting.h"
#include "FormSurface.h"
#include "PropertyGrid.h"
#include "PreviewWindow.h"
#include "framework/TypeInfo.h"

namespace gaugery {
namespace {

using testing::ClickIcon;
using testing::CollectionOf;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::PickEntry;
using testing::RowOf;
using testing::TextOf;

TEST(Palette, ShowsThePackagesSevenClassesInOrderWithTheirImages) {
  TDesignerWindow Window(testing::DesignPackage());
  EXPECT_EQ(Window.Packages().front().Description, "Gaugery for Windows NT/2000/XP");
  ASSERT_EQ(Window.Palette()->count(), 1);
  EXPECT_EQ(Window.Palette()->tabText(0), "Gaugery");
  EXPECT_THAT(Window.Palette()->Classes(QStringLiteral("Gaugery")),
              ElementsAre("TPerfTitles", "TPerfHelps", "TPerfObjects", "TPerfCounters",
                          "TPerfInstances", "TPerfFilter", "TPerfMonitor"));
  // Found in the package's resources by the upper-case class name.
  const QImage Filter = PaletteImage("TPerfFilter").toImage();
  EXPECT_EQ(Filter.size(), QSize(24, 24));
  EXPECT_NE(Filter, PaletteImage("TPerfMonitor").toImage());
  // Loading the package again registers nothing twice.
  testing::DesignPackage();
  EXPECT_EQ(PaletteClasses("Gaugery").size(), 7u);
}

TEST(FormSurface, DropsComponentsWithUniqueNamesWhereTheUserClicks) {
  TDesignerWindow Window(testing::DesignPackage());
  Window.show();
  QTest::mouseClick(Window.Palette()->Button("TPerfFilter"), Qt::LeftButton);
  EXPECT_EQ(Window.Palette()->PendingClass(), "TPerfFilter");
  QTest::mouseClick(Window.Surface(), Qt::LeftButton, {}, QPoint(203, 121));
  TComponent* First = Window.Form().Root()->FindComponent("PerfFilter1");
  ASSERT_NE(First, nullptr);
  EXPECT_EQ(Window.Surface()->IconRect(First).topLeft(), QPoint(200, 120)) << "on the grid";
  EXPECT_EQ(Window.Palette()->PendingClass(), "") << "one drop per click on the palette";
  EXPECT_THAT(Window.Form().Selection(), ElementsAre(First));
  EXPECT_TRUE(Window.isWindowModified());

  // A double click on the palette drops at the first free place; the rename frees a name.
  Window.Form().RenameComponent(First, "Brindle");
  QTest::mouseDClick(Window.Palette()->Button("TPerfFilter"), Qt::LeftButton);
  QTest::mouseDClick(Window.Palette()->Button("TPerfFilter"), Qt::LeftButton);
  TComponent* Second = Window.Form().Root()->FindComponent("PerfFilter1");
  TComponent* Third = Window.Form().Root()->FindComponent("PerfFilter2");
  ASSERT_NE(Second, nullptr);
  ASSERT_NE(Third, nullptr);
  EXPECT_FALSE(Window.Surface()->IconRect(Second).intersects(Window.Surface()->IconRect(Third)));
}

TEST(FormSurface, SelectsMovesAndDeletesIcons) {
  TDesignerWindow Window(testing::DesignPackage());
  Window.show();
  TDesignForm& Form = Window.Form();
  TComponent* Filter = Window.Surface()->DropComponent("TPerfFilter", QPoint(40, 40));
  TComponent* Helps = Window.Surface()->DropComponent("TPerfHelps", QPoint(200, 40));
  TComponent* Monitor = Window.Surface()->DropComponent("TPerfMonitor", QPoint(40, 200));

  ClickIcon(Window, Filter);
  ClickIcon(Window, Monitor, Qt::ControlModifier);
  EXPECT_THAT(Form.Selection(), ElementsAre(Filter, Monitor));
  ClickIcon(Window, Filter, Qt::ControlModifier);
  EXPECT_THAT(Form.Selection(), ElementsAre(Monitor));

  // A band drawn on the empty form selects what it touches; a click there the form.
  QTest::mousePress(Window.Surface(), Qt::LeftButton, {}, QPoint(20, 20));
  QTest::mouseMove(Window.Surface(), QPoint(260, 100));
  QTest::mouseRelease(Window.Surface(), Qt::LeftButton, {}, QPoint(260, 100));
  EXPECT_THAT(Form.Selection(), ElementsAre(Filter, Helps));
  QTest::mouseClick(Window.Surface(), Qt::LeftButton, {}, QPoint(400, 300));
  EXPECT_THAT(Form.Selection(), ElementsAre(Form.Root()));

  // Dragging moves every selected icon; the stored form does not keep places.
  Form.Select({Filter, Helps});
  const QTemporaryDir Folder;
  Form.SaveAs(Folder.filePath(QStringLiteral("moved.json")));
  const QPoint Grip = Window.Surface()->IconRect(Filter).center();
  QTest::mousePress(Window.Surface(), Qt::LeftButton, {}, Grip);
  QTest::mouseMove(Window.Surface(), Grip + QPoint(16, 80));
  QTest::mouseRelease(Window.Surface(), Qt::LeftButton, {}, Grip + QPoint(16, 80));
  EXPECT_EQ(Window.Surface()->IconRect(Filter).topLeft(), QPoint(56, 120));
  EXPECT_EQ(Window.Surface()->IconRect(Helps).topLeft(), QPoint(216, 120));
  EXPECT_FALSE(Form.IsModified());

  // The filter's link to the help table goes with the table.
  Window.Form().Select({Filter});
  PickEntry(RowOf(Window, QStringLiteral("Helps")), QStringLiteral("PerfHelps1"));
  EXPECT_EQ(testing::LinkOf(Filter, "Helps"), Helps);
  Form.Select({Helps, Form.Root()});
  Window.findChild<QAction*>(QStringLiteral("DeleteAction"))->trigger();
  EXPECT_EQ(Form.Root()->FindComponent("PerfHelps1"), nullptr);
  EXPECT_EQ(Form.Root()->ComponentCount(), 2) << "the form itself stays";
  EXPECT_THAT(Form.Selection(), ElementsAre(Form.Root()));
  EXPECT_EQ(testing::LinkOf(Filter, "Helps"), nullptr);
  EXPECT_TRUE(Form.IsModified());
}

TEST(CollectionEditor, AddsMovesAndDeletesItemsAndHandsThemToTheInspector) {
  TDesignerWindow Window(testing::DesignPackage());
  Window.show();
  TComponent* Filter = Window.Surface()->DropComponent("TPerfFilter");
  QTest::mouseDClick(Window.Surface(), Qt::LeftButton, {},
                     Window.Surface()->IconRect(Filter).center());
  TCollectionEditor& Editor = *Window.CollectionEditor();
  EXPECT_EQ(Editor.Title(), "PerfFilter1.Items");
  for (int I = 0; I < 3; ++I) Editor.AddAction()->trigger();
  TCollection* Items = CollectionOf(Filter, "Items");
  ASSERT_EQ(Items->Count(), 3);
  TCollectionItem* Last = Items->Items(2);
  EXPECT_THAT(Window.Form().Selection(), ElementsAre(Last));
  EXPECT_EQ(Window.Inspector()->Caption(), "PerfFilter1.Items[2]: TPerfCounterItem");
  EXPECT_EQ(Editor.List()->item(2)->text(), "2 - TPerfCounterItem");

  Editor.MoveUpAction()->trigger();
  Editor.MoveUpAction()->trigger();
  Editor.MoveUpAction()->trigger();  // already first: stays
  EXPECT_EQ(Items->Items(0), Last);
  EXPECT_EQ(Window.Inspector()->Caption(), "PerfFilter1.Items[0]: TPerfCounterItem");
  Editor.MoveDownAction()->trigger();
  EXPECT_EQ(Items->Items(1), Last);

  // Items the list selects are edited together; deleting them selects the filter.
  Editor.List()->selectAll();
  EXPECT_EQ(Window.Form().Selection().size(), 3u);
  Editor.DeleteAction()->trigger();
  EXPECT_EQ(Items->Count(), 0);
  EXPECT_THAT(Window.Form().Selection(), ElementsAre(Filter));

  // The editor lets go of a collection whose component is deleted.
  Window.Form().DeleteComponents({Filter});
  EXPECT_EQ(Editor.Title(), "");
  EXPECT_EQ(Editor.List()->count(), 0);
}

TEST(Preview, ShowsTheValuesTheFiltersItemsReadForEachInstance) {
  TDesignerWindow Window(testing::DesignPackage());
  Window.show();
  TComponent* Filter = Window.Surface()->DropComponent("TPerfFilter");
  PickEntry(RowOf(Window, QStringLiteral("LocaleID")), QStringLiteral("009"));
  TCollectionItem* Item = Window.Form().AddItem(CollectionOf(Filter, "Items"));
  Window.Form().Select({Item});
  PickEntry(RowOf(Window, QStringLiteral("ObjectName")), QStringLiteral("Process"));
  PickEntry(RowOf(Window, QStringLiteral("CounterName")), QStringLiteral("ID Process"));

  Window.Form().Select({Filter});
  TPreviewWindow* Preview = Window.Preview();
  ASSERT_NE(Preview, nullptr);
  EXPECT_FALSE(Preview->IsSampling()) << "one sample, at once";
  QTableWidget* Table = Preview->Table();
  ASSERT_EQ(Table->columnCount(), 3);
  EXPECT_EQ(Table->horizontalHeaderItem(2)->text(), "ID Process");
  EXPECT_FALSE(Table->findItems(QString::number(getpid()), Qt::MatchExactly).isEmpty());

  // The preview goes with its component.
  const QPointer<TPreviewWindow> Watched(Preview);
  Window.Form().DeleteComponents({Filter});
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(Watched.isNull());
  EXPECT_EQ(Window.Preview(), nullptr) << "nothing to preview with the form selected";
}

TEST(Preview, SamplesAMonitorTwiceAPauseApart) {
  TDesignerWindow Window(testing::DesignPackage());
  Window.show();
  Window.SetPreviewInterval(20);
  TComponent* Monitor = Window.Surface()->DropComponent("TPerfMonitor");
  PickEntry(RowOf(Window, QStringLiteral("LocaleID")), QStringLiteral("009"));
  TCollectionItem* Item = Window.Form().AddItem(CollectionOf(Monitor, "Items"));
  Window.Form().Select({Item});
  testing::TypeText(RowOf(Window, QStringLiteral("ObjectName")), QStringLiteral("Process"));
  testing::TypeText(RowOf(Window, QStringLiteral("CounterName")),
                    QStringLiteral("% Processor Time"));

  Window.Form().Select({Monitor});
  TPreviewWindow* Preview = Window.Preview();
  ASSERT_NE(Preview, nullptr);
  EXPECT_TRUE(Preview->IsSampling());
  QSignalSpy Shown(Preview, &TPreviewWindow::Shown);
  ASSERT_TRUE(Shown.wait(2000));
  ASSERT_GT(Preview->Table()->rowCount(), 0);
  EXPECT_TRUE(Preview->Table()->item(0, 2)->text().endsWith(" %"));
}

TEST(DesignerWindow, ClosingWithChangesAsksFirst) {
  TDesignerWindow Window(testing::DesignPackage());
  Window.show();
  EXPECT_TRUE(Window.close()) << "nothing to ask about";
  Window.show();
  Window.Surface()->DropComponent("TPerfTitles");
  {
    testing::TMessageBoxes Boxes(QMessageBox::Cancel);
    EXPECT_FALSE(Window.close());
    EXPECT_THAT(Boxes.Texts(), ElementsAre("Save changes to the new form?"));
  }
  EXPECT_TRUE(Window.isVisible());
  testing::TMessageBoxes Boxes(QMessageBox::Discard);
  EXPECT_TRUE(Window.close());
  EXPECT_EQ(Boxes.Texts().size(), 1u);
}

}  // namespace
}  // namespace gaugery
