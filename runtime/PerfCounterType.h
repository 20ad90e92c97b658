// The counter type word of a counter definition: its fields, the questions the
// components ask of it (how the raw value is read, whether two samples are compared,
// which clock it counts in, how the value is shown) and the six lines that describe it.
//
// Bits outside the six fields (0 to 7 and 12 to 15) are never looked at.
#pragma once

#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "WinPerf.h"
#include "framework/LibraryExport.h"

namespace gaugery {

// The enumerations of the size, type and time base fields are in the order of the
// field's values, which they cover whole.

// The size field: how many bytes the raw value takes.
enum class TCounterSize { DWord, Large, Zero, VariableLength };

// The type field: what the raw value is.
enum class TCounterCategory { Number, Counter, Text, Zero };

// The type and subtype fields together: the kind of value a counter gives. A subtype
// the word's type does not know is OtherNumber or OtherCounter; text and zero counters
// are one kind each, whatever their subtype.
enum class TCounterKind {
  HexNumber,
  DecimalNumber,
  ThousandthsNumber,  // shown divided by 1000
  OtherNumber,
  CounterValue,  // the count itself, or its difference for a delta counter
  Rate,          // divided by the time between two samples
  Fraction,      // divided by its base counter
  Base,          // the base of the fraction before it
  Elapsed,       // a start time, subtracted from the time of the sample
  QueueLength,   // a queue length summed over time
  Histogram,
  OtherCounter,
  Text,
  Zero
};

// The time base field: the clock time values count in.
enum class TCounterTimeBase { PerfFrequency, HundredNanoseconds, ObjectFrequency, Unknown };

// The display field: the suffix a value is shown with. Unknown stands for the values
// 0x50000000 and up.
enum class TCounterDisplay { NoSuffix, PerSecond, Percent, Seconds, NotShown, Unknown };

constexpr TCounterSize CounterSizeOf(DWORD Word) {
  return static_cast<TCounterSize>((Word & PERF_SIZE_MASK) >> 8);
}

constexpr TCounterCategory CounterCategoryOf(DWORD Word) {
  return static_cast<TCounterCategory>((Word & PERF_TYPE_MASK) >> 10);
}

constexpr TCounterKind CounterKindOf(DWORD Word) {
  using enum TCounterKind;
  constexpr TCounterKind Numbers[] = {HexNumber, DecimalNumber, ThousandthsNumber};
  constexpr TCounterKind Counters[] = {CounterValue, Rate,        Fraction, Base,
                                       Elapsed,      QueueLength, Histogram};
  const DWORD Subtype = (Word & PERF_SUBTYPE_MASK) >> 16;
  switch (CounterCategoryOf(Word)) {
    case TCounterCategory::Number:
      return Subtype < std::size(Numbers) ? Numbers[Subtype] : OtherNumber;
    case TCounterCategory::Counter:
      return Subtype < std::size(Counters) ? Counters[Subtype] : OtherCounter;
    case TCounterCategory::Text:
      return Text;
    default:
      return Zero;
  }
}

constexpr TCounterTimeBase CounterTimeBaseOf(DWORD Word) {
  return static_cast<TCounterTimeBase>((Word & PERF_TIMER_MASK) >> 20);
}

constexpr TCounterDisplay CounterDisplayOf(DWORD Word) {
  const DWORD Display = (Word & PERF_DISPLAY_MASK) >> 28;
  return Display < static_cast<DWORD>(TCounterDisplay::Unknown)
             ? static_cast<TCounterDisplay>(Display)
             : TCounterDisplay::Unknown;
}

// Whether the value compares two samples (counter and base are differenced together).
constexpr bool IsDeltaCounter(DWORD Word) { return (Word & PERF_DELTA_COUNTER) != 0; }

// Whether the value is shown as 1 minus the computed value.
constexpr bool IsInverseCounter(DWORD Word) { return (Word & PERF_INVERSE_COUNTER) != 0; }

// Whether the raw value can be read at all: a 4- or 8-byte value, not a zero-length or
// variable-length one.
constexpr bool HasReadableSize(DWORD Word) {
  const TCounterSize Size = CounterSizeOf(Word);
  return Size == TCounterSize::DWord || Size == TCounterSize::Large;
}

// Whether a counter takes the definition right after it as its base, and whether a
// definition serves as the base of the one before it. Only the subtype bits count, not
// the type bits: a number shown in thousandths has the bits of a fraction.
constexpr bool TakesBaseCounter(DWORD Word) {
  return (Word & PERF_SUBTYPE_MASK) == PERF_COUNTER_FRACTION;
}
constexpr bool ServesAsBase(DWORD Word) { return (Word & PERF_SUBTYPE_MASK) == PERF_COUNTER_BASE; }

// "/sec", "%", "secs", or empty for the other display values.
constexpr std::string_view DisplaySuffix(DWORD Word) {
  switch (CounterDisplayOf(Word)) {
    case TCounterDisplay::PerSecond:
      return "/sec";
    case TCounterDisplay::Percent:
      return "%";
    case TCounterDisplay::Seconds:
      return "secs";
    default:
      return {};
  }
}

// The six lines that describe a counter type word.
struct GAUGERY_RUNTIME_API TCounterTypeTexts {
  std::string Size;
  std::string Type;
  // Empty for a type-zero counter, whose subtype line is left as it is.
  std::optional<std::string> Subtype;
  std::string TimeBase;
  std::string Modifier;
  std::string Display;
};

// Decodes the counter type word, with the definition's CounterSize for the size line.
GAUGERY_RUNTIME_API TCounterTypeTexts CounterTypeTexts(DWORD CounterType, DWORD CounterSize);
inline TCounterTypeTexts CounterTypeTexts(const TPERF_COUNTER_DEFINITION& Definition) {
  return CounterTypeTexts(Definition.CounterType, Definition.CounterSize);
}

}  // namespace gaugery
