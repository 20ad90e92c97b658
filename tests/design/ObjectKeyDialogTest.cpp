// The object key row of monitor items and its dialog, on the live machine's process
// counters.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QToolButton>
#include <algorithm>

#include "DesignTesting.h"
#include "ObjectKeyPropertyEditor.h"
#include "PerfMonitor.h"
#include "framework/TextCompare.h"

namespace gaugery {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using testing::ErrorOf;
using testing::LinesOf;
using ::testing::Not;
using testing::TModalDriver;

std::vector<std::string> Entries(const QDialog& Dialog, const char* List) {
  std::vector<std::string> Texts;
  const auto* Widget = Dialog.findChild<QListWidget*>(List);
  for (int I = 0; I < Widget->count(); ++I) Texts.push_back(Widget->item(I)->text().toStdString());
  return Texts;
}

std::vector<std::string> Selected(const QDialog& Dialog, const char* List) {
  std::vector<std::string> Texts;
  const auto* Widget = Dialog.findChild<QListWidget*>(List);
  for (int I = 0; I < Widget->count(); ++I) {
    if (Widget->item(I)->isSelected()) Texts.push_back(Widget->item(I)->text().toStdString());
  }
  return Texts;
}

void Select(QDialog& Dialog, const char* List, const std::string& Text) {
  auto* Widget = Dialog.findChild<QListWidget*>(List);
  Widget->findItems(QString::fromStdString(Text), Qt::MatchExactly).front()->setSelected(true);
}

void Click(QDialog& Dialog, const char* Button) {
  Dialog.findChild<QAbstractButton*>(Button)->click();
}

// Enabled states of ">", ">>", "<", "<<".
std::vector<bool> Buttons(const QDialog& Dialog) {
  std::vector<bool> States;
  for (const char* Name : {"IncludeBtn", "IncAllBtn", "ExcludeBtn", "ExAllBtn"}) {
    States.push_back(Dialog.findChild<QToolButton*>(Name)->isEnabled());
  }
  return States;
}

std::vector<std::string> SortedProcessCounters() {
  TPerfCounters Counters(nullptr);
  Counters.SetObjectName("Process");
  TStringList Titles;
  Counters.GetCounterTitles(&Titles);
  std::vector<std::string> Sorted = LinesOf(Titles);
  std::stable_sort(Sorted.begin(), Sorted.end(), [](const std::string& A, const std::string& B) {
    return AnsiCompareText(A, B) < 0;
  });
  return Sorted;
}

class ObjectKeyDialogLiveTest : public ::testing::Test {
 protected:
  ObjectKeyDialogLiveTest() {
    Item_ = Monitor_.Items()->Add();
    Item_->SetObjectName("Process");
    Item_->SetCounterName("Page Faults/sec");
  }

  // Runs the row's dialog; Drive works the dialog and tells how it closes.
  void Edit(const std::function<int(QDialog&)>& Drive) {
    TModalDriver Driver(Drive);
    CreatePropertyEditor({Item_}, "ObjectKey")->Edit();
    EXPECT_EQ(Driver.Shown(), 1);
  }

  TPerfMonitor Monitor_{nullptr};
  TPerfMonitorItem* Item_ = nullptr;
};

TEST_F(ObjectKeyDialogLiveTest, NewKeyOffersEveryCounterSortedAndOkStoresTheEmptyKey) {
  Edit([](QDialog& Dialog) {
    EXPECT_EQ(Dialog.windowTitle(), "Performance object key");
    EXPECT_EQ(Entries(Dialog, "SrcList"), SortedProcessCounters());
    EXPECT_TRUE(Entries(Dialog, "DstList").empty());
    EXPECT_EQ(Buttons(Dialog), (std::vector<bool>{true, true, false, false}));
    Click(Dialog, "OKBtn");
    return Dialog.result();
  });
  EXPECT_EQ(Item_->GetObjectKey(), "");
}

TEST_F(ObjectKeyDialogLiveTest, KeyNamesStayInKeyOrderAndOutOfTheAvailableFieldsWhateverTheirCase) {
  Item_->SetObjectKey("ID Process;Elapsed Time");
  Edit([](QDialog& Dialog) {
    EXPECT_THAT(Entries(Dialog, "DstList"), ElementsAre("ID Process", "Elapsed Time"));
    EXPECT_THAT(Entries(Dialog, "SrcList"), Not(Contains("ID Process")));
    EXPECT_THAT(Entries(Dialog, "SrcList"), Not(Contains("Elapsed Time")));
    EXPECT_EQ(Entries(Dialog, "SrcList").size() + 2, SortedProcessCounters().size());
    return static_cast<int>(QDialog::Rejected);
  });

  TObjectKeyPropertyForm Form;
  Form.SetData("009", "Process", "id process;Not A Counter");
  EXPECT_THAT(Entries(Form, "DstList"), ElementsAre("id process", "Not A Counter"));
  EXPECT_THAT(Entries(Form, "SrcList"), Not(Contains("ID Process")));
  EXPECT_EQ(Form.GetObjectKey(), "id process;Not A Counter");
}

TEST_F(ObjectKeyDialogLiveTest, IncludeMovesTheSelectionBottomUpAndSelectsWhereItStood) {
  Edit([](QDialog& Dialog) {
    const std::vector<std::string> Available = Entries(Dialog, "SrcList");
    // Nothing selected: nothing moves, the first entry gets selected.
    Click(Dialog, "IncludeBtn");
    EXPECT_TRUE(Entries(Dialog, "DstList").empty());
    EXPECT_THAT(Selected(Dialog, "SrcList"), ElementsAre(Available[0]));

    Select(Dialog, "SrcList", Available[2]);
    Select(Dialog, "SrcList", Available[3]);
    Click(Dialog, "IncludeBtn");
    // The first one moved stood first: its place now holds the second entry.
    EXPECT_THAT(Entries(Dialog, "DstList"), ElementsAre(Available[3], Available[2], Available[0]));
    EXPECT_THAT(Selected(Dialog, "SrcList"), ElementsAre(Available[1]));
    EXPECT_EQ(Buttons(Dialog), (std::vector<bool>{true, true, true, true}));

    Select(Dialog, "DstList", Available[2]);
    Click(Dialog, "ExcludeBtn");
    EXPECT_THAT(Entries(Dialog, "DstList"), ElementsAre(Available[3], Available[0]));
    // The entry now at the moved one's place, the last one here.
    EXPECT_THAT(Selected(Dialog, "DstList"), ElementsAre(Available[0]));
    EXPECT_THAT(Entries(Dialog, "SrcList"), Contains(Available[2]));
    Click(Dialog, "OKBtn");
    return Dialog.result();
  });
  EXPECT_EQ(Item_->GetObjectKey(), SortedProcessCounters()[3] + ";" + SortedProcessCounters()[0]);
}

TEST_F(ObjectKeyDialogLiveTest, AllButtonsMoveEverythingInSourceOrder) {
  Item_->SetObjectKey("Elapsed Time");
  Edit([](QDialog& Dialog) {
    const std::vector<std::string> Available = Entries(Dialog, "SrcList");
    Click(Dialog, "IncAllBtn");
    std::vector<std::string> Key = {"Elapsed Time"};
    Key.insert(Key.end(), Available.begin(), Available.end());
    EXPECT_EQ(Entries(Dialog, "DstList"), Key);
    EXPECT_TRUE(Entries(Dialog, "SrcList").empty());
    EXPECT_EQ(Buttons(Dialog), (std::vector<bool>{false, false, true, true}));

    Click(Dialog, "ExAllBtn");
    EXPECT_EQ(Entries(Dialog, "SrcList"), SortedProcessCounters());
    EXPECT_EQ(Buttons(Dialog), (std::vector<bool>{true, true, false, false}));
    Click(Dialog, "CancelBtn");
    return Dialog.result();
  });
  EXPECT_EQ(Item_->GetObjectKey(), "Elapsed Time");
}

TEST_F(ObjectKeyDialogLiveTest, AKeyOfEveryCounterLeavesNothingToInclude) {
  Edit([](QDialog& Dialog) {
    Click(Dialog, "IncAllBtn");
    Click(Dialog, "OKBtn");
    return Dialog.result();
  });
  Edit([](QDialog& Dialog) {
    EXPECT_TRUE(Entries(Dialog, "SrcList").empty());
    EXPECT_EQ(Buttons(Dialog), (std::vector<bool>{false, false, true, true}));
    return static_cast<int>(QDialog::Rejected);
  });
}

// Entries stand 13 pixels high in both lists, whatever the font. The close box leaves
// the key as it was and keeps the dialog for Edit to read and release, also where the
// window is marked to be deleted on closing.
TEST_F(ObjectKeyDialogLiveTest, ListsEntries13PixelsHighAndTheCloseBoxKeepsDialogAndKey) {
  Item_->SetObjectKey("Elapsed Time");
  Edit([](QDialog& Dialog) {
    QFont Large = Dialog.font();
    Large.setPixelSize(30);
    Dialog.setFont(Large);
    Dialog.show();
    for (const char* Name : {"SrcList", "DstList"}) {
      auto* List = Dialog.findChild<QListWidget*>(Name);
      EXPECT_EQ(List->visualItemRect(List->item(0)).height(), 13) << Name;
    }
    const QPointer<QDialog> Kept(&Dialog);
    Dialog.setAttribute(Qt::WA_DeleteOnClose);
    Dialog.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(Kept.isNull()) << "closing destroyed the dialog";
    return Kept.isNull() ? static_cast<int>(QDialog::Rejected) : Dialog.result();
  });
  EXPECT_EQ(Item_->GetObjectKey(), "Elapsed Time");
}

TEST_F(ObjectKeyDialogLiveTest, ErrorsLeaveTheKeyAndShowNoDialog) {
  TModalDriver Driver([](QDialog&) { return static_cast<int>(QDialog::Accepted); });
  auto Editor = CreatePropertyEditor({Item_}, "ObjectKey");
  EXPECT_EQ(Editor->GetAttributes(), paDialog);

  TPerfMonitorItem* Unnamed = Monitor_.Items()->Add();
  auto UnnamedEditor = CreatePropertyEditor({Unnamed}, "ObjectKey");
  EXPECT_EQ(ErrorOf([&] { UnnamedEditor->Edit(); }), "Unknown performance object : \"\"");

  TPerfFilter Filter(nullptr);
  TObjectKeyPropertyEditor Misplaced({Filter.Items()->Add()}, Editor->Property());
  EXPECT_EQ(ErrorOf([&] { Misplaced.Edit(); }), "Invalid class typecast");
  EXPECT_EQ(Driver.Shown(), 0);
}

}  // namespace
}  // namespace gaugery
