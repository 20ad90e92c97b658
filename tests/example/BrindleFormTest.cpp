// The main form: its columns, the rows it keeps in step with the processes, the texts of
// the cells, the busy flag and the report of refresh errors.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "ErrorReport.h"
#include "FakeHttpServer.h"
#include "ProcessSamples.h"
#include "Replay.h"
#include "fmBrindle.h"
#include "framework/Format.h"
#include "perf/log/CounterLogWriter.h"

namespace gaugery::testing {
namespace {

const std::vector<std::string> Captions = {
    "Task name",    "ID Process",      "Elapsed Time",         "Thread Count",
    "Handle Count", "Page File Bytes", "Page File Bytes Peak", "Pool Nonpaged Bytes",
    "Working Set"};

// 1 day, 2 hours, 3 minutes and 4 seconds.
constexpr std::int64_t DayAndABit = ((24 + 2) * 60 + 3) * 60 + 4;

const std::vector<TProcessSample> ThreeProcesses = {
    {.Name = "init",
     .Id = 1,
     .RunningSeconds = DayAndABit,
     .Threads = 1,
     .Handles = 12,
     .PageFileBytes = 1234567,
     .PageFileBytesPeak = 2000000,
     .PoolNonpagedBytes = 4096,
     .WorkingSet = 123456789},
    {.Name = "shell", .Id = 1234, .RunningSeconds = 59, .Threads = 3, .WorkingSet = 999},
    {.Name = "shell", .Id = 1235, .RunningSeconds = 3600}};

std::vector<std::string> Row(QTreeWidget& List, int Index) {
  std::vector<std::string> Texts;
  const QTreeWidgetItem* Item = List.topLevelItem(Index);
  for (int Column = 0; Column < Item->columnCount(); ++Column) {
    Texts.push_back(Item->text(Column).toStdString());
  }
  return Texts;
}

std::vector<std::string> HeaderCaptions(QTreeWidget& List) {
  std::vector<std::string> Texts;
  for (int Column = 0; Column < List.columnCount(); ++Column) {
    Texts.push_back(List.headerItem()->text(Column).toStdString());
  }
  return Texts;
}

// Records the error reports instead of showing message boxes.
class BrindleForm : public ::testing::Test {
 protected:
  void SetUp() override {
    SetErrorReportShow([this](const std::string& Text) {
      Reports.push_back(Text);
      if (DuringReport) DuringReport();
    });
  }
  void TearDown() override { SetErrorReportShow(nullptr); }

  std::vector<std::string> Reports;
  std::function<void()> DuringReport;
};

TEST_F(BrindleForm, FillsTheTableBeforeItIsFirstShown) {
  const test::TFakeProviders Served = ServeProcesses({ProcessBlock(ThreeProcesses)});
  TBrindleForm Form;
  QTreeWidget& List = *Form.LV();

  EXPECT_FALSE(Form.isVisible());
  EXPECT_EQ(HeaderCaptions(List), Captions);
  for (int Column = 1; Column < List.columnCount(); ++Column) {
    EXPECT_EQ(List.columnWidth(Column), 100) << Column;
    EXPECT_EQ(List.headerItem()->textAlignment(Column), Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_EQ(List.headerItem()->toolTip(Column).toStdString(), Captions[Column]);
    EXPECT_EQ(List.topLevelItem(0)->textAlignment(Column), Qt::AlignRight | Qt::AlignVCenter);
  }
  EXPECT_TRUE(Form.Timer()->isActive());
  EXPECT_EQ(Form.Timer()->interval(), 1000);
  ASSERT_EQ(List.topLevelItemCount(), 3);
  EXPECT_EQ(Row(List, 0),
            (std::vector<std::string>{"init", "1", "1d 02:03:04", "1", "12", "1,234,567",
                                      "2,000,000", "4,096", "123,456,789"}));
  // Two processes of one program: two rows with one caption, told apart by their ids.
  EXPECT_EQ(Row(List, 1), (std::vector<std::string>{"shell", "1,234", "00:00:59", "3", "0", "0",
                                                    "0", "0", "999"}));
  EXPECT_EQ(Row(List, 2)[0], "shell");
  EXPECT_EQ(Row(List, 2)[2], "01:00:00");
  EXPECT_TRUE(Reports.empty());
}

TEST_F(BrindleForm, FormatsWithTheUsersSeparators) {
  const TFormatSettings Saved = FormatSettings();
  FormatSettings().ThousandSeparator = ".";
  FormatSettings().TimeSeparator = "-";
  const test::TFakeProviders Served = ServeProcesses({ProcessBlock(ThreeProcesses)});
  TBrindleForm Form;
  FormatSettings() = Saved;

  const std::vector<std::string> Init = Row(*Form.LV(), 0);
  EXPECT_EQ(Init[2], "1d 02-03-04");
  EXPECT_EQ(Init[5], "1.234.567");
  EXPECT_EQ(Row(*Form.LV(), 1)[1], "1.234");
}

// The days stand before the time of day once a whole one has passed, counted from the
// time rounded as it is shown.
TEST_F(BrindleForm, ShowsTheDaysOfALongRunningTime) {
  constexpr std::int64_t Day = 24 * 3600;
  const std::vector<TProcessSample> Ages = {
      {.Name = "hour", .RunningSeconds = 3600},
      {.Name = "almost a day", .RunningSeconds = Day - 1},
      {.Name = "a day", .RunningSeconds = Day},
      {.Name = "a day less a tick", .StartTime = SampleTime - (Day * SampleFreq - 1)},
      {.Name = "months", .RunningSeconds = 106 * Day + (23 * 60 + 32) * 60 + 14},
      {.Name = "from the future", .RunningSeconds = -Day - 5}};
  const test::TFakeProviders Served = ServeProcesses({ProcessBlock(Ages)});
  TBrindleForm Form;
  std::vector<std::string> Shown;
  for (int Index = 0; Index < Form.LV()->topLevelItemCount(); ++Index)
    Shown.push_back(Row(*Form.LV(), Index)[2]);
  EXPECT_EQ(Shown, (std::vector<std::string>{"01:00:00", "23:59:59", "1d 00:00:00", "1d 00:00:00",
                                             "106d 23:32:14", "00:00:05"}));
}

TEST_F(BrindleForm, AppendsAndDeletesRowsAtTheEndAsProcessesComeAndGo) {
  const test::TFakeProviders Served =
      ServeProcesses({ProcessBlock(ThreeProcesses), ProcessBlock(NumberedProcesses(5)),
                      ProcessBlock(NumberedProcesses(2))});
  TBrindleForm Form;
  QTreeWidget& List = *Form.LV();
  QTreeWidgetItem* const FirstRow = List.topLevelItem(0);

  Form.TimerTimer();
  ASSERT_EQ(List.topLevelItemCount(), 5);
  EXPECT_EQ(List.topLevelItem(0), FirstRow) << "rows are rewritten in place";
  EXPECT_EQ(Row(List, 0),
            (std::vector<std::string>{"p0", "100", "00:00:00", "1", "0", "0", "0", "0", "0"}));
  EXPECT_EQ(Row(List, 4)[0], "p4");
  EXPECT_EQ(Row(List, 4)[2], "00:00:04");

  Form.TimerTimer();
  ASSERT_EQ(List.topLevelItemCount(), 2);
  EXPECT_EQ(List.topLevelItem(0), FirstRow);
  EXPECT_EQ(Row(List, 1)[0], "p1");
  EXPECT_EQ(Row(List, 1)[1], "101");
}

TEST_F(BrindleForm, RebuildsColumnsFromListsWithMoreOrFewerColumns) {
  const test::TFakeProviders Served = ServeProcesses({ProcessBlock(ThreeProcesses)});
  TBrindleForm Form;
  QTreeWidget& List = *Form.LV();
  const int DefaultWidth = List.header()->defaultSectionSize();

  // More columns than needed: all go, n + 1 new ones come.
  List.setColumnCount(12);
  List.setColumnWidth(0, DefaultWidth + 33);
  Form.FormCreate();
  EXPECT_EQ(HeaderCaptions(List), Captions);
  EXPECT_EQ(List.columnWidth(0), DefaultWidth);

  // Fewer: the existing ones stay, the missing ones are appended.
  List.setColumnCount(3);
  List.setHeaderLabels({"a", "b", "c"});
  List.setColumnWidth(0, DefaultWidth + 33);
  List.setColumnWidth(1, 7);
  Form.FormCreate();
  EXPECT_EQ(HeaderCaptions(List), Captions);
  EXPECT_EQ(List.columnWidth(0), DefaultWidth + 33);
  EXPECT_EQ(List.columnWidth(1), 100);
  EXPECT_EQ(List.columnWidth(8), 100);
  EXPECT_EQ(List.topLevelItemCount(), 3);
}

TEST_F(BrindleForm, DropsATickThatArrivesWhileARefreshRuns) {
  test::TFakeProviders Served = ServeProcesses({ProcessBlock(ThreeProcesses)});
  TBrindleForm Form;
  QTreeWidget& List = *Form.LV();
  Served.SetSamples(0, {ProcessBlock(NumberedProcesses(5))});
  const int CollectsBefore = Served.CollectCount(0);

  // The first row appended by the refresh lets a nested tick in, as a nested event loop
  // would.
  int RowsSeenByNestedTick = -1;
  bool BusyDuringNestedTick = false;
  const QMetaObject::Connection Nested =
      QObject::connect(List.model(), &QAbstractItemModel::rowsInserted, [&] {
        if (RowsSeenByNestedTick >= 0) return;
        BusyDuringNestedTick = Form.IsBusy();
        Form.TimerTimer();
        RowsSeenByNestedTick = List.topLevelItemCount();
      });
  Form.TimerTimer();
  QObject::disconnect(Nested);

  EXPECT_TRUE(BusyDuringNestedTick);
  EXPECT_EQ(RowsSeenByNestedTick, 4) << "the nested tick changed the rows";
  EXPECT_EQ(Served.CollectCount(0), CollectsBefore + 1) << "the nested tick took a sample";
  EXPECT_EQ(List.topLevelItemCount(), 5);
  EXPECT_FALSE(Form.IsBusy());
}

TEST_F(BrindleForm, ReportsRefreshErrorsKeepsTheRowsAndTriesAgain) {
  // The first refresh, inside the form's creation, fails: the form is created all the same.
  // Its block, the first, lacks an object that no block has carried yet, so the snapshot
  // reads once more to ask for it: the second block, which lacks it as well.
  const test::TFakeProviders Served = ServeProcesses(
      {BlockWithoutProcesses(), BlockWithoutProcesses(), ProcessBlock(ThreeProcesses),
       BlockWithoutProcesses(), ProcessBlock(NumberedProcesses(2))});
  TBrindleForm Form;
  QTreeWidget& List = *Form.LV();
  EXPECT_EQ(Reports, std::vector<std::string>{"Invalid performance object name"});
  EXPECT_EQ(List.columnCount(), 9);
  EXPECT_EQ(List.topLevelItemCount(), 0);
  EXPECT_FALSE(Form.IsBusy());

  Form.TimerTimer();
  ASSERT_EQ(List.topLevelItemCount(), 3);
  const std::vector<std::string> Kept = Row(List, 0);

  Form.TimerTimer();
  EXPECT_EQ(Reports.size(), 2u);
  EXPECT_EQ(List.topLevelItemCount(), 3);
  EXPECT_EQ(Row(List, 0), Kept);
  EXPECT_TRUE(List.updatesEnabled()) << "the batch update was left open";

  Form.TimerTimer();
  EXPECT_EQ(List.topLevelItemCount(), 2);
  EXPECT_EQ(Reports.size(), 2u);
}

TEST_F(BrindleForm, HoldsBackRefreshErrorsWhileAReportIsOpen) {
  test::TFakeProviders Served = ServeProcesses({ProcessBlock(ThreeProcesses)});
  TBrindleForm Form;
  Served.SetSamples(0, {BlockWithoutProcesses()});
  // Ticks keep coming while the report's message box is open.
  int NestedTicks = 0;
  DuringReport = [&] {
    if (NestedTicks > 0) return;
    while (NestedTicks < 3) {
      ++NestedTicks;
      Form.TimerTimer();
    }
  };
  const int CollectsBefore = Served.CollectCount(0);

  Form.TimerTimer();
  EXPECT_EQ(Reports.size(), 1u);
  EXPECT_EQ(Served.CollectCount(0), CollectsBefore + 4) << "ticks under the report refresh";

  // Once the report is closed, the next failure is reported again.
  Form.TimerTimer();
  EXPECT_EQ(Reports.size(), 2u);
}

// A computer named on the command line: its processes, its name in the caption.
TEST_F(BrindleForm, ShowsTheProcessesOfARemoteComputerWithItsName) {
  const test::TFakeProviders Local = ServeProcesses({ProcessBlock({{.Name = "local"}})});
  const test::TBlock Remote = ProcessBlock(ThreeProcesses);  // measured on "TESTHOST"
  const test::TFakeHttpServer Server([&](const std::string& Target) {
    if (Target == "/perflib/") return test::GaugeryReply("009\n");
    if (Target == "/perflib/009/Counter")
      return test::GaugeryReply(test::MultiStringBytes(ProcessCounterNames()));
    if (Target == "/perflib/009/Help") return test::GaugeryReply(test::MultiStringBytes({}));
    return test::GaugeryReply(std::string(Remote.Bytes.begin(), Remote.Bytes.end()));
  });
  TBrindleForm Form(nullptr, {.ComputerName = Server.ComputerName()});
  EXPECT_EQ(Form.windowTitle().toStdString(), "Brindle - TESTHOST");
  ASSERT_EQ(Form.LV()->topLevelItemCount(), 3);
  EXPECT_EQ(Row(*Form.LV(), 1)[0], "shell");
  EXPECT_TRUE(Reports.empty());
}

TEST_F(BrindleForm, AComputerOutOfReachIsReportedAndNamedInTheCaption) {
  const test::TFakeProviders Local = ServeProcesses({ProcessBlock(ThreeProcesses)});
  std::string Name;
  { const test::TFakeHttpServer Gone([](const std::string&) { return std::string(); });
    Name = Gone.ComputerName(); }
  TBrindleForm Form(nullptr, {.ComputerName = Name});
  EXPECT_EQ(Reports, (std::vector<std::string>{"Error connecting to remote registry on " + Name +
                                               " (53)"}));
  EXPECT_EQ(Form.windowTitle().toStdString(), "Brindle - " + Name);
  EXPECT_EQ(Form.LV()->topLevelItemCount(), 0);
}

// A counter log in service as --replay puts it, written from Samples (block, seconds
// after the first). At the end a capture replays instead, which the next test's
// providers replace.
class TReplayedLog {
 public:
  explicit TReplayedLog(const std::vector<std::pair<std::vector<TProcessSample>, int>>& Samples)
      : Path_(::testing::TempDir() + "brindle-log-" + std::to_string(getpid()) + ".glog") {
    {
      TCounterLogWriter Writer(Path_, {.ComputerName = "RECORDER"}, ProcessLogNames());
      for (const auto& [Processes, Second] : Samples) {
        const test::TBlock Block = ProcessBlock(Processes, Second);
        Writer.WriteSample(Block.Bytes.data(), Block.Size());
      }
    }
    cli::UseReplay({Path_});
  }
  ~TReplayedLog() {
    const std::string Capture = Path_ + ".blk";
    const test::TBlock Block = ProcessBlock({});
    std::ofstream(Capture, std::ios::binary)
        .write(reinterpret_cast<const char*>(Block.Bytes.data()), Block.Size());
    cli::UseReplay({Capture});
    std::remove(Capture.c_str());
    std::remove(Path_.c_str());
  }
  TReplayedLog(const TReplayedLog&) = delete;
  TReplayedLog& operator=(const TReplayedLog&) = delete;

 private:
  std::string Path_;
};

// The timer waits as long as the recorder did between the shown sample and the next,
// and stops on the last one, which stays without a report.
TEST_F(BrindleForm, PlaysACounterLogAtItsRecordedPace) {
  const TReplayedLog Log(
      {{NumberedProcesses(1), 0}, {NumberedProcesses(2), 1}, {NumberedProcesses(3), 4}});
  TBrindleForm Form;
  QTreeWidget& List = *Form.LV();
  EXPECT_EQ(List.topLevelItemCount(), 1);
  EXPECT_TRUE(Form.Timer()->isActive());
  EXPECT_EQ(Form.Timer()->interval(), 1000);

  Form.TimerTimer();
  EXPECT_EQ(List.topLevelItemCount(), 2);
  EXPECT_TRUE(Form.Timer()->isActive());
  EXPECT_EQ(Form.Timer()->interval(), 3000);

  Form.TimerTimer();
  EXPECT_EQ(List.topLevelItemCount(), 3);
  EXPECT_FALSE(Form.Timer()->isActive());
  // A tick already on its way changes nothing.
  Form.TimerTimer();
  EXPECT_EQ(List.topLevelItemCount(), 3);
  EXPECT_FALSE(Form.Timer()->isActive());
  EXPECT_TRUE(Reports.empty()) << Reports.front();
}

}  // namespace
}  // namespace gaugery::testing
