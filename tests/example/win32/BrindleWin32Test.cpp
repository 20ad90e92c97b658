// brindle.exe as its user meets it: started on replayed captures, its windows read and
// driven through the Win32 API from this process.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ProcessSamples.h"
#include "BrindleWindow.h"
#include "../../../example/win32/BrindleResources.h"
#include "framework/Unicode.h"

namespace gaugery::testing {
namespace {

using ::testing::ElementsAre;

std::string LocaleText(LCTYPE Item) {
  wchar_t Text[16]{};
  GetLocaleInfoW(LOCALE_USER_DEFAULT, Item, Text, 16);
  return ToUtf8(Text);
}

// "1,234,567" with the user's thousands separator.
std::string Grouped(const std::string& Thousands, const std::string& Units) {
  return Thousands + LocaleText(LOCALE_STHOUSAND) + Units;
}

// "hh:nn:ss" with the user's time separator.
std::string Clock(const std::string& Hours, const std::string& Minutes, const std::string& Seconds) {
  const std::string Separator = LocaleText(LOCALE_STIME);
  return Hours + Separator + Minutes + Separator + Seconds;
}

const std::vector<TProcessSample> FirstProcesses = {
    {.Name = "svchost", .Id = 1234, .RunningSeconds = 93784, .Threads = 12, .Handles = 345,
     .PageFileBytes = 4096, .PageFileBytesPeak = 8192, .PoolNonpagedBytes = 512,
     .WorkingSet = 65536},
    {.Name = "svchost", .Id = 1240, .RunningSeconds = 59, .Threads = 3},
    {.Name = "explorer", .Id = 7, .RunningSeconds = 3600, .Threads = 40}};

// One process ended, one started, the others changed.
const std::vector<TProcessSample> SecondProcesses = {
    {.Name = "explorer", .Id = 7, .RunningSeconds = 3601, .Threads = 41, .Handles = 1000},
    {.Name = "notepad", .Id = 2048, .RunningSeconds = 1}};

std::vector<std::string> Row(std::string Name, std::vector<std::string> Cells) {
  Cells.insert(Cells.begin(), std::move(Name));
  return Cells;
}

class BrindleWin32 : public ::testing::Test {
 protected:
  std::wstring Save(const test::TBlock& Block, const std::wstring& Name) {
    return Captures.Save(Block, Name);
  }

  TCaptures Captures;
};

// The first sample is shown until three refreshes have passed (the first capture is
// replayed three times: the timer runs from before the first refresh, and the test reads
// the list from another process on a busy machine), then the second; one capture's name
// is outside ASCII.
TEST_F(BrindleWin32, TheListShowsEachSampleInBlockOrderAndFollowsTheNext) {
  const std::wstring First = Save(ProcessBlock(FirstProcesses), L"first");
  const TBrindleProcess Brindle(
      {First, First, First, Save(ProcessBlock(SecondProcesses, 2), L"zw\u00f6lf-\u03b2")});
  HWND Form = Brindle.WaitForMainForm();
  ASSERT_NE(Form, nullptr) << "no main window";
  EXPECT_EQ(WindowText(Form), "Brindle");

  TListViewContent Shown = Brindle.ReadList(Form);
  ASSERT_EQ(Shown.Columns.size(), 9u);
  EXPECT_EQ(Shown.Columns[0].Caption, "Task name");
  EXPECT_FALSE(Shown.Columns[0].RightAligned);
  const char* Counters[] = {"ID Process",  "Elapsed Time",    "Thread Count",
                            "Handle Count", "Page File Bytes", "Page File Bytes Peak",
                            "Pool Nonpaged Bytes", "Working Set"};
  for (std::size_t K = 0; K < 8; ++K) {
    EXPECT_EQ(Shown.Columns[K + 1].Caption, Counters[K]);
    EXPECT_TRUE(Shown.Columns[K + 1].RightAligned) << Counters[K];
    EXPECT_EQ(Shown.Columns[K + 1].Width, 100) << Counters[K];
  }
  EXPECT_THAT(
      Shown.Rows,
      ElementsAre(Row("svchost", {Grouped("1", "234"), "1d " + Clock("02", "03", "04"), "12",
                                  "345", Grouped("4", "096"), Grouped("8", "192"), "512",
                                  Grouped("65", "536")}),
                  Row("svchost", {Grouped("1", "240"), Clock("00", "00", "59"), "3", "0", "0",
                                  "0", "0", "0"}),
                  Row("explorer", {"7", Clock("01", "00", "00"), "40", "0", "0", "0", "0", "0"})));

  ASSERT_TRUE(WaitFor([&] { return Brindle.ReadList(Form).Rows.size() == 2; }))
      << "the second sample never showed";
  EXPECT_THAT(Brindle.ReadList(Form).Rows,
              ElementsAre(Row("explorer", {"7", Clock("01", "00", "01"), "41",
                                           Grouped("1", "000"), "0", "0", "0", "0"}),
                          Row("notepad", {Grouped("2", "048"), Clock("00", "00", "01"), "1", "0",
                                          "0", "0", "0", "0"})));
}

TEST_F(BrindleWin32, TheAboutBoxOpensOverTheRefreshingTableAndClosesWithOK) {
  const std::wstring First = Save(ProcessBlock(FirstProcesses), L"first");
  const TBrindleProcess Brindle({First, First, Save(ProcessBlock(SecondProcesses, 2), L"second")});
  HWND Form = Brindle.WaitForMainForm();
  ASSERT_NE(Form, nullptr) << "no main window";
  PostMessageW(Form, WM_COMMAND, IDM_ABOUT, 0);
  HWND Box = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    const std::vector<HWND> Boxes = Brindle.Windows(L"#32770", L"About Brindle");
    Box = Boxes.empty() ? nullptr : Boxes.front();
    return Box != nullptr;
  })) << "no about box";
  EXPECT_EQ(WindowText(GetDlgItem(Box, IDC_PRODUCTTITLE)), "Brindle");
  EXPECT_EQ(WindowText(GetDlgItem(Box, IDC_VERSION)), "Version 4.1");
  EXPECT_EQ(WindowText(GetDlgItem(Box, IDC_NOTICE)),
            "Replay of brindle-" + std::to_string(GetCurrentProcessId()) +
                "-first.blk and 2 more files");
  EXPECT_EQ(WindowText(GetDlgItem(Box, IDC_MAILTO)), "support");
  EXPECT_EQ(WindowText(GetDlgItem(Box, IDC_HOMEPAGE)), "Gaugery homepage");
  // The timer keeps refreshing the table behind the modal box.
  EXPECT_TRUE(WaitFor([&] { return Brindle.ReadList(Form).Rows.size() == 2; }));

  PostMessageW(GetDlgItem(Box, IDOK), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(Box); })) << "the about box stayed open";
  EXPECT_FALSE(Brindle.HasEnded());
  EXPECT_TRUE(IsWindowVisible(Form));
}

// A sample without the Process object fails every refresh, the first one included: its
// report holds up the start until it is closed, then the form shows and the next failing
// tick is reported. While a message box is open, the failing ticks show no other.
TEST_F(BrindleWin32, AFailingRefreshShowsOneMessageBoxAtATime) {
  const TBrindleProcess Brindle({Save(BlockWithoutProcesses(), L"empty")});
  const auto Reports = [&] { return Brindle.Windows(L"#32770", L"Brindle"); };
  ASSERT_TRUE(WaitFor([&] { return !Reports().empty(); })) << "no message box";
  HWND Box = Reports().front();
  // The message box's text is its static control of identifier 0xFFFF.
  EXPECT_EQ(WindowText(GetDlgItem(Box, 0xFFFF)), "Invalid performance object name");

  PostMessageW(Box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(Box); }));
  HWND Form = Brindle.WaitForMainForm();
  ASSERT_NE(Form, nullptr) << "the form was not shown after the error";
  EXPECT_TRUE(Brindle.ReadList(Form).Rows.empty());
  EXPECT_TRUE(WaitFor([&] {
    const std::vector<HWND> Now = Reports();
    return Now.size() == 1 && Now.front() != Box;
  })) << "the next failing tick was not reported";
  EXPECT_FALSE(WaitFor([&] { return Reports().size() > 1; }, 2500ms));
  // Closed before the next tick, so that the program can be closed.
  for (HWND Open : Reports()) SendMessageW(Open, WM_COMMAND, IDOK, 0);
}

// The wait form is still up while the failed first refresh is reported: it has neither
// border nor caption, and its panel fills it. The timer runs from the form's creation:
// behind the report, the next tick shows the second sample in the form not yet shown.
// The first refresh reads twice: it asks once more for the Process object it lacks.
TEST_F(BrindleWin32, TheWaitFormIsBorderlessAndTicksArriveWhileTheFirstErrorIsReported) {
  const std::wstring Empty = Save(BlockWithoutProcesses(), L"empty");
  const TBrindleProcess Brindle({Empty, Empty, Save(ProcessBlock(SecondProcesses), L"two")});
  const auto Reports = [&] { return Brindle.Windows(L"#32770", L"Brindle"); };
  ASSERT_TRUE(WaitFor([&] { return !Reports().empty(); })) << "no message box";
  HWND Wait = nullptr;
  for (HWND Dialog : Brindle.Windows(L"#32770")) {
    if (GetDlgItem(Dialog, IDC_LOADING) != nullptr) Wait = Dialog;
  }
  ASSERT_NE(Wait, nullptr) << "no wait form";
  EXPECT_EQ(GetWindowLongW(Wait, GWL_STYLE) & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME), 0);
  RECT Outer;
  RECT Client;
  RECT Panel;
  GetWindowRect(Wait, &Outer);
  GetClientRect(Wait, &Client);
  GetWindowRect(GetDlgItem(Wait, IDC_PANEL1), &Panel);
  EXPECT_EQ(Outer.right - Outer.left, Client.right);
  EXPECT_EQ(Outer.bottom - Outer.top, Client.bottom);
  EXPECT_TRUE(EqualRect(&Panel, &Outer));
  EXPECT_EQ(WindowText(GetDlgItem(Wait, IDC_NOTICE)),
            "Replay of brindle-" + std::to_string(GetCurrentProcessId()) +
                "-empty.blk and 2 more files");

  HWND Form = Brindle.MainForm();
  ASSERT_NE(Form, nullptr);
  EXPECT_FALSE(IsWindowVisible(Form));
  EXPECT_TRUE(WaitFor([&] { return Brindle.ReadList(Form).Rows.size() == 2; }))
      << "no tick refreshed the table while the first error was reported";
  for (HWND Open : Reports()) SendMessageW(Open, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(Form) != FALSE; }));
}

TEST(BrindleProgram, AnswersHelpAndVersionOnStandardOutputWithoutAWindow) {
  const TBrindleEnd Help = RunBrindle(L"--help");
  EXPECT_EQ(Help.ExitCode, 0);
  EXPECT_EQ(Help.Out.rfind("usage: brindle ", 0), 0u) << Help.Out;

  const TBrindleEnd Version = RunBrindle(L"--version");
  EXPECT_EQ(Version.ExitCode, 0);
  EXPECT_EQ(Version.Out.rfind("Brindle 4.1 (Gaugery ", 0), 0u) << Version.Out;
}

}  // namespace
}  // namespace gaugery::testing
