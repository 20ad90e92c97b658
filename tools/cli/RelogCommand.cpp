// gaugery relog: converts, cuts, thins and merges counter logs. The samples of the inputs
// that are kept, merged in time order, are first written to a log (the output itself with
// --format log); the table and JSON formats then replay that log through a monitor, so
// that their values are those `watch` computes from the same samples.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "BlockDump.h"
#include "Browsing.h"
#include "Commands.h"
#include "CounterList.h"
#include "CounterPath.h"
#include "CounterSelection.h"
#include "CounterWatch.h"
#include "LocaleOption.h"
#include "LogTable.h"
#include "LogTime.h"
#include "PerfCounterType.h"
#include "PerfCounters.h"
#include "PerfObjects.h"
#include "Replay.h"
#include "WatchPrinter.h"
#include "WinGaugery.h"
#include "framework/Exceptions.h"
#include "framework/TextFunctions.h"
#include "framework/WinTime.h"
#include "perf/log/CounterLogReader.h"
#include "perf/log/CounterLogWriter.h"

namespace gaugery::cli {

namespace {

enum class TRelogFormat { Log, Csv, Tsv, Json };

// The format an output file's extension names: .glog a log, .tsv and .json those
// tables, any other CSV.
std::string FormatOfExtension(const std::string& File) {
  const std::size_t Dot = File.find_last_of('.');
  const std::size_t Folder = File.find_last_of("/\\");
  if (Dot == std::string::npos || (Folder != std::string::npos && Dot < Folder)) return "csv";
  const std::string Extension = LowerCase(File.substr(Dot + 1));
  if (Extension == "glog") return "log";
  if (Extension == "tsv" || Extension == "json") return Extension;
  return "csv";
}

// --format, or without it the format the output's extension names.
TRelogFormat ChosenFormat(const Arguments& Args, const std::string& Output) {
  const std::string Format = Args.Value("--format", FormatOfExtension(Output));
  if (Format == "log") return TRelogFormat::Log;
  if (Format == "csv") return TRelogFormat::Csv;
  if (Format == "tsv") return TRelogFormat::Tsv;
  if (Format == "json") return TRelogFormat::Json;
  throw UsageError("--format takes log, csv, tsv or json, not \"" + Format + "\"");
}

void PrintWarnings(TCounterLogReader& Reader) {
  for (const std::string& Warning : Reader.TakeWarnings())
    std::cerr << "gaugery relog: warning: " << Warning << "\n";
}

// The operands split into the input logs, the counter paths and the file of "-o FILE".
struct TRelogOperands {
  std::vector<std::string> Inputs;
  std::vector<std::string> Paths;
  std::string Output;
};

TRelogOperands SplitOperands(const std::vector<std::string>& Operands) {
  TRelogOperands Split;
  for (std::size_t Index = 0; Index < Operands.size(); ++Index) {
    const std::string& Operand = Operands[Index];
    if (Operand == "-o") {
      if (Index + 1 == Operands.size()) throw UsageError("-o needs the output file");
      Split.Output = Operands[++Index];
    } else if (IsCounterPath(Operand)) {
      Split.Paths.push_back(Operand);
    } else {
      Split.Inputs.push_back(Operand);
    }
  }
  if (Split.Inputs.empty()) throw UsageError("needs at least one input log");
  return Split;
}

// One input log and its next entry.
struct TRelogInput {
  std::unique_ptr<TCounterLogReader> Reader;
  TLogEntry Next;
  bool HasNext = false;

  void Advance() {
    HasNext = Reader->Next(Next);
    PrintWarnings(*Reader);
  }
};

std::vector<TRelogInput> OpenInputs(const std::vector<std::string>& Files) {
  std::vector<TRelogInput> Inputs;
  for (const std::string& File : Files) {
    TRelogInput Input{std::make_unique<TCounterLogReader>(File), {}, false};
    PrintWarnings(*Input.Reader);
    Input.Advance();
    Inputs.push_back(std::move(Input));
  }
  return Inputs;
}

// The input whose next entry is the earliest, or none at the end of them all.
TRelogInput* Earliest(std::vector<TRelogInput>& Inputs) {
  TRelogInput* Found = nullptr;
  for (TRelogInput& Input : Inputs) {
    if (Input.HasNext && (Found == nullptr || Input.Next.Time < Found->Next.Time)) Found = &Input;
  }
  return Found;
}

// Which samples are kept: those of the window, every Nth of them.
struct TSampleChoice {
  std::int64_t Begin = INT64_MIN;
  std::int64_t End = INT64_MAX;
  long long Every = 1;
};

TSampleChoice ChosenSamples(const Arguments& Args, TRelogInput& First) {
  TSampleChoice Choice;
  Choice.Every = Args.Number("--every", 1, 1);
  const std::int64_t FirstTime =
      First.HasNext ? First.Next.Time : First.Reader->Machine().StartTime;
  const TLogMachine& Machine = First.Reader->Machine();
  TLogWindow Window;
  for (const char* Option : {"--begin", "--end"}) {
    if (!Args.Has(Option)) continue;
    if (const auto Problem = SetWindowTime(Window, Option, Args.Value(Option)))
      throw UsageError(*Problem);
  }
  if (Window.Begin) Choice.Begin = LogFileTime(*Window.Begin, FirstTime, Machine.Bias);
  if (Window.End) Choice.End = LogFileTime(*Window.End, FirstTime, Machine.Bias);
  if (Choice.End < Choice.Begin) throw UsageError("--end lies before --begin");
  return Choice;
}

// Writes the kept samples and gaps of Inputs, merged in time order, to Writer; the
// number of samples written.
std::uint64_t MergeInto(std::vector<TRelogInput>& Inputs, const TSampleChoice& Choice,
                        TCounterLogWriter& Writer) {
  long long Seen = 0;
  while (TRelogInput* Input = Earliest(Inputs)) {
    const TLogEntry& Entry = Input->Next;
    if (Entry.Time >= Choice.Begin && Entry.Time <= Choice.End) {
      if (Entry.Kind == TLogEntry::TKind::Gap) {
        Writer.WriteGap(Entry.Time, Entry.Reason);
      } else if (Seen++ % Choice.Every == 0) {
        Writer.WriteSample(Entry.Block.data(), static_cast<DWORD>(Entry.Block.size()));
      }
    }
    Input->Advance();
  }
  Writer.Close();
  return Writer.SamplesWritten();
}

// The path without its counter: what names the instance.
std::string InstanceOf(const std::string& Path) { return Path.substr(0, Path.rfind('\\')); }

std::string FullPath(const std::string& Machine, const std::string& Path) {
  return "\\\\" + Machine + Path;
}

// The table of values, its columns fixed by the instances of the first sample.
class TRelogTable {
 public:
  TRelogTable(std::ostream& Out, TLogTableFormat Format, const TLogMachine& Machine)
      : Writer_(Out, Format, Machine.TimeZoneName, Machine.Bias), Machine_(Machine.ComputerName) {}

  void Add(std::int64_t Time, const std::vector<TWatchRow>& Rows) {
    if (Columns_.empty() && !HeaderWritten_) WriteHeader(Rows);
    std::vector<std::optional<double>> Values(Columns_.size());
    for (const TWatchRow& Row : Rows) {
      const auto Column = Columns_.find(*Row.Label);
      if (Column == Columns_.end()) {
        LeftOut_.insert(InstanceOf(*Row.Label));
      } else {
        Values[Column->second] = Row.Values.front().Number;
      }
    }
    Writer_.Row(Time, Values);
  }

  std::size_t LeftOut() const { return LeftOut_.size(); }

 private:
  void WriteHeader(const std::vector<TWatchRow>& Rows) {
    std::vector<std::string> Paths;
    for (const TWatchRow& Row : Rows) {
      if (Columns_.emplace(*Row.Label, Paths.size()).second)
        Paths.push_back(FullPath(Machine_, *Row.Label));
    }
    Writer_.Header(Paths);
    HeaderWritten_ = true;
  }

  TLogTableWriter Writer_;
  std::string Machine_;
  std::map<std::string, std::size_t> Columns_;
  bool HeaderWritten_ = false;
  std::set<std::string> LeftOut_;
};

// Whether --objects (indexes or titles, separated by commas) names the object of Index
// and Title; every object without it.
bool ObjectChosen(const Arguments& Args, DWORD Index, const std::string& Title) {
  if (!Args.Has("--objects")) return true;
  std::istringstream Names(Args.Value("--objects"));
  for (std::string Name; std::getline(Names, Name, ',');) {
    if (Name == std::to_string(Index) || SameText(Name, Title)) return true;
  }
  return false;
}

// Every counter of the chosen objects of the replayed sample, of all instances; a counter
// that is only another's base is none. Titles that a path cannot hold are left out.
std::vector<std::string> EveryCounterPath(const Arguments& Args) {
  TPerfObjects Objects(nullptr);
  Objects.SetLocaleID(ChosenLocale(Args));
  std::vector<std::string> Paths;
  for (std::int32_t Position = 0; Position < Objects.ObjectCount(); ++Position) {
    const PPERF_OBJECT_TYPE Data = Objects.ObjectData(Position);
    const std::string Object = Objects.ObjectTitle(Position);
    if (Object.empty() || !ObjectChosen(Args, Data->ObjectNameTitleIndex, Object)) continue;
    if (Object.find_first_of("(\\") != std::string::npos) {
      std::cerr << "gaugery relog: object \"" << Object
                << "\" cannot be named in a path, left out\n";
      continue;
    }
    TPerfCounters Counters(nullptr);
    Counters.SetLocaleID(Objects.LocaleID());
    Counters.SetObjectName(Object);
    const std::string Instances = Data->NumInstances == PERF_NO_INSTANCES ? "" : "(*)";
    for (std::int32_t Counter = 0; Counter < Counters.CounterCount(); ++Counter) {
      const std::string Title = Counters.CounterTitle(Counter);
      if (Title.empty() || ServesAsBase(Counters.CounterData(Counter)->CounterType)) continue;
      Paths.push_back("\\" + Object + Instances + "\\" + Title);
    }
  }
  if (Paths.empty()) throw Exception("No counter of the chosen objects in the log");
  return Paths;
}

// The paths to relog: the operands or those of --counters FILE; none for every counter.
std::vector<std::string> ChosenPaths(const Arguments& Args, const TRelogOperands& Operands) {
  if (!Args.Has("--counters")) return Operands.Paths;
  if (!Operands.Paths.empty()) throw UsageError("counter paths and --counters exclude each other");
  return CounterListOfFile(Args.Value("--counters"));
}

// Replays Log's Samples samples through a monitor of Paths (every counter for none)
// and writes their values to Out in Format.
void WriteValues(const std::string& Log, std::uint64_t Samples,
                 const std::vector<std::string>& Paths, TRelogFormat Format,
                 const TLogMachine& Machine, std::ostream& Out, const Arguments& Args) {
  UseReplay({Log});
  const std::vector<TCounterSelection> Selections =
      SelectionsOf(Paths.empty() ? EveryCounterPath(Args) : Paths, "");
  TCounterWatch Watch(Selections, Args);
  RestartReplayedSamples();
  const TLogTableFormat TableFormat =
      Format == TRelogFormat::Tsv ? TLogTableFormat::Tsv : TLogTableFormat::Csv;
  TRelogTable Table(Out, TableFormat, Machine);
  TWatchPrinter Printer(TWatchOutput::Json, true, "", {}, Out);
  for (std::uint64_t Sample = 0; Sample < Samples; ++Sample) {
    Watch.Collect();
    if (Format == TRelogFormat::Json) {
      Printer.Print(Watch.SysTime(), Watch.Rows());
    } else {
      Table.Add(Watch.SysTime(), Watch.Rows());
    }
  }
  if (Table.LeftOut() > 0)
    std::cerr << "gaugery relog: " << Table.LeftOut()
              << " instances appeared after the first sample and are not in the table\n";
}

// A temporary log beside Output, removed with the object.
class TTemporaryLog {
 public:
  explicit TTemporaryLog(const std::string& Output) : File_(Output + ".relog-tmp") {}
  ~TTemporaryLog() {
    std::error_code Ignored;
    std::filesystem::remove(File_, Ignored);
  }
  TTemporaryLog(const TTemporaryLog&) = delete;
  TTemporaryLog& operator=(const TTemporaryLog&) = delete;
  const std::string& File() const { return File_; }

 private:
  std::string File_;
};

int Convert(const Arguments& Args, const TRelogOperands& Operands) {
  if (Operands.Output.empty()) throw UsageError("needs an output file: -o FILE");
  const TRelogFormat Format = ChosenFormat(Args, Operands.Output);
  const std::vector<std::string> Paths =
      Format == TRelogFormat::Log ? std::vector<std::string>{} : ChosenPaths(Args, Operands);
  std::vector<TRelogInput> Inputs = OpenInputs(Operands.Inputs);
  const TSampleChoice Choice = ChosenSamples(Args, Inputs.front());
  const TLogMachine Machine = Inputs.front().Reader->Machine();
  const TLogNames Names = Inputs.front().Reader->Names();
  TTemporaryLog Temporary(Operands.Output);
  const std::string Merged = Format == TRelogFormat::Log ? Operands.Output : Temporary.File();
  TCounterLogWriter Writer(Merged, Machine, Names);
  const std::uint64_t Samples = MergeInto(Inputs, Choice, Writer);
  if (Format == TRelogFormat::Log) return 0;
  std::ofstream Out(Operands.Output, std::ios::binary | std::ios::trunc);
  try {
    if (!Out) throw Exception("Cannot write \"" + Operands.Output + "\"");
    WriteValues(Merged, Samples, Paths, Format, Machine, Out, Args);
    Out.flush();
    if (!Out) throw Exception("Cannot write \"" + Operands.Output + "\"");
  } catch (...) {
    // A table that stopped half-way is no result.
    Out.close();
    std::error_code Ignored;
    std::filesystem::remove(Operands.Output, Ignored);
    throw;
  }
  return 0;
}

std::string TimeOf(std::int64_t Time) {
  const FILETIME Stamp = Int64ToFileTime(Time);
  SYSTEMTIME Clock{};
  FileTimeToSystemTime(&Stamp, &Clock);
  return IsoTime(Clock);
}

// The objects and instances of Block, a well-formed block.
void CountBlock(std::vector<BYTE>& Block, std::uint64_t& Objects, std::uint64_t& Instances) {
  auto* Data = reinterpret_cast<PPERF_DATA_BLOCK>(Block.data());
  Objects = Data->NumObjectTypes;
  Instances = 0;
  PPERF_OBJECT_TYPE Object = FirstObject(Data);
  for (DWORD Index = 0; Index < Data->NumObjectTypes; ++Index, Object = NextObject(Object)) {
    if (Object->NumInstances > 0) Instances += static_cast<std::uint64_t>(Object->NumInstances);
  }
}

void PrintSummary(const std::string& File) {
  TCounterLogReader Reader(File);
  PrintWarnings(Reader);
  std::uint64_t Samples = 0, Gaps = 0, Objects = 0, Instances = 0;
  std::int64_t Begin = 0, End = 0;
  TLogEntry Entry;
  while (Reader.Next(Entry)) {
    if (Samples + Gaps == 0) Begin = Entry.Time;
    End = Entry.Time;
    if (Entry.Kind == TLogEntry::TKind::Gap) {
      ++Gaps;
    } else if (Samples++ == 0) {
      CountBlock(Entry.Block, Objects, Instances);
    }
  }
  PrintWarnings(Reader);
  std::cout << File << "\n"
            << "  machine    " << Reader.Machine().ComputerName << " (" << Reader.Machine().System
            << ")\n"
            << "  begin      " << (Samples + Gaps > 0 ? TimeOf(Begin) : "-") << "\n"
            << "  end        " << (Samples + Gaps > 0 ? TimeOf(End) : "-") << "\n"
            << "  samples    " << Samples << "\n"
            << "  gaps       " << Gaps << "\n"
            << "  objects    " << Objects << "\n"
            << "  instances  " << Instances << "\n"
            << "  size       " << Reader.Size() << " bytes\n";
}

int Run(const Arguments& Args) {
  const TRelogOperands Operands = SplitOperands(Args.Operands());
  if (!Args.Has("--summary")) return Convert(Args, Operands);
  if (!Operands.Output.empty() || !Operands.Paths.empty())
    throw UsageError("--summary takes input logs only");
  for (const std::string& File : Operands.Inputs) PrintSummary(File);
  return 0;
}

}  // namespace

Command RelogCommand() {
  return {
      "relog",
      "relog IN... -o OUT [--format log|csv|tsv|json] [--locale ID] [--key KEY] "
      "[--every N] [--begin TIME] [--end TIME] [PATH... | --counters FILE | --objects LIST]; "
      "relog --summary IN...",
      "Converts, cuts, thins and merges counter logs: the samples of every IN, in time "
      "order, go to OUT as a log, or as the values of each counter PATH that the monitor "
      "computes: CSV or TSV in the counter-log layout (quoted fields, CRLF, a header of "
      "the time zone and full paths \\\\MACHINE\\Object(Instance)\\Counter, rows of the "
      "recording machine's local time; \" \" where no value; the columns are the "
      "instances of the first sample), or one JSON document per sample with every "
      "instance. With --summary, prints each log's begin, end, samples, gaps, objects, "
      "instances and size.",
      std::string(LocaleOptionDetails) +
          "  -o OUT       the output file\n"
          "  --format F   log, csv, tsv or json (default: as OUT's extension names, .glog "
          "a log; CSV for any other)\n"
          "  --counters FILE  the counter paths, one a line (\"#\" starts a comment line)\n"
          "  --objects LIST  without paths: every counter of these objects (indexes or "
          "titles, separated by commas; default: of every object)\n"
          "  --every N    keeps every Nth sample\n"
          "  --begin TIME, --end TIME  keep the samples of this window: ISO 8601 "
          "(YYYY-MM-DDTHH:MM:SS, the recording machine's local time, or UTC with \"Z\") "
          "or HH:MM[:SS] on the day of the first sample\n"
          "  --key KEY    as for \"gaugery watch\"\n"
          "  --summary    describe the inputs instead\n",
      {"--summary"},
      {"--locale", "--key", "--format", "--counters", "--objects", "--every", "--begin", "--end"},
      Run};
}

}  // namespace gaugery::cli
