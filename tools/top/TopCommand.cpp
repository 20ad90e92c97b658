// gaugery top: Brindle's process table with each process's processor time, refreshed
// every second. On a terminal an interactive screen (scrolling, sorting, a name
// filter); otherwise every refresh as tab-separated lines.
#include <chrono>
#include <ctime>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "Browsing.h"
#include "Commands.h"
#include "ComputerOption.h"
#include "LogSteps.h"
#include "PlainNumber.h"
#include "PrintableText.h"
#include "Replay.h"
#include "Terminal.h"
#include "TimePrompt.h"
#include "TopSampler.h"
#include "TopScreen.h"
#include "TopView.h"
#include "framework/Exceptions.h"

namespace gaugery::cli {

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto RefreshInterval = std::chrono::milliseconds(1000);
// Processor times rest on two samples. Plain lines are printed at once rather than
// after a refresh, so the first follow a shorter interval after a first sample.
constexpr auto FirstPlainInterval = std::chrono::milliseconds(500);

constexpr char KeysHelp[] =
    "q quit  arrows PgUp PgDn Home End scroll  < > sort column  r reverse  / filter by name";
constexpr char LogKeysHelp[] =
    "q quit  t next sample  T previous  g go to time  space play/pause  < > sort  r reverse  "
    "/ filter";

std::string Joined(const std::vector<std::string>& Cells, const std::string& Separator) {
  std::string Line;
  for (std::size_t Column = 0; Column < Cells.size(); ++Column) {
    if (Column > 0) Line += Separator;
    Line += Cells[Column];
  }
  return Line;
}

std::string CellText(const TTopRow& Row, std::size_t Column) {
  return Column == 0 ? PrintableText(Row.Name) : Row.Cell(Column).Text;
}

std::vector<std::string> RowTexts(const TTopRow& Row, const std::vector<std::size_t>& Columns) {
  std::vector<std::string> Texts;
  for (std::size_t Column : Columns) Texts.push_back(CellText(Row, Column));
  return Texts;
}

// On the screen the processor time comes right after the name.
std::vector<std::size_t> ScreenColumns(std::size_t Count) {
  std::vector<std::size_t> Columns{0, Count - 1};
  for (std::size_t Column = 1; Column + 1 < Count; ++Column) Columns.push_back(Column);
  return Columns;
}

std::optional<TSortOrder> ChosenOrder(const Arguments& Args,
                                      const std::vector<std::string>& Captions) {
  if (!Args.Has("--sort")) return std::nullopt;
  const std::string Name = Args.Value("--sort");
  const std::vector<std::size_t> Columns = ColumnsNamed(Captions, Name);
  if (Columns.size() > 1) {
    std::vector<std::string> Begun;
    for (std::size_t Column : Columns) Begun.push_back(Captions[Column]);
    throw UsageError("option --sort: \"" + Name + "\" is ambiguous, it starts the columns " +
                     Joined(Begun, " and "));
  }
  if (Columns.empty())
    throw UsageError("option --sort needs one of the columns " + Joined(Captions, ", ") +
                     " (or the start of one), not \"" + Name + "\"");
  return SortedBy(Columns.front());
}

// --- Plain lines, one block per refresh

// In the order of the sample; sorted, the _Total row comes last.
std::vector<const TTopRow*> PlainRows(const std::vector<TTopRow>& Rows,
                                      const std::optional<TSortOrder>& Order) {
  if (!Order) {
    std::vector<const TTopRow*> InOrder;
    for (const TTopRow& Row : Rows) InOrder.push_back(&Row);
    return InOrder;
  }
  TArrangedRows Arranged = ArrangeRows(Rows, *Order, "");
  if (Arranged.Total != nullptr) Arranged.Rows.push_back(Arranged.Total);
  return Arranged.Rows;
}

// For programs: values as plain numbers (a running time in seconds), "-" for none.
std::vector<std::string> PlainTexts(const TTopRow& Row, std::size_t ColumnCount) {
  std::vector<std::string> Texts{PrintableText(Row.Name)};
  for (std::size_t Column = 1; Column < ColumnCount; ++Column) {
    const Extended Value = Row.Cell(Column).Value;
    const std::string Number = HasValue(Value) ? PlainNumber(static_cast<double>(Value)) : "";
    Texts.push_back(Number.empty() ? "-" : Number);
  }
  return Texts;
}

void PrintPlain(const TTopSampler& Sampler, const std::optional<TSortOrder>& Order) {
  std::cout << Joined(Sampler.Captions(), "\t") << "\n";
  for (const TTopRow* Row : PlainRows(Sampler.Rows(), Order))
    std::cout << Joined(PlainTexts(*Row, Sampler.Captions().size()), "\t") << "\n";
  std::cout.flush();
}

// --- The screen

// The state of the screen on a counter log: the shown sample, whether it plays, the time
// being typed, and what became of the last one typed.
struct TLogScreen {
  TLogSteps Steps;
  bool Playing = false;
  TTimePrompt Prompt;
  std::optional<std::string> Notice;
};

// The local calendar time of a file time: "2024-05-03 14:30:45"; empty when the
// system cannot tell it.
std::string LocalTimeText(std::int64_t FileTime) {
  constexpr std::int64_t FileTimeUnitsPerSecond = 10'000'000;
  constexpr std::int64_t UnixEpochSeconds = 11'644'473'600;
  const auto Seconds =
      static_cast<std::time_t>(FileTime / FileTimeUnitsPerSecond - UnixEpochSeconds);
  const std::tm* Local = std::localtime(&Seconds);
  char Text[32];
  if (Local == nullptr || std::strftime(Text, sizeof Text, "%Y-%m-%d %H:%M:%S", Local) == 0)
    return {};
  return Text;
}

// On a counter log the shown sample's position in it follows its time.
std::string HeaderText(const TTopSampler& Sampler, const TArrangedRows& Arranged,
                       const TTopView& View, const TLogScreen* Log) {
  const std::size_t Count = Arranged.ProcessCount;
  std::string Header = LocalTimeText(Sampler.SampleTime()) + "  ";
  if (Log != nullptr) Header += Log->Steps.PositionText() + (Log->Playing ? ", playing  " : "  ");
  Header += std::to_string(Count) + (Count == 1 ? " process" : " processes") + " on " +
            PrintableText(Sampler.MachineName());
  if (!View.Filter.empty()) {
    Header += "  filter \"" + PrintableText(View.Filter) +
              "\": " + std::to_string(Arranged.Rows.size()) + " shown";
  }
  return Header + "  sort: " + Sampler.Captions()[View.Order.Column] +
         (View.Order.Descending ? ", descending" : ", ascending");
}

std::string StatusText(const TTopView& View, const std::optional<std::string>& Error,
                       const TLogScreen* Log) {
  if (Log != nullptr && Log->Prompt.Open())
    return "Go to time: " + Log->Prompt.Text() + "_   Enter go  Esc cancel";
  if (View.EditingFilter)
    return "Filter by name: " + PrintableText(View.Filter) + "_   Enter keep  Esc clear";
  if (Log != nullptr && Log->Notice) return *Log->Notice;
  if (Error) return PrintableText(*Error);
  return Log != nullptr ? LogKeysHelp : KeysHelp;
}

TTopFrame Frame(const TTopSampler& Sampler, const TArrangedRows& Arranged, const TTopView& View,
                const std::optional<std::string>& Error, const TLogScreen* Log) {
  TTopFrame Frame;
  Frame.Header = HeaderText(Sampler, Arranged, View, Log);
  for (std::size_t Column : View.ShownColumns)
    Frame.Columns.push_back({Sampler.Captions()[Column], Column != 0});
  Frame.SortColumn = View.SortPosition();
  for (const TTopRow* Row : Arranged.Rows) Frame.Rows.push_back(RowTexts(*Row, View.ShownColumns));
  if (Arranged.Total != nullptr) Frame.Total = RowTexts(*Arranged.Total, View.ShownColumns);
  Frame.Status = StatusText(View, Error, Log);
  return Frame;
}

// Draws the screen; the sizes the keys then move within.
TTopExtent Draw(TTerminalSession& Session, const TTopSampler& Sampler, TTopView& View,
                const std::optional<std::string>& Error, const std::string& Marker,
                const TLogScreen* Log = nullptr) {
  const TTerminalSize Size = TerminalSize();
  const TArrangedRows Arranged = ArrangeRows(Sampler.Rows(), View.Order, View.Filter);
  const TTopExtent Extent{Arranged.Rows.size(), VisibleRowCount(Size, Arranged.Total != nullptr)};
  View.Clamp(Extent);
  Session.Show(
      RenderFrame(Frame(Sampler, Arranged, View, Error, Log), Size, View.Viewport, Marker));
  return Extent;
}

int Milliseconds(Clock::duration Time) {
  return static_cast<int>(
      std::max<long long>(0, std::chrono::duration_cast<std::chrono::milliseconds>(Time).count()));
}

// --- The refreshes

std::string CutMarker() { return TerminalIsUtf8() ? "\u2026" : "~"; }

TTopView ScreenView(const TTopSampler& Sampler, TSortOrder Order) {
  TTopView View;
  View.Order = Order;
  View.ShownColumns = ScreenColumns(Sampler.Captions().size());
  return View;
}

int RunScreen(TTopSampler& Sampler, TSortOrder Order, long long Count) {
  TTerminalSession Session(true);
  const std::string Marker = CutMarker();
  TTopView View = ScreenView(Sampler, Order);
  std::optional<std::string> Error;
  auto Due = Clock::now();
  for (long long Done = 0;;) {
    if (Clock::now() >= Due) {
      Due = Clock::now() + RefreshInterval;
      Error = Sampler.Refresh();
      ++Done;
    }
    const TTopExtent Extent = Draw(Session, Sampler, View, Error, Marker);
    if (Done == Count) break;
    const TTerminalEvent Event = Session.Wait(Milliseconds(Due - Clock::now()));
    if (Event.Kind == TTerminalEvent::TKind::Ended) return Event.ExitStatus;
    for (const TKeyPress& Key : Event.Keys) {
      if (View.Apply(Key, Extent)) return Error ? 1 : 0;
    }
  }
  return Error ? 1 : 0;
}

// The time to wait before playing on: as long as the recorder waited before the shown
// sample (the next one's time is known only once it is read); a second after the first.
Clock::duration PlayWait(const TLogSteps& Steps) {
  constexpr std::int64_t FileTimeUnitsPerMicrosecond = 10;
  const std::optional<std::int64_t> Gap = Steps.Gap();
  if (!Gap) return RefreshInterval;
  return std::chrono::microseconds(std::max<std::int64_t>(0, *Gap / FileTimeUnitsPerMicrosecond));
}

// Goes to the time typed on the prompt; a notice when it is no time.
void GoToTypedTime(TLogScreen& Log, TTopSampler& Sampler) {
  const std::optional<TLogTime> Time = ParseLogTime(Log.Prompt.Text());
  if (!Time) {
    Log.Notice = "\"" + Log.Prompt.Text() + "\" is not a time (type 2026-12-08T03:00:00, or 03:00)";
    return;
  }
  try {
    Log.Steps.GoTo(Sampler, ReplayedLogFileTime(*Time));
  } catch (const Exception& Error) {
    Log.Notice = PrintableText(Error.Message());
  }
}

// Applies a key that steps through the log, plays it or asks for a time; false for the
// others.
bool StepOnKey(const TKeyPress& Key, const TTopView& View, TLogScreen& Log, TTopSampler& Sampler) {
  if (Log.Prompt.Open()) {
    if (Log.Prompt.Apply(Key) == TTimePrompt::TOutcome::Entered) GoToTypedTime(Log, Sampler);
    return true;
  }
  if (View.EditingFilter || Key.Key != TKey::Char) return false;
  if (Key.Text == "t") {
    Log.Steps.Next(Sampler);
  } else if (Key.Text == "T") {
    Log.Steps.Previous(Sampler);
  } else if (Key.Text == " ") {
    Log.Playing = !Log.Playing;
  } else if (Key.Text == "g") {
    Log.Playing = false;
    Log.Prompt.Begin();
  } else {
    return false;
  }
  return true;
}

// A counter log moves on only when the user steps or plays it.
int RunLogScreen(TTopSampler& Sampler, TSortOrder Order) {
  TTerminalSession Session(true);
  const std::string Marker = CutMarker();
  TTopView View = ScreenView(Sampler, Order);
  TLogScreen Log;
  Log.Steps.Show(Sampler, 1);
  auto Due = Clock::now() + PlayWait(Log.Steps);
  for (;;) {
    if (Log.Playing && Clock::now() >= Due) {
      Log.Steps.Next(Sampler);
      Due = Clock::now() + PlayWait(Log.Steps);
    }
    if (Log.Steps.AtEnd()) Log.Playing = false;
    const TTopExtent Extent = Draw(Session, Sampler, View, Log.Steps.Error(), Marker, &Log);
    const auto Wait = Log.Playing ? Due - Clock::now() : Clock::duration(RefreshInterval);
    const TTerminalEvent Event = Session.Wait(Milliseconds(Wait));
    if (Event.Kind == TTerminalEvent::TKind::Ended) return Event.ExitStatus;
    for (const TKeyPress& Key : Event.Keys) {
      const std::uint64_t Before = Log.Steps.Shown();
      // A notice stays until the next key.
      Log.Notice.reset();
      if (StepOnKey(Key, View, Log, Sampler)) {
        if (Log.Steps.Shown() != Before || Log.Playing) Due = Clock::now() + PlayWait(Log.Steps);
      } else if (View.Apply(Key, Extent)) {
        return Log.Steps.Error() ? 1 : 0;
      }
    }
  }
}

int RunPlain(TTopSampler& Sampler, const std::optional<TSortOrder>& Order, long long Count) {
  TTerminalSession Session(false);
  // The first sample's error, if any, comes again with the next.
  Sampler.Refresh();
  auto Due = Clock::now() + FirstPlainInterval;
  std::optional<std::string> Error;
  for (long long Done = 1;; ++Done) {
    while (Clock::now() < Due) {
      const TTerminalEvent Event = Session.Wait(Milliseconds(Due - Clock::now()));
      if (Event.Kind == TTerminalEvent::TKind::Ended) return Event.ExitStatus;
    }
    Due = Clock::now() + RefreshInterval;
    Error = Sampler.Refresh();
    if (Error) {
      std::cerr << "gaugery: " << *Error << std::endl;
    } else {
      PrintPlain(Sampler, Order);
    }
    if (Done == Count) break;
  }
  return Error ? 1 : 0;
}

int Run(const Arguments& Args) {
  ExpectNoOperands(Args);
  const long long Count = Args.Number("--count", 0, 1);
  TTopSampler Sampler(ChosenComputer());
  const std::optional<TSortOrder> Order = ChosenOrder(Args, Sampler.Captions());
  if (!OutputIsTerminal()) return RunPlain(Sampler, Order, Count);
  const TSortOrder ScreenOrder = Order.value_or(SortedBy(Sampler.Captions().size() - 1));
  if (ReplayingLog()) return RunLogScreen(Sampler, ScreenOrder);
  return RunScreen(Sampler, ScreenOrder, Count);
}

}  // namespace

Command TopCommand() {
  return {"top",
          "top [--sort COLUMN] [--count N]",
          "Shows the running processes with the eight counters of Brindle and the processor "
          "time, refreshed every second until q or Ctrl-C. On a terminal the table scrolls "
          "(arrows, PgUp/PgDn, Home/End), sorts by any column (< and > pick it, r reverses) "
          "and filters by name (/); the _Total row stays in view. On a counter log (--replay LOG) "
          "the screen shows its first sample and its position in the log, t steps to the next "
          "sample, T to the previous one, g to a time typed on the status line (as --begin takes "
          "it), and space plays the samples at the recorded pace or "
          "pauses. When standard output is not a "
          "terminal, a first sample is taken half a second before the first refresh, and every "
          "refresh prints the tab-separated column captions, then one line per process, its "
          "values as plain numbers (the running time in seconds).",
          "  --sort COLUMN  sort by this column (its caption or the start of it, ignoring case): "
          "names from A to Z, numbers from the largest down; on a terminal the rows are sorted "
          "by CPU % unless told otherwise\n"
          "  --count N      stop after N refreshes\n",
          {},
          {"--sort", "--count"},
          Run};
}

}  // namespace gaugery::cli
