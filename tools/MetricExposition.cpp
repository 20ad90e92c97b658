#include "MetricExposition.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <unordered_map>

namespace gaugery::cli {

namespace {

// File time of 1970-01-01 UTC, in 100-nanosecond units since 1601.
constexpr std::int64_t UnixEpochFileTime = 116444736000000000;
constexpr double FileTimeUnitsPerSecond = 10'000'000.0;

constexpr char InverseTimerNote[] =
    " (Exported as the clock of the counter's time base minus the time outside the state "
    "measured: its rate is the share of time in that state; its value means nothing alone.)";

// How a counter definition is exported; see MetricExposition.h.
enum class TRole { Skipped, Label, Gauge, Counter, Timer, InverseTimer, Ratio, FractionParts, StartTime };

// The clock a counter's time values count in.
struct TTimeBase {
  std::int64_t Now = 0;
  std::int64_t Frequency = 0;  // counts per second
};

// One exported counter of an object.
struct TCounterPlan {
  const CounterDump* Counter = nullptr;
  std::size_t Position = 0;
  std::size_t BasePosition = 0;  // the base counter of a fraction
  TRole Role = TRole::Skipped;
  TMetricUnit Unit = TMetricUnit::None;
  TTimeBase Time;
  std::string Name;
  std::string Help;
};

// The samples of one instance (or of an object without instances).
struct TRow {
  std::string Labels;
  const std::vector<RawValue>* Values = nullptr;
};

TRole CounterTypeRole(DWORD Type) {
  const bool Delta = (Type & PERF_DELTA_COUNTER) != 0;
  switch (Type & PERF_SUBTYPE_MASK) {
    case PERF_COUNTER_VALUE:
      return Delta ? TRole::Counter : TRole::Gauge;
    case PERF_COUNTER_RATE:
      if ((Type & PERF_DISPLAY_MASK) != PERF_DISPLAY_PERCENT) return TRole::Counter;
      return (Type & PERF_INVERSE_COUNTER) != 0 ? TRole::InverseTimer : TRole::Timer;
    case PERF_COUNTER_FRACTION:
      return Delta ? TRole::FractionParts : TRole::Ratio;
    case PERF_COUNTER_ELAPSED:
      return TRole::StartTime;
    case PERF_COUNTER_QUEUELEN:
      return TRole::Counter;
    default:  // base counters, histograms and unknown subtypes
      return TRole::Skipped;
  }
}

TRole RoleOf(const CounterDump& Counter) {
  if (Counter.Size != 4 && Counter.Size != 8) return TRole::Skipped;
  if ((Counter.Type & PERF_DISPLAY_MASK) == PERF_DISPLAY_NOSHOW) return TRole::Skipped;
  switch (Counter.Type & PERF_TYPE_MASK) {
    case PERF_TYPE_NUMBER:
      return (Counter.Type & PERF_SUBTYPE_MASK) <= PERF_NUMBER_DEC_1000 ? TRole::Gauge
                                                                        : TRole::Skipped;
    case PERF_TYPE_COUNTER:
      return CounterTypeRole(Counter.Type);
    default:
      return TRole::Skipped;
  }
}

bool IsBase(const CounterDump& Counter) {
  return (Counter.Type & PERF_TYPE_MASK) == PERF_TYPE_COUNTER &&
         (Counter.Type & PERF_SUBTYPE_MASK) == PERF_COUNTER_BASE &&
         (Counter.Size == 4 || Counter.Size == 8);
}

TTimeBase TimeBaseOf(DWORD Type, const ObjectDump& Object, const BlockDump& Block) {
  switch (Type & PERF_TIMER_MASK) {
    case PERF_TIMER_100NS:
      return {Block.PerfTime100nSec, 10'000'000};
    case PERF_OBJECT_TIMER:
      return {Object.PerfTime, Object.PerfFreq};
    default:
      return {Block.PerfTime, Block.PerfFreq};
  }
}

bool UsesTime(TRole Role, TMetricUnit Unit) {
  return Role == TRole::Timer || Role == TRole::InverseTimer || Role == TRole::StartTime ||
         (Role == TRole::Ratio && Unit == TMetricUnit::Seconds);
}

TMetricUnit UnitOf(TRole Role, DWORD Type, const TWords& Words, std::string_view Help) {
  switch (Role) {
    case TRole::Timer:
    case TRole::InverseTimer:
    case TRole::StartTime:
      return TMetricUnit::Seconds;
    case TRole::Ratio:
      if ((Type & PERF_DISPLAY_MASK) == PERF_DISPLAY_PERCENT) return TMetricUnit::Ratio;
      return (Type & PERF_DISPLAY_MASK) == PERF_DISPLAY_SECONDS ? TMetricUnit::Seconds
                                                                : TMetricUnit::None;
    case TRole::Gauge:
    case TRole::Counter:
      return CountsBytes(Words, Help) ? TMetricUnit::Bytes : TMetricUnit::None;
    default:
      return TMetricUnit::None;
  }
}

TWords CounterWords(TRole Role, TMetricUnit Unit, const CounterDump& Counter) {
  TWords Words = WithoutTrailingCount(TitleWords(Counter.Title));
  if (Role == TRole::Timer || Role == TRole::InverseTimer) Words = WithoutTrailingTime(Words);
  if (Role == TRole::StartTime) Words = StartTimeWords(Words);
  if (Unit == TMetricUnit::Bytes) Words = WithoutBytes(Words);
  if (Words.empty() && Unit == TMetricUnit::None) Words = {"counter", std::to_string(Counter.Index)};
  return Words;
}

TWords ObjectWords(const ObjectDump& Object) {
  TWords Words = TitleWords(Object.Title);
  if (Words.empty()) Words = {"object", std::to_string(Object.Index)};
  return Words;
}

std::string HelpOf(const CounterDump& Counter, const THelpTexts& Helps) {
  const auto Found = Helps.find(Counter.HelpIndex);
  return Found != Helps.end() && !Found->second.empty() ? Found->second : Counter.Title;
}

std::vector<TCounterPlan> PlanCounters(const ObjectDump& Object, const BlockDump& Block,
                                       const THelpTexts& Helps) {
  const TWords Prefix = ObjectWords(Object);
  const bool HasInstances = Object.NumInstances != PERF_NO_INSTANCES;
  std::vector<TCounterPlan> Plans;
  for (std::size_t Position = 0; Position < Object.Counters.size(); ++Position) {
    const CounterDump& Counter = Object.Counters[Position];
    TCounterPlan Plan{&Counter, Position, Position + 1, RoleOf(Counter)};
    if (Plan.Role == TRole::Gauge && HasInstances && InstanceLabelOf(Counter.Title))
      Plan.Role = TRole::Label;
    const bool IsFraction = Plan.Role == TRole::Ratio || Plan.Role == TRole::FractionParts;
    if (IsFraction && (Plan.BasePosition == Object.Counters.size() ||
                       !IsBase(Object.Counters[Plan.BasePosition])))
      continue;  // a fraction without its base cannot be computed
    if (Plan.Role == TRole::Skipped) continue;
    Plan.Help = HelpOf(Counter, Helps);
    if (Plan.Role == TRole::InverseTimer) Plan.Help += InverseTimerNote;
    const TWords Words = TitleWords(Counter.Title);
    Plan.Unit = UnitOf(Plan.Role, Counter.Type, Words, Plan.Help);
    Plan.Time = TimeBaseOf(Counter.Type, Object, Block);
    if (UsesTime(Plan.Role, Plan.Unit) && Plan.Time.Frequency <= 0) continue;
    Plan.Name = MetricName(Prefix, CounterWords(Plan.Role, Plan.Unit, Counter), Plan.Unit);
    Plans.push_back(std::move(Plan));
  }
  return Plans;
}

std::string LabelPair(std::string_view Name, std::string_view Value) {
  return std::string(Name) + "=\"" + EscapedLabelValue(Value) + "\"";
}

// The instance's name, or its unique identifier when it has no name.
std::string InstanceNameOf(const InstanceDump& Instance) {
  if (!Instance.Name.empty() || Instance.UniqueId == PERF_NO_UNIQUE_ID) return Instance.Name;
  return std::to_string(Instance.UniqueId);
}

// The labels of the label counters, each after a ",".
std::string CounterLabels(const InstanceDump& Instance, const std::vector<TCounterPlan>& Plans) {
  std::string Labels;
  for (const TCounterPlan& Plan : Plans) {
    if (Plan.Role != TRole::Label) continue;
    const RawValue& Value = Instance.Values[Plan.Position];
    Labels += "," + LabelPair(*InstanceLabelOf(Plan.Counter->Title),
                              Value ? std::to_string(*Value) : std::string());
  }
  return Labels;
}

std::vector<TRow> RowsOf(const ObjectDump& Object, const std::vector<TCounterPlan>& Plans) {
  if (Object.NumInstances == PERF_NO_INSTANCES) return {TRow{"", &Object.Values}};
  std::vector<TRow> Rows;
  std::unordered_map<std::string, int> Seen;  // by name and label counters
  for (const InstanceDump& Instance : Object.Instances) {
    std::string Name = InstanceNameOf(Instance);
    const std::string Others = CounterLabels(Instance, Plans);
    const int Earlier = Seen[Name + Others]++;
    if (Earlier > 0) Name += "#" + std::to_string(Earlier);
    Rows.push_back({"{" + LabelPair("instance_name", Name) + Others + "}", &Instance.Values});
  }
  return Rows;
}

double SecondsSinceUnixEpoch(std::int64_t FileTime) {
  return static_cast<double>(FileTime - UnixEpochFileTime) / FileTimeUnitsPerSecond;
}

double Quotient(std::int64_t Numerator, std::int64_t Denominator) {
  return Denominator == 0 ? 0.0 : static_cast<double>(Numerator) / static_cast<double>(Denominator);
}

// The sample of one row for a family that needs arithmetic.
double ComputedValue(const TCounterPlan& Plan, const std::vector<RawValue>& Values,
                     const BlockDump& Block) {
  const std::int64_t Raw = Values[Plan.Position].value_or(0);
  const auto Frequency = static_cast<double>(Plan.Time.Frequency);
  switch (Plan.Role) {
    case TRole::Timer:
      return static_cast<double>(Raw) / Frequency;
    case TRole::InverseTimer:
      return static_cast<double>(Plan.Time.Now - Raw) / Frequency;
    case TRole::StartTime:
      return SecondsSinceUnixEpoch(Block.PerfTime100nSec) -
             static_cast<double>(Plan.Time.Now - Raw) / Frequency;
    case TRole::Ratio: {
      const double Ratio = Quotient(Raw, Values[Plan.BasePosition].value_or(0));
      return Plan.Unit == TMetricUnit::Seconds ? Ratio / Frequency : Ratio;
    }
    default:  // a gauge shown as a decimal / 1000
      return static_cast<double>(Raw) / 1000.0;
  }
}

bool IsRawSample(const TCounterPlan& Plan) {
  const bool Thousandths = (Plan.Counter->Type & PERF_TYPE_MASK) == PERF_TYPE_NUMBER &&
                           (Plan.Counter->Type & PERF_SUBTYPE_MASK) == PERF_NUMBER_DEC_1000;
  return Plan.Role == TRole::Counter || (Plan.Role == TRole::Gauge && !Thousandths);
}

TMetricKind KindOf(TRole Role) {
  switch (Role) {
    case TRole::Counter:
    case TRole::Timer:
    case TRole::InverseTimer:
    case TRole::FractionParts:
      return TMetricKind::Counter;
    default:
      return TMetricKind::Gauge;
  }
}

void WriteFractionParts(TExpositionWriter& Writer, const TCounterPlan& Plan,
                        const std::vector<TRow>& Rows) {
  const std::string Name = Writer.BeginFamily(Plan.Name, TMetricKind::Counter, Plan.Unit, Plan.Help);
  for (const TRow& Row : Rows) Writer.Sample(Row.Labels, (*Row.Values)[Plan.Position].value_or(0));
  Writer.BeginFamily(Name + "_base", TMetricKind::Counter, TMetricUnit::None,
                     "The base of " + Name + ": the rate of " + Name +
                         "_total over the rate of this counter is the fraction.");
  for (const TRow& Row : Rows)
    Writer.Sample(Row.Labels, (*Row.Values)[Plan.BasePosition].value_or(0));
}

void WriteFamily(TExpositionWriter& Writer, const TCounterPlan& Plan, const std::vector<TRow>& Rows,
                 const BlockDump& Block) {
  if (Plan.Role == TRole::FractionParts) {
    WriteFractionParts(Writer, Plan, Rows);
    return;
  }
  Writer.BeginFamily(Plan.Name, KindOf(Plan.Role), Plan.Unit, Plan.Help);
  const bool Raw = IsRawSample(Plan);
  for (const TRow& Row : Rows) {
    if (Raw)
      Writer.Sample(Row.Labels, (*Row.Values)[Plan.Position].value_or(0));
    else
      Writer.Sample(Row.Labels, ComputedValue(Plan, *Row.Values, Block));
  }
}

void AppendEscaped(std::string& Text, std::string_view Value, bool QuoteToo) {
  for (const char C : Value) {
    if (C == '\\')
      Text += "\\\\";
    else if (C == '\n')
      Text += "\\n";
    else if (C == '"' && QuoteToo)
      Text += "\\\"";
    else
      Text += C;
  }
}

}  // namespace

TExpositionWriter::TExpositionWriter(TExpositionFormat Format) : Format_(Format) {}

std::string TExpositionWriter::BeginFamily(const std::string& Name, TMetricKind Kind,
                                           TMetricUnit Unit, std::string_view Help) {
  std::string Unique = Name;
  for (int Suffix = 2; !Names_.insert(Unique).second; ++Suffix)
    Unique = Name + "_" + std::to_string(Suffix);
  SampleName_ = Kind == TMetricKind::Counter ? Unique + "_total" : Unique;
  const std::string_view Type = Kind == TMetricKind::Counter ? "counter" : "gauge";
  if (Format_ == TExpositionFormat::OpenMetrics) {
    Text_ += "# TYPE " + Unique + " " + std::string(Type) + "\n";
    // A unit's name ends the family's name only while the family kept the name asked for.
    if (Unit != TMetricUnit::None && Unique == Name)
      Text_ += "# UNIT " + Unique + " " + std::string(UnitText(Unit)) + "\n";
    Text_ += "# HELP " + Unique + " ";
  } else {
    Text_ += "# HELP " + SampleName_ + " ";
  }
  WriteHelp(Help);
  if (Format_ == TExpositionFormat::Prometheus)
    Text_ += "# TYPE " + SampleName_ + " " + std::string(Type) + "\n";
  return Unique;
}

void TExpositionWriter::WriteHelp(std::string_view Help) {
  AppendEscaped(Text_, Help, Format_ == TExpositionFormat::OpenMetrics);
  Text_ += '\n';
}

void TExpositionWriter::WriteSampleName(std::string_view Labels) {
  Text_ += SampleName_;
  Text_ += Labels;
  Text_ += ' ';
}

void TExpositionWriter::Sample(std::string_view Labels, std::int64_t Value) {
  WriteSampleName(Labels);
  char Digits[24];
  const auto Result = std::to_chars(Digits, Digits + sizeof Digits, Value);
  Text_.append(Digits, Result.ptr);
  Text_ += '\n';
}

void TExpositionWriter::Sample(std::string_view Labels, double Value) {
  WriteSampleName(Labels);
  if (std::isnan(Value)) {
    Text_ += "NaN";
  } else if (std::isinf(Value)) {
    Text_ += Value > 0 ? "+Inf" : "-Inf";
  } else {
    char Digits[32];
    const auto Result = std::to_chars(Digits, Digits + sizeof Digits, Value);
    Text_.append(Digits, Result.ptr);
  }
  Text_ += '\n';
}

std::string TExpositionWriter::Finish() {
  if (Format_ == TExpositionFormat::OpenMetrics) Text_ += "# EOF\n";
  return std::move(Text_);
}

void WriteBlockMetrics(TExpositionWriter& Writer, const BlockDump& Block, const THelpTexts& Helps) {
  for (const ObjectDump& Object : Block.Objects) {
    const std::vector<TCounterPlan> Plans = PlanCounters(Object, Block, Helps);
    const std::vector<TRow> Rows = RowsOf(Object, Plans);
    for (const TCounterPlan& Plan : Plans) {
      if (Plan.Role != TRole::Label) WriteFamily(Writer, Plan, Rows, Block);
    }
  }
}

std::string EscapedLabelValue(std::string_view Value) {
  std::string Text;
  Text.reserve(Value.size());
  AppendEscaped(Text, Value, true);
  return Text;
}

}  // namespace gaugery::cli
