#include "MetricPlans.h"

#include <optional>
#include <unordered_set>

#include "MetricHelp.h"

namespace gaugery::exposition {

namespace {

// How a counter definition is exported; see MetricPlans.h.
enum class TRole {
  Skipped,
  Label,
  Gauge,
  Counter,
  Timer,
  InverseTimer,
  QueueLength,
  Ratio,
  FractionParts,
  AverageTimer,
  StartTime
};

// The clock a counter's time values count in.
struct TTimeBase {
  std::int64_t Now = 0;
  std::int64_t Frequency = 0;  // counts per second
};

// What planning one counter needs to know.
struct TCounterSubject {
  const CounterDump& Counter;
  std::size_t Position;
  std::string Title;  // the English title, or a stand-in for a missing one
  const TWords& Object;
  std::string ObjectPhrase;
  std::string TableText;  // the name tables' help text, empty when there is none
  TTimeBase Time;
};

TRole CounterTypeRole(DWORD Type) {
  const bool Delta = (Type & PERF_DELTA_COUNTER) != 0;
  const DWORD Display = Type & PERF_DISPLAY_MASK;
  switch (Type & PERF_SUBTYPE_MASK) {
    case PERF_COUNTER_VALUE:
      return Delta ? TRole::Counter : TRole::Gauge;
    case PERF_COUNTER_RATE:
      if (Display != PERF_DISPLAY_PERCENT) return TRole::Counter;
      return (Type & PERF_INVERSE_COUNTER) != 0 ? TRole::InverseTimer : TRole::Timer;
    case PERF_COUNTER_FRACTION:
      if (Display == PERF_DISPLAY_SECONDS) return TRole::AverageTimer;
      return Delta ? TRole::FractionParts : TRole::Ratio;
    case PERF_COUNTER_ELAPSED:
      return TRole::StartTime;
    case PERF_COUNTER_QUEUELEN:
      return TRole::QueueLength;
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

TRole ExportedRoleOf(const CounterDump& Counter) {
  const TRole Role = RoleOf(Counter);
  return Role == TRole::Gauge && IsCumulativeCount(Counter.Title) ? TRole::Counter : Role;
}

bool IsBase(const CounterDump& Counter) {
  return (Counter.Type & PERF_TYPE_MASK) == PERF_TYPE_COUNTER &&
         (Counter.Type & PERF_SUBTYPE_MASK) == PERF_COUNTER_BASE &&
         (Counter.Size == 4 || Counter.Size == 8);
}

bool NeedsBase(TRole Role) {
  return Role == TRole::Ratio || Role == TRole::FractionParts || Role == TRole::AverageTimer;
}

bool UsesTime(TRole Role) {
  return Role == TRole::Timer || Role == TRole::InverseTimer || Role == TRole::QueueLength ||
         Role == TRole::AverageTimer || Role == TRole::StartTime;
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

TWords ObjectWords(const ObjectDump& Object) {
  TWords Words = TitleWords(Object.Title);
  if (Words.empty()) Words = {"object", std::to_string(Object.Index)};
  return Words;
}

// The English title, or a stand-in for a missing one.
std::string TitleOf(const CounterDump& Counter) {
  return Counter.Title.empty() ? "Untitled " + std::to_string(Counter.Index) : Counter.Title;
}

std::string TableTextOf(const CounterDump& Counter, const THelpTexts& Helps) {
  const auto Found = Helps.find(Counter.HelpIndex);
  return Found != Helps.end() ? Found->second : std::string();
}

// The title's words, or those that stand in for them.
TWords CounterWords(const TCounterSubject& S) {
  if (std::optional<TWords> Exceptional = ExceptionalWords(S.Counter.Title)) return *Exceptional;
  return TitleWords(S.Title);
}

std::string SeriesName(const TFamilyPlan& Family) {
  return Family.Kind == TMetricKind::Counter ? Family.Name + "_total" : Family.Name;
}

TFamilyPlan Family(std::string Name, TMetricKind Kind, TMetricUnit Unit, std::size_t Position) {
  TFamilyPlan Plan;
  Plan.Name = std::move(Name);
  Plan.Kind = Kind;
  Plan.Unit = Unit;
  Plan.Position = Position;
  return Plan;
}

// A value counted in the time base's units, exported in seconds.
TFamilyPlan SecondsFamily(const TCounterSubject& S, const TWords& Words, std::size_t Position) {
  TFamilyPlan Plan = Family(MetricName(S.Object, Words, TMetricUnit::Seconds), TMetricKind::Counter,
                            TMetricUnit::Seconds, Position);
  Plan.Rule = TValueRule::Scaled;
  Plan.Divisor = static_cast<double>(S.Time.Frequency);
  return Plan;
}

THelpSubject HelpSubject(const TCounterSubject& S, std::string_view Words = {},
                         std::string_view Partner = {}) {
  return {S.ObjectPhrase, S.Title, Words, Partner};
}

// A gauge or a counter of raw values: counts, and quantities of bytes.
std::vector<TFamilyPlan> PlanCount(const TCounterSubject& S, TMetricKind Kind) {
  TWords Words = WithoutObjectWords(CounterWords(S), S.Object);
  TMetricUnit Unit = TMetricUnit::None;
  double Factor = 1;
  if (const std::optional<TByteQuantity> Bytes = ByteQuantityOf(Words, S.TableText)) {
    Words = Bytes->Words;
    Unit = TMetricUnit::Bytes;
    Factor = Bytes->Factor;
  }
  Words = WithoutTotal(WithoutTrailingCount(std::move(Words)));
  if (Words.empty() && Unit == TMetricUnit::None)
    Words = {"untitled", std::to_string(S.Counter.Index)};
  TFamilyPlan Plan = Family(MetricName(S.Object, Words, Unit), Kind, Unit, S.Position);
  const bool Thousandths = (S.Counter.Type & PERF_TYPE_MASK) == PERF_TYPE_NUMBER &&
                           (S.Counter.Type & PERF_SUBTYPE_MASK) == PERF_NUMBER_DEC_1000;
  if (Factor != 1 || Thousandths) {
    Plan.Rule = TValueRule::Scaled;
    Plan.Multiplier = Factor >= 1 ? Factor : 1;
    Plan.Divisor = (Factor < 1 ? 1 / Factor : 1) * (Thousandths ? 1000 : 1);
  }
  const bool Counts = Kind == TMetricKind::Counter;
  const THelpKind Help = Unit == TMetricUnit::Bytes
                             ? (Counts ? THelpKind::ByteCount : THelpKind::Bytes)
                             : (Counts ? THelpKind::Count : THelpKind::Gauge);
  Plan.Help = MetricHelp(Help, HelpSubject(S), S.TableText);
  return {Plan};
}

std::vector<TFamilyPlan> PlanTimer(const TCounterSubject& S) {
  const std::optional<TWords> Exceptional = ExceptionalWords(S.Counter.Title);
  const TWords Words = WithoutObjectWords(WithoutTrailingTime(CounterWords(S)), S.Object);
  TFamilyPlan Plan = SecondsFamily(S, Words, S.Position);
  Plan.Help = MetricHelp(THelpKind::Time,
                         HelpSubject(S, Exceptional ? SpacedWords(*Exceptional) : std::string()),
                         S.TableText);
  return {Plan};
}

std::vector<TFamilyPlan> PlanInverseTimer(const TCounterSubject& S) {
  const TWords Words =
      ComplementWords(WithoutObjectWords(WithoutTrailingTime(CounterWords(S)), S.Object));
  TFamilyPlan Plan = SecondsFamily(S, Words, S.Position);
  Plan.Help = MetricHelp(THelpKind::OutsideTime, HelpSubject(S, SpacedWords(Words)), S.TableText);
  return {Plan};
}

std::vector<TFamilyPlan> PlanQueueLength(const TCounterSubject& S) {
  TWords Words = CounterWords(S);
  std::erase(Words, "average");
  TFamilyPlan Plan = SecondsFamily(S, WithoutObjectWords(std::move(Words), S.Object), S.Position);
  Plan.Help = MetricHelp(THelpKind::QueueTime, HelpSubject(S), S.TableText);
  return {Plan};
}

std::vector<TFamilyPlan> PlanRatio(const TCounterSubject& S) {
  const bool Percent = (S.Counter.Type & PERF_DISPLAY_MASK) == PERF_DISPLAY_PERCENT;
  const TMetricUnit Unit = Percent ? TMetricUnit::Ratio : TMetricUnit::None;
  TFamilyPlan Plan =
      Family(MetricName(S.Object, WithoutObjectWords(CounterWords(S), S.Object), Unit),
             TMetricKind::Gauge, Unit, S.Position);
  Plan.Rule = TValueRule::Ratio;
  Plan.BasePosition = S.Position + 1;
  Plan.Help =
      MetricHelp(Percent ? THelpKind::Ratio : THelpKind::Gauge, HelpSubject(S), S.TableText);
  return {Plan};
}

std::vector<TFamilyPlan> PlanFractionParts(const TCounterSubject& S) {
  const std::string Name =
      MetricName(S.Object, WithoutObjectWords(CounterWords(S), S.Object), TMetricUnit::None);
  TFamilyPlan Numerator = Family(Name, TMetricKind::Counter, TMetricUnit::None, S.Position);
  TFamilyPlan Denominator =
      Family(Name + "_base", TMetricKind::Counter, TMetricUnit::None, S.Position + 1);
  Numerator.Help =
      MetricHelp(THelpKind::Numerator, HelpSubject(S, {}, SeriesName(Denominator)), S.TableText);
  Denominator.Help =
      MetricHelp(THelpKind::Denominator, HelpSubject(S, {}, SeriesName(Numerator)), {});
  return {Numerator, Denominator};
}

std::vector<TFamilyPlan> PlanAverageTimer(const TCounterSubject& S) {
  const TWords Averaged = AveragedWords(CounterWords(S), S.Object);
  const TWords Operations = WithPluralEnd(Averaged);
  TFamilyPlan Seconds = SecondsFamily(S, Averaged, S.Position);
  TFamilyPlan Counted = Family(MetricName(S.Object, Operations, TMetricUnit::None),
                               TMetricKind::Counter, TMetricUnit::None, S.Position + 1);
  if ((S.Counter.Type & PERF_DELTA_COUNTER) != 0) {
    Counted.Rule = TValueRule::Scaled;
    Counted.Divisor = static_cast<double>(S.Time.Frequency);
  }
  const std::string OperationWords = SpacedWords(Operations);
  Seconds.Help = MetricHelp(THelpKind::AveragedTime,
                            HelpSubject(S, OperationWords, SeriesName(Counted)), S.TableText);
  Counted.Help = MetricHelp(THelpKind::Operations, HelpSubject(S, OperationWords), {});
  return {Seconds, Counted};
}

std::vector<TFamilyPlan> PlanStartTime(const TCounterSubject& S) {
  const TWords Words = WithoutObjectWords(StartTimeWords(CounterWords(S)), S.Object);
  TFamilyPlan Plan = Family(MetricName(S.Object, Words, TMetricUnit::Seconds), TMetricKind::Gauge,
                            TMetricUnit::Seconds, S.Position);
  Plan.Rule = TValueRule::StartTime;
  Plan.ClockNow = S.Time.Now;
  Plan.Divisor = static_cast<double>(S.Time.Frequency);
  Plan.Help = MetricHelp(THelpKind::StartTime, HelpSubject(S), S.TableText);
  return {Plan};
}

std::vector<TFamilyPlan> PlanFamilies(TRole Role, const TCounterSubject& S) {
  switch (Role) {
    case TRole::Gauge:
      return PlanCount(S, TMetricKind::Gauge);
    case TRole::Counter:
      return PlanCount(S, TMetricKind::Counter);
    case TRole::Timer:
      return PlanTimer(S);
    case TRole::InverseTimer:
      return PlanInverseTimer(S);
    case TRole::QueueLength:
      return PlanQueueLength(S);
    case TRole::Ratio:
      return PlanRatio(S);
    case TRole::FractionParts:
      return PlanFractionParts(S);
    case TRole::AverageTimer:
      return PlanAverageTimer(S);
    case TRole::StartTime:
      return PlanStartTime(S);
    default:
      return {};
  }
}

}  // namespace

TObjectPlan PlanObject(const ObjectDump& Object, const BlockDump& Block, const THelpTexts& Helps) {
  const TWords Prefix = ObjectWords(Object);
  const std::string ObjectPhrase = SpacedWords(Prefix);
  const bool HasInstances = Object.NumInstances != PERF_NO_INSTANCES;
  TObjectPlan Plan;
  std::unordered_set<std::string> Names;
  for (std::size_t Position = 0; Position < Object.Counters.size(); ++Position) {
    const CounterDump& Counter = Object.Counters[Position];
    const TRole Role = ExportedRoleOf(Counter);
    if (Role == TRole::Gauge && HasInstances) {
      if (const std::optional<std::string_view> Label = InstanceLabelOf(Counter.Title)) {
        Plan.Labels.push_back({*Label, Position});
        continue;
      }
    }
    if (NeedsBase(Role) &&
        (Position + 1 == Object.Counters.size() || !IsBase(Object.Counters[Position + 1])))
      continue;  // a fraction without its base cannot be computed
    const TTimeBase Time = TimeBaseOf(Counter.Type, Object, Block);
    if (Role == TRole::Skipped || (UsesTime(Role) && Time.Frequency <= 0)) continue;
    const TCounterSubject Subject{Counter, Position,     TitleOf(Counter),
                                  Prefix,  ObjectPhrase, TableTextOf(Counter, Helps),
                                  Time};
    for (TFamilyPlan& Family : PlanFamilies(Role, Subject)) {
      if (Names.insert(Family.Name).second) Plan.Families.push_back(std::move(Family));
    }
  }
  return Plan;
}

}  // namespace gaugery::exposition
