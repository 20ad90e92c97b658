// The package's registration: the palette page, the palette images, and which editor
// the designer gets for which property.
#include <gtest/gtest.h>

#include <typeindex>

#include "CounterPropertyEditor.h"
#include "CounterTypePropertyEditor.h"
#include "DesignTesting.h"
#include "LocalePropertyEditor.h"
#include "ObjectKeyPropertyEditor.h"
#include "ObjectPropertyEditor.h"
#include "PerfInstances.h"
#include "PerfMonitor.h"
#include "dclGaugeryReg.h"

namespace gaugery {
namespace {

const std::vector<std::string> kPaletteClasses = {"TPerfTitles",   "TPerfHelps",     "TPerfObjects",
                                                  "TPerfCounters", "TPerfInstances", "TPerfFilter",
                                                  "TPerfMonitor"};

TEST(Registration, PutsTheSevenClassesOnTheGaugeryPageInOrder) {
  EXPECT_EQ(PaletteClasses("Gaugery"), kPaletteClasses);
  EXPECT_STREQ(dclGaugeryRegUnit::PackageDescription, "Gaugery for Windows NT/2000/XP");
}

TEST(Registration, EveryPaletteClassHasASixteenColourImage) {
  for (const std::string& Class : kPaletteClasses) {
    const QImage Image = dclGaugeryRegUnit::PaletteImage(Class);
    ASSERT_FALSE(Image.isNull()) << Class;
    EXPECT_EQ(Image.size(), QSize(24, 24)) << Class;
    EXPECT_LE(Image.colorCount(), 16) << Class;
  }
  EXPECT_TRUE(dclGaugeryRegUnit::PaletteImage("TPerfFilterX").isNull());
}

std::optional<std::type_index> EditorOf(const std::string& Class, const std::string& Property) {
  const TPropertyEditorClass* Editor = FindPropertyEditor(Class, Property);
  return Editor == nullptr ? std::nullopt : std::optional<std::type_index>(Editor->Type);
}

TEST(Registration, BindsEachEditorToItsPropertiesAndNoOthers) {
  const std::type_index Locale = typeid(TLocalePropertyEditor);
  for (const char* Class : {"TPerfTitles", "TPerfHelps", "TPerfObjects", "TPerfCounters",
                            "TPerfInstances", "TPerfFilter", "TPerfMonitor"}) {
    EXPECT_EQ(EditorOf(Class, "LocaleID"), Locale) << Class;
  }
  const std::type_index Object = typeid(TObjectPropertyEditor);
  for (const char* Class :
       {"TPerfCounters", "TPerfInstances", "TPerfCounterItem", "TPerfMonitorItem"}) {
    EXPECT_EQ(EditorOf(Class, "ObjectName"), Object) << Class;
  }
  for (const char* Class : {"TPerfCounterItem", "TPerfMonitorItem"}) {
    EXPECT_EQ(EditorOf(Class, "CounterName"), std::type_index(typeid(TCounterPropertyEditor)));
    EXPECT_EQ(EditorOf(Class, "CounterType"), std::type_index(typeid(TCounterTypePropertyEditor)));
  }
  EXPECT_EQ(EditorOf("TPerfMonitorItem", "ObjectKey"),
            std::type_index(typeid(TObjectKeyPropertyEditor)));

  EXPECT_EQ(EditorOf("TPerfObjects", "ComputerName"), std::nullopt);
  EXPECT_EQ(EditorOf("TPerfFilter", "ObjectName"), std::nullopt);
  EXPECT_EQ(EditorOf("TPerfNothing", "LocaleID"), std::nullopt);
}

TEST(Registration, SeveralSelectedComponentsGetOnlyTheMultiSelectRows) {
  TPerfCounters First(nullptr);
  TPerfInstances Second(nullptr);
  const TDesignSelection Both = {&First, &Second};
  EXPECT_NE(CreatePropertyEditor(Both, "LocaleID"), nullptr);
  EXPECT_EQ(CreatePropertyEditor(Both, "ObjectName"), nullptr);
  EXPECT_NE(CreatePropertyEditor({&First}, "ObjectName"), nullptr);
  // Only the instance list lacks a computer name.
  EXPECT_EQ(CreatePropertyEditor(Both, "ComputerName"), nullptr);
  EXPECT_EQ(CreatePropertyEditor(Both, "Helpless"), nullptr);

  TPerfMonitor Monitor(nullptr);
  const TDesignSelection Items = {Monitor.Items()->Add(), Monitor.Items()->Add()};
  EXPECT_NE(CreatePropertyEditor(Items, "CounterType"), nullptr);
  EXPECT_EQ(CreatePropertyEditor(Items, "CounterName"), nullptr);
  EXPECT_EQ(CreatePropertyEditor(Items, "ObjectKey"), nullptr);
}

TEST(Registration, BaseEditorWritesEverySelectedComponent) {
  TPerfCounters First(nullptr);
  TPerfCounters Second(nullptr);
  // The base editor serves a property without a registration of its own.
  auto Editor = CreatePropertyEditor({&First, &Second}, "ComputerName");
  EXPECT_EQ(Editor->ClassName(), "TPropertyEditor");
  Editor->SetValue("far");
  EXPECT_EQ(First.ComputerName(), "far");
  EXPECT_EQ(Second.ComputerName(), "far");
  EXPECT_EQ(Editor->GetValue(), "far");
  EXPECT_EQ(testing::ErrorOf([&] { Editor->GetComponent(2); }), "List index out of bounds (2)");
}

}  // namespace
}  // namespace gaugery
