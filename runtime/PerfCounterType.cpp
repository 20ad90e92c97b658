#include "PerfCounterType.h"

#include "framework/TextFunctions.h"

namespace gaugery {

namespace {

// Texts that show the word show all of it, as 8 upper-case hex digits.
std::string UnknownValue(DWORD Word) {
  return "Internal error (CounterType = " + IntToHex(Word, 8) + ")";
}

std::string SizeLine(DWORD Word, DWORD CounterSize) {
  static const char* const Sizes[] = {"DWord", "Large", "Zero length", "Variable length"};
  return std::string(Sizes[static_cast<int>(CounterSizeOf(Word))]) +
         " ( CounterSize = " + IntToStr(CounterSize) + ")";
}

std::string TypeLine(DWORD Word) {
  static const char* const Types[] = {"A number (not a counter)", "An increasing numeric value",
                                      "A text field", "Displays a zero"};
  return Types[static_cast<int>(CounterCategoryOf(Word))];
}

// By the subtype's own value, not its kind: the two text subtypes have texts of their
// own.
std::optional<std::string> SubtypeLine(DWORD Word) {
  static const char* const Numbers[] = {"Display as HEX value", "Display as a decimal integer",
                                        "Display as a decimal/1000"};
  static const char* const Counters[] = {"Display counter value",
                                         "Divide counter / delta time",
                                         "Divide counter / base",
                                         "Base value used in fractions",
                                         "Subtract counter from current time",
                                         "Use Queuelen processing func.",
                                         "Counter begins or ends a histogram"};
  static const char* const Texts[] = {"Unicode", "ASCII"};
  const DWORD Subtype = (Word & PERF_SUBTYPE_MASK) >> 16;
  const auto Pick = [&](const char* const* Known, DWORD Count) {
    return Subtype < Count ? std::string(Known[Subtype]) : UnknownValue(Word);
  };
  switch (CounterCategoryOf(Word)) {
    case TCounterCategory::Number:
      return Pick(Numbers, 3);
    case TCounterCategory::Counter:
      return Pick(Counters, 7);
    case TCounterCategory::Text:
      return Pick(Texts, 2);
    default:
      return std::nullopt;
  }
}

std::string TimeBaseLine(DWORD Word) {
  switch (CounterTimeBaseOf(Word)) {
    case TCounterTimeBase::PerfFrequency:
      return "Use system Performance freq for base";
    case TCounterTimeBase::HundredNanoseconds:
      return "Use 100 NS timer time base units";
    case TCounterTimeBase::ObjectFrequency:
      return "Use the object timer freq";
    default:
      return UnknownValue(Word);
  }
}

// Only a single modifier has a text; none or several give no information.
std::string ModifierLine(DWORD Word) {
  switch (Word & PERF_MODIFIER_MASK) {
    case PERF_DELTA_COUNTER:
      return "Compute difference first";
    case PERF_DELTA_BASE:
      return "Compute base diff as well";
    case PERF_INVERSE_COUNTER:
      return "Show as 1.00-value";
    case PERF_MULTI_COUNTER:
      return "Sum of multiple instances";
    default:
      return "No information (CounterType = " + IntToHex(Word, 8) + ")";
  }
}

std::string DisplayLine(DWORD Word) {
  switch (CounterDisplayOf(Word)) {
    case TCounterDisplay::NoSuffix:
      return "Display without suffix";
    case TCounterDisplay::PerSecond:
      return "Display with suffix \"/sec\"";
    case TCounterDisplay::Percent:
      return "Display with suffix \"%\"";
    case TCounterDisplay::Seconds:
      return "Display with suffix \"secs\"";
    case TCounterDisplay::NotShown:
      return "Value is not displayed";
    default:
      return UnknownValue(Word);
  }
}

}  // namespace

TCounterTypeTexts CounterTypeTexts(DWORD CounterType, DWORD CounterSize) {
  return {SizeLine(CounterType, CounterSize), TypeLine(CounterType),     SubtypeLine(CounterType),
          TimeBaseLine(CounterType),          ModifierLine(CounterType), DisplayLine(CounterType)};
}

}  // namespace gaugery
