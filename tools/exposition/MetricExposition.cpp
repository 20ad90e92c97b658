#include "MetricExposition.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <unordered_map>

namespace gaugery::exposition {

namespace {

// File time of 1970-01-01 UTC, in 100-nanosecond units since 1601.
constexpr std::int64_t UnixEpochFileTime = 116444736000000000;
constexpr double FileTimeUnitsPerSecond = 10'000'000.0;
// Integers up to this are exact in a double.
constexpr double LargestExactInteger = 9007199254740992.0;
// The instance of the sums and averages over the others.
constexpr char TotalInstance[] = "_Total";

// The samples of one instance (or of an object without instances).
struct TRow {
  std::string Labels;
  const std::vector<RawValue>* Values = nullptr;
};

std::string LabelPair(std::string_view Name, std::string_view Value) {
  return std::string(Name) + "=\"" + EscapedLabelValue(Value) + "\"";
}

// The instance's name, or its unique identifier when it has no name.
std::string InstanceNameOf(const InstanceDump& Instance) {
  if (!Instance.Name.empty() || Instance.UniqueId == PERF_NO_UNIQUE_ID) return Instance.Name;
  return std::to_string(Instance.UniqueId);
}

// The labels of the label counters, each after a ",".
std::string CounterLabels(const InstanceDump& Instance, const std::vector<TLabelPlan>& Labels) {
  std::string Text;
  for (const TLabelPlan& Label : Labels) {
    const RawValue& Value = Instance.Values[Label.Position];
    Text += "," + LabelPair(Label.Label, Value ? std::to_string(*Value) : std::string());
  }
  return Text;
}

bool IsTotal(const InstanceDump& Instance) { return Instance.Name == TotalInstance; }

// The rows of an object's instances without "_Total", or those of "_Total" without
// the label instance_name when it has no others.
std::vector<TRow> RowsOf(const ObjectDump& Object, const std::vector<TLabelPlan>& Labels) {
  if (Object.NumInstances == PERF_NO_INSTANCES) return {TRow{"", &Object.Values}};
  const bool OnlyTotals = std::all_of(Object.Instances.begin(), Object.Instances.end(), IsTotal);
  std::vector<TRow> Rows;
  std::unordered_map<std::string, int> Seen;  // by name and label counters
  for (const InstanceDump& Instance : Object.Instances) {
    if (IsTotal(Instance) && !OnlyTotals) continue;
    std::string Name = InstanceNameOf(Instance);
    const std::string Others = CounterLabels(Instance, Labels);
    const int Earlier = Seen[Name + Others]++;
    if (Earlier > 0) Name += "#" + std::to_string(Earlier);
    std::string Pairs = OnlyTotals ? Others.substr(Others.empty() ? 0 : 1)
                                   : LabelPair("instance_name", Name) + Others;
    Rows.push_back({Pairs.empty() ? std::string() : "{" + Pairs + "}", &Instance.Values});
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
double ComputedValue(const TFamilyPlan& Plan, const std::vector<RawValue>& Values,
                     const BlockDump& Block) {
  const std::int64_t Raw = Values[Plan.Position].value_or(0);
  switch (Plan.Rule) {
    case TValueRule::StartTime:
      return SecondsSinceUnixEpoch(Block.PerfTime100nSec) -
             static_cast<double>(Plan.ClockNow - Raw) / Plan.Divisor;
    case TValueRule::Ratio:
      return Quotient(Raw, Values[Plan.BasePosition].value_or(0));
    default:
      return static_cast<double>(Raw) * Plan.Multiplier / Plan.Divisor;
  }
}

void WriteFamily(TExpositionWriter& Writer, const TFamilyPlan& Plan, const std::vector<TRow>& Rows,
                 const BlockDump& Block) {
  Writer.BeginFamily(Plan.Name, Plan.Kind, Plan.Unit, Plan.Help);
  for (const TRow& Row : Rows) {
    if (Plan.Rule == TValueRule::Raw)
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

TExpositionWriter::TExpositionWriter(TExpositionFormat Format, std::string Storage)
    : Format_(Format), Text_(std::move(Storage)) {
  Text_.clear();
}

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

void TExpositionWriter::AppendInteger(std::int64_t Value) {
  char Digits[24];
  const auto Result = std::to_chars(Digits, Digits + sizeof Digits, Value);
  Text_.append(Digits, Result.ptr);
}

void TExpositionWriter::Sample(std::string_view Labels, std::int64_t Value) {
  WriteSampleName(Labels);
  AppendInteger(Value);
  Text_ += '\n';
}

void TExpositionWriter::Sample(std::string_view Labels, double Value) {
  WriteSampleName(Labels);
  if (std::isnan(Value)) {
    Text_ += "NaN";
  } else if (std::isinf(Value)) {
    Text_ += Value > 0 ? "+Inf" : "-Inf";
  } else if (std::trunc(Value) == Value && std::fabs(Value) < LargestExactInteger) {
    AppendInteger(static_cast<std::int64_t>(Value));  // "125000000", not "1.25e+08"
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
    const TObjectPlan Plan = PlanObject(Object, Block, Helps);
    const std::vector<TRow> Rows = RowsOf(Object, Plan.Labels);
    for (const TFamilyPlan& Family : Plan.Families) WriteFamily(Writer, Family, Rows, Block);
  }
}

std::string EscapedLabelValue(std::string_view Value) {
  std::string Text;
  Text.reserve(Value.size());
  AppendEscaped(Text, Value, true);
  return Text;
}

}  // namespace gaugery::exposition
