// The counter type row and its dialog, on the live machine's process counters.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include "CounterTypePropertyEditor.h"
#include "DesignTesting.h"
#include "PerfFilter.h"
#include "PerfMonitor.h"

namespace gaugery {
namespace {

using testing::ErrorOf;
using testing::TModalDriver;

const char* const kValueLabels[] = {"LbSize",     "LbType",     "LbSubtype",
                                    "LbTimebase", "LbModifier", "LbDispaly"};

std::vector<std::string> ValueLines(const QDialog& Dialog) {
  std::vector<std::string> Lines;
  for (const char* Name : kValueLabels) {
    Lines.push_back(Dialog.findChild<QLabel*>(Name)->text().toStdString());
  }
  return Lines;
}

// Shows the dialog for the first of the selected components and returns its lines.
std::vector<std::string> ShownLines(const TDesignSelection& Selection) {
  std::vector<std::string> Lines;
  TModalDriver Driver([&](QDialog& Dialog) {
    Lines = ValueLines(Dialog);
    Dialog.findChild<QPushButton*>("BnOK")->click();
    return Dialog.result();
  });
  CreatePropertyEditor(Selection, "CounterType")->Edit();
  EXPECT_EQ(Driver.Shown(), 1);
  return Lines;
}

TEST(CounterTypeDialogLiveTest, DecodesTheTypeOfTheFirstSelectedItem) {
  TPerfFilter Filter(nullptr);
  TPerfCounterItem* Faults = Filter.Items()->Add();
  Faults->SetObjectName("Process");
  Faults->SetCounterName("Page Faults/sec");
  TPerfCounterItem* Elapsed = Filter.Items()->Add();
  Elapsed->SetObjectName("Process");
  Elapsed->SetCounterName("Elapsed Time");

  const std::vector<std::string> Counting = {
      "DWord ( CounterSize = 4)",    "An increasing numeric value",
      "Divide counter / delta time", "Use system Performance freq for base",
      "Compute difference first",    "Display with suffix \"/sec\""};
  EXPECT_EQ(ShownLines({Faults, Elapsed}), Counting);
  EXPECT_EQ(ShownLines({Elapsed, Faults})[2], "Subtract counter from current time");

  TPerfMonitor Monitor(nullptr);
  TPerfMonitorItem* Watched = Monitor.Items()->Add();
  Watched->SetObjectName("Process");
  Watched->SetCounterName("Page Faults/sec");
  EXPECT_EQ(ShownLines({Watched}), Counting);
}

TEST(CounterTypeDialogLiveTest, RowIsAReadOnlyButtonThatNeverWrites) {
  TPerfFilter Filter(nullptr);
  TPerfCounterItem* Item = Filter.Items()->Add();
  auto Editor = CreatePropertyEditor({Item}, "CounterType");
  EXPECT_EQ(Editor->GetAttributes(), paDialog | paMultiSelect | paReadOnly);
  EXPECT_EQ(Editor->GetValue(), "(Counter type)");
  Editor->SetValue("anything");
  EXPECT_EQ(Editor->GetValue(), "(Counter type)");
  EXPECT_EQ(Item->CounterType(), nullptr);
}

TEST(CounterTypeDialogLiveTest, FreshFormShowsItsStoredTexts) {
  TCounterTypeForm Form;
  EXPECT_EQ(Form.windowTitle(), "Counter type");
  // The client size, without the frame the designed outer size included: OK button and
  // bevel keep the margins they have at the top left.
  EXPECT_EQ(Form.size(), QSize(404, 204));
  const QRect Button = Form.findChild<QPushButton*>("BnOK")->geometry();
  EXPECT_EQ(Form.width() - Button.right(), Form.height() - Button.bottom());
  EXPECT_EQ(Form.findChild<QLabel*>("Label4")->text(), "Time base");
  EXPECT_EQ(Form.findChild<QLabel*>("LbSubtype")->text(), "LbSubtype");
  EXPECT_TRUE(Form.findChild<QPushButton*>("BnOK")->isDefault());
}

TEST(CounterTypeDialogLiveTest, ErrorsComeBeforeTheDialogIsShown) {
  TModalDriver Driver([](QDialog& Dialog) { return Dialog.result(); });
  TPerfFilter Filter(nullptr);
  TPerfCounterItem* Item = Filter.Items()->Add();
  Item->SetObjectName("Process");
  auto Editor = CreatePropertyEditor({Item}, "CounterType");
  EXPECT_EQ(ErrorOf([&] { Editor->Edit(); }), "Invalid performance counter name");

  TCounterTypeForm Form;
  EXPECT_EQ(ErrorOf([&] { Form.SetItem(&Filter); }), "Incompatible types");
  EXPECT_EQ(Driver.Shown(), 0);
}

}  // namespace
}  // namespace gaugery
