#include "framework/Format.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/DecimalDigits.h"
#include "framework/Exceptions.h"
#include "framework/TextFunctions.h"
#include "framework/Unicode.h"

#ifdef _WIN32
#include "framework/WindowsApi.h"
#else
#include <clocale>
#include <langinfo.h>
#endif

namespace gaugery {

// ---------------------------------------------------------------------------------------
// Locale settings

namespace {

bool IsWellFormedUtf8(const std::string& Text) { return ToUtf8(ToWide(Text)) == Text; }

char Lower(char C) { return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C; }

bool IsQuote(char C) { return C == '\'' || C == '"'; }

// The text between the quote at Pos and its closing quote (or the end of Text, when the
// quote is not closed); Pos moves past the closing quote.
std::string_view ReadQuoted(std::string_view Text, std::size_t& Pos) {
  const std::size_t Close = Text.find(Text[Pos], Pos + 1);
  const std::size_t End = Close == std::string_view::npos ? Text.size() : Close;
  const std::string_view Inner = Text.substr(Pos + 1, End - Pos - 1);
  Pos = std::min(End + 1, Text.size());
  return Inner;
}

// Replaces Field by Text when the locale offers a usable separator.
void TakeSeparator(std::string& Field, const std::string& Text) {
  if (!Text.empty() && IsWellFormedUtf8(Text)) Field = Text;
}

#ifdef _WIN32

std::string LocaleInfo(LCTYPE Type) {
  WCHAR Buffer[16];
  const int Length = ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, Type, Buffer, 16);
  return Length > 1 ? ToUtf8(Buffer, static_cast<std::size_t>(Length - 1)) : std::string();
}

TFormatSettings ReadFormatSettings() {
  TFormatSettings Settings;
  TakeSeparator(Settings.DecimalSeparator, LocaleInfo(LOCALE_SDECIMAL));
  TakeSeparator(Settings.ThousandSeparator, LocaleInfo(LOCALE_STHOUSAND));
  TakeSeparator(Settings.TimeSeparator, LocaleInfo(LOCALE_STIME));
  return Settings;
}

#else

bool IsPlainLocale(const char* Name) {
  return Name == nullptr || std::string_view(Name) == "C" || std::string_view(Name) == "POSIX";
}

// The literal text after the first field of a time format ("%H:%M:%S" gives ":").
std::string TimeSeparatorOf(std::string_view TimeFormat) {
  const std::size_t Field = TimeFormat.find('%');
  if (Field == std::string_view::npos || Field + 2 > TimeFormat.size()) return {};
  const std::string_view Rest = TimeFormat.substr(Field + 2);
  return std::string(Rest.substr(0, Rest.find('%')));
}

TFormatSettings ReadFormatSettings() {
  TFormatSettings Settings;
  if (!IsPlainLocale(std::setlocale(LC_NUMERIC, nullptr))) {
    const std::lconv* Conventions = std::localeconv();
    TakeSeparator(Settings.DecimalSeparator, Conventions->decimal_point);
    TakeSeparator(Settings.ThousandSeparator, Conventions->thousands_sep);
  }
  if (!IsPlainLocale(std::setlocale(LC_TIME, nullptr))) {
    TakeSeparator(Settings.TimeSeparator, TimeSeparatorOf(nl_langinfo(T_FMT)));
  }
  return Settings;
}

#endif

}  // namespace

TFormatSettings& FormatSettings() {
  static TFormatSettings Settings = ReadFormatSettings();
  return Settings;
}

// ---------------------------------------------------------------------------------------
// Fixed, scientific and general texts of floating-point values

namespace {

// Float conversions show at most this many decimals or significant digits.
constexpr int kMaxFloatDigits = 18;

// A non-negative number with leading zeros up to Width digits (exponents, time fields).
std::string Padded(int Value, std::size_t Width) {
  std::string Text = std::to_string(Value);
  if (Text.size() < Width) Text.insert(0, Width - Text.size(), '0');
  return Text;
}

void RoundToDecimals(TDecimal& Decimal, int Decimals) {
  KeepDigits(Decimal, Decimal.Exponent + Decimals);
}

// The digits before the decimal point; empty below 1.
std::string IntegerDigits(const TDecimal& Decimal) {
  if (Decimal.Exponent <= 0) return {};
  const auto Length = static_cast<std::size_t>(Decimal.Exponent);
  std::string Digits = Decimal.Digits.substr(0, Length);
  Digits.resize(Length, '0');
  return Digits;
}

// The first Count digits after the decimal point.
std::string FractionDigits(const TDecimal& Decimal, int Count) {
  std::string Digits;
  for (int Place = 0; Place < Count; ++Place) {
    const int Index = Decimal.Exponent + Place;
    const bool Present = Index >= 0 && Index < static_cast<int>(Decimal.Digits.size());
    Digits += Present ? Decimal.Digits[static_cast<std::size_t>(Index)] : '0';
  }
  return Digits;
}

std::string GroupThousands(const std::string& Digits) {
  const std::string& Separator = FormatSettings().ThousandSeparator;
  std::string Grouped;
  for (std::size_t I = 0; I < Digits.size(); ++I) {
    Grouped += Digits[I];
    const std::size_t Remaining = Digits.size() - I - 1;
    if (Remaining > 0 && Remaining % 3 == 0) Grouped += Separator;
  }
  return Grouped;
}

std::optional<std::string> NonFiniteText(long double Value) {
  if (std::isnan(Value)) return "NAN";
  if (std::isinf(Value)) return Value < 0 ? "-INF" : "INF";
  return std::nullopt;
}

// Fixed-point text: "-1,234.50".
std::string FixedText(long double Value, int Decimals, bool Grouping) {
  if (auto Text = NonFiniteText(Value)) return *Text;
  TDecimal Decimal = ExactDecimal(Value, Decimals + 1);
  RoundToDecimals(Decimal, Decimals);
  std::string Integer = IntegerDigits(Decimal);
  if (Integer.empty()) Integer.assign(1, '0');
  std::string Text = Decimal.ShowsMinus() ? "-" : "";
  Text += Grouping ? GroupThousands(Integer) : Integer;
  if (Decimals > 0) Text += FormatSettings().DecimalSeparator + FractionDigits(Decimal, Decimals);
  return Text;
}

// Scientific text with Precision significant digits: "-1.2340E+003".
std::string ScientificText(long double Value, int Precision) {
  if (auto Text = NonFiniteText(Value)) return *Text;
  TDecimal Decimal = ExactDecimal(Value);
  KeepDigits(Decimal, Precision);
  std::string Mantissa = Decimal.Digits;
  Mantissa.resize(static_cast<std::size_t>(Precision), '0');
  const int Exponent = Decimal.IsZero() ? 0 : Decimal.Exponent - 1;
  const std::string ExponentDigits = Padded(std::abs(Exponent), 3);

  std::string Text = Decimal.ShowsMinus() ? "-" : "";
  Text += Mantissa[0];
  if (Precision > 1) Text += FormatSettings().DecimalSeparator + Mantissa.substr(1);
  return Text + "E" + (Exponent < 0 ? "-" : "+") + ExponentDigits;
}

// The shorter of fixed and scientific with at most Precision significant digits and no
// trailing zeros: "1234.5", "1E20", "1.5E-7".
std::string GeneralText(long double Value, int Precision) {
  if (auto Text = NonFiniteText(Value)) return *Text;
  TDecimal Decimal = ExactDecimal(Value);
  KeepDigits(Decimal, Precision);
  if (Decimal.IsZero()) return "0";
  const std::string& Point = FormatSettings().DecimalSeparator;
  std::string Text = Decimal.ShowsMinus() ? "-" : "";
  if (Decimal.Exponent <= Precision && Decimal.Exponent >= -4) {
    std::string Integer = IntegerDigits(Decimal);
    Text += Integer.empty() ? "0" : Integer;
    const int Decimals = static_cast<int>(Decimal.Digits.size()) - Decimal.Exponent;
    if (Decimals > 0) Text += Point + FractionDigits(Decimal, Decimals);
    return Text;
  }
  Text += Decimal.Digits[0];
  if (Decimal.Digits.size() > 1) Text += Point + Decimal.Digits.substr(1);
  return Text + "E" + std::to_string(Decimal.Exponent - 1);
}

// ---------------------------------------------------------------------------------------
// Format

struct TFormatSpec {
  bool LeftAlign = false;
  int Width = 0;
  std::optional<int> Precision;
  char Conversion = 0;
};

// Widths and precisions beyond this are taken for a broken pattern.
constexpr int kMaxFieldSize = 1 << 20;

[[noreturn]] void RaiseFormatError(const std::string& Pattern) {
  throw EConvertError("Format '" + Pattern + "' invalid or incompatible with argument");
}

std::optional<int> ReadNumber(const std::string& Pattern, std::size_t& Pos) {
  if (Pos >= Pattern.size() || Pattern[Pos] < '0' || Pattern[Pos] > '9') return std::nullopt;
  int Value = 0;
  while (Pos < Pattern.size() && Pattern[Pos] >= '0' && Pattern[Pos] <= '9') {
    Value = Value * 10 + (Pattern[Pos++] - '0');
    if (Value > kMaxFieldSize) RaiseFormatError(Pattern);
  }
  return Value;
}

// Reads "[-][width][.precision]conversion" after a "%".
TFormatSpec ReadSpec(const std::string& Pattern, std::size_t& Pos) {
  TFormatSpec Form;
  if (Pos < Pattern.size() && Pattern[Pos] == '-') {
    Form.LeftAlign = true;
    ++Pos;
  }
  Form.Width = ReadNumber(Pattern, Pos).value_or(0);
  if (Pos < Pattern.size() && Pattern[Pos] == '.') {
    ++Pos;
    Form.Precision = ReadNumber(Pattern, Pos).value_or(0);
  }
  if (Pos >= Pattern.size()) RaiseFormatError(Pattern);
  Form.Conversion = Lower(Pattern[Pos++]);
  return Form;
}

std::string PadToWidth(std::string Text, const TFormatSpec& Form) {
  const std::size_t Length = CodePointCount(Text);
  const auto Width = static_cast<std::size_t>(Form.Width);
  if (Length >= Width) return Text;
  const std::string Padding(Width - Length, ' ');
  return Form.LeftAlign ? Text + Padding : Padding + Text;
}

// Pads the digits of an integer text (after any "-") with zeros to MinDigits.
std::string WithMinDigits(std::string Text, std::optional<int> MinDigits) {
  const std::size_t Start = Text.starts_with('-') ? 1 : 0;
  const auto Digits = static_cast<int>(Text.size() - Start);
  if (MinDigits && *MinDigits > Digits) Text.insert(Start, *MinDigits - Digits, '0');
  return Text;
}

int FloatPrecision(const TFormatSpec& Form, int Default, int Minimum) {
  return std::clamp(Form.Precision.value_or(Default), Minimum, kMaxFloatDigits);
}

std::string FormatInteger(std::int64_t Value, const TFormatSpec& Form) {
  switch (Form.Conversion) {
    case 'd':
      return WithMinDigits(std::to_string(Value), Form.Precision);
    case 'u':
      return WithMinDigits(std::to_string(static_cast<std::uint64_t>(Value)), Form.Precision);
    case 'x':
      return IntToHex(Value, Form.Precision.value_or(0));
    default:
      return {};
  }
}

std::string FormatFloating(long double Value, const TFormatSpec& Form) {
  switch (Form.Conversion) {
    case 'f':
      return FixedText(Value, FloatPrecision(Form, 2, 0), false);
    case 'n':
      return FixedText(Value, FloatPrecision(Form, 2, 0), true);
    case 'e':
      return ScientificText(Value, FloatPrecision(Form, 15, 1));
    case 'g':
      return GeneralText(Value, FloatPrecision(Form, 15, 1));
    default:
      return {};
  }
}

bool IsIntegerConversion(char C) { return C == 'd' || C == 'u' || C == 'x'; }
bool IsFloatConversion(char C) { return C == 'f' || C == 'n' || C == 'e' || C == 'g'; }

// The text of one argument, or nothing when the argument does not fit the conversion.
std::optional<std::string> FormatArgument(const TFormatArg& Arg, const TFormatSpec& Form) {
  const auto& Value = Arg.Value();
  if (const auto* Integer = std::get_if<std::int64_t>(&Value)) {
    if (IsIntegerConversion(Form.Conversion)) return FormatInteger(*Integer, Form);
    if (IsFloatConversion(Form.Conversion)) {
      return FormatFloating(static_cast<long double>(*Integer), Form);
    }
  } else if (const auto* Floating = std::get_if<long double>(&Value)) {
    if (IsFloatConversion(Form.Conversion)) return FormatFloating(*Floating, Form);
  } else if (Form.Conversion == 's') {
    const auto& Text = std::get<std::string>(Value);
    return Form.Precision ? FirstCodePoints(Text, static_cast<std::size_t>(*Form.Precision))
                          : Text;
  }
  return std::nullopt;
}

}  // namespace

std::string Format(const std::string& Pattern, std::initializer_list<TFormatArg> Args) {
  std::string Result;
  const TFormatArg* NextArg = Args.begin();
  std::size_t Pos = 0;
  while (Pos < Pattern.size()) {
    const std::size_t Percent = Pattern.find('%', Pos);
    Result.append(Pattern, Pos, Percent == std::string::npos ? Percent : Percent - Pos);
    if (Percent == std::string::npos) break;
    Pos = Percent + 1;
    if (Pos < Pattern.size() && Pattern[Pos] == '%') {
      Result += '%';
      ++Pos;
      continue;
    }
    const TFormatSpec Form = ReadSpec(Pattern, Pos);
    if (NextArg == Args.end()) RaiseFormatError(Pattern);
    std::optional<std::string> Text = FormatArgument(*NextArg++, Form);
    if (!Text) RaiseFormatError(Pattern);
    Result += PadToWidth(std::move(*Text), Form);
  }
  return Result;
}

// ---------------------------------------------------------------------------------------
// FormatFloat

namespace {

// An exponent mark "E+", "E-", "e+" or "e-" at Pos.
bool IsExponentMark(std::string_view Text, std::size_t Pos) {
  return (Text[Pos] == 'E' || Text[Pos] == 'e') && Pos + 1 < Text.size() &&
         (Text[Pos + 1] == '+' || Text[Pos + 1] == '-');
}

std::vector<std::string_view> SplitSections(std::string_view Pattern) {
  std::vector<std::string_view> Sections;
  std::size_t Start = 0;
  for (std::size_t Pos = 0; Pos < Pattern.size();) {
    if (IsQuote(Pattern[Pos])) {
      ReadQuoted(Pattern, Pos);
    } else if (Pattern[Pos] == ';') {
      Sections.push_back(Pattern.substr(Start, Pos - Start));
      Start = ++Pos;
    } else {
      ++Pos;
    }
  }
  Sections.push_back(Pattern.substr(Start));
  return Sections;
}

// What one section of a picture asks for.
struct TPicture {
  std::string_view Text;
  int IntegerPlaces = 0;   // "0" and "#" before the decimal point
  int MinIntegerDigits = 0;  // places from the first "0" to the decimal point
  int FractionPlaces = 0;  // "0" and "#" after the decimal point
  int MinDecimals = 0;     // places up to the last "0" after the decimal point
  bool Grouping = false;   // a "," before the decimal point
  bool Scientific = false;

  int SignificantDigits() const { return std::max(IntegerPlaces, 1) + FractionPlaces; }
  // The places after the point that rounding for the picture reads.
  int FractionDigitsRead() const { return Scientific ? INT_MAX : FractionPlaces + 1; }
};

// Walks a section, calling OnDigitPlace(IsZero, AfterPoint), OnPoint(), OnExponent(Mark,
// Sign, Digits), OnComma() and OnLiteral(Text) in order.
template <class TVisitor>
void WalkSection(std::string_view Text, TVisitor&& Visitor) {
  bool AfterPoint = false;
  bool AfterExponent = false;
  for (std::size_t Pos = 0; Pos < Text.size();) {
    const char C = Text[Pos];
    if (IsQuote(C)) {
      Visitor.OnLiteral(ReadQuoted(Text, Pos));
    } else if (!AfterExponent && (C == '0' || C == '#')) {
      Visitor.OnDigitPlace(C == '0', AfterPoint);
      ++Pos;
    } else if (!AfterExponent && !AfterPoint && C == '.') {
      AfterPoint = true;
      Visitor.OnPoint();
      ++Pos;
    } else if (!AfterExponent && C == ',') {
      if (!AfterPoint) Visitor.OnComma();
      ++Pos;
    } else if (!AfterExponent && IsExponentMark(Text, Pos)) {
      std::size_t End = Pos + 2;
      while (End < Text.size() && Text[End] == '0') ++End;
      Visitor.OnExponent(C, Text[Pos + 1], static_cast<int>(End - Pos - 2));
      AfterExponent = true;
      Pos = End;
    } else {
      Visitor.OnLiteral(Text.substr(Pos, 1));
      ++Pos;
    }
  }
}

TPicture ParsePicture(std::string_view Text) {
  struct TCounter {
    TPicture Picture;
    int FirstIntegerZero = -1;
    void OnDigitPlace(bool IsZero, bool AfterPoint) {
      if (AfterPoint) {
        ++Picture.FractionPlaces;
        if (IsZero) Picture.MinDecimals = Picture.FractionPlaces;
      } else {
        if (IsZero && FirstIntegerZero < 0) FirstIntegerZero = Picture.IntegerPlaces;
        ++Picture.IntegerPlaces;
      }
    }
    void OnPoint() {}
    void OnComma() { Picture.Grouping = true; }
    void OnExponent(char, char, int) { Picture.Scientific = true; }
    void OnLiteral(std::string_view) {}
  } Counter;
  Counter.Picture.Text = Text;
  WalkSection(Text, Counter);
  if (Counter.FirstIntegerZero >= 0) {
    Counter.Picture.MinIntegerDigits = Counter.Picture.IntegerPlaces - Counter.FirstIntegerZero;
  }
  if (Counter.Picture.Scientific) Counter.Picture.Grouping = false;
  return Counter.Picture;
}

// Rounds the magnitude the way the picture shows it.
TDecimal RoundForPicture(TDecimal Decimal, const TPicture& Picture) {
  if (Picture.Scientific) {
    KeepDigits(Decimal, Picture.SignificantDigits());
  } else {
    RoundToDecimals(Decimal, Picture.FractionPlaces);
  }
  return Decimal;
}

// Lays out a rounded magnitude on a picture.
std::string RenderPicture(const TDecimal& Decimal, const TPicture& Picture) {
  struct TRenderer {
    const TPicture& Picture;
    std::string Integer;   // at least MinIntegerDigits digits
    std::string Fraction;  // the decimals shown, trailing zeros beyond MinDecimals dropped
    int Exponent = 0;
    int IntegerPlace = 0;
    int FractionPlace = 0;
    std::string Out;

    void AppendIntegerDigit(std::size_t Index) {
      Out += Integer[Index];
      const std::size_t Remaining = Integer.size() - Index - 1;
      if (Picture.Grouping && Remaining > 0 && Remaining % 3 == 0) {
        Out += FormatSettings().ThousandSeparator;
      }
    }
    void AppendIntegerDigits(std::size_t Count) {
      for (std::size_t I = 0; I < Count; ++I) AppendIntegerDigit(I);
    }
    void OnDigitPlace(bool, bool AfterPoint) {
      if (AfterPoint) {
        if (FractionPlace < static_cast<int>(Fraction.size())) Out += Fraction[FractionPlace];
        ++FractionPlace;
        return;
      }
      // The first place takes every digit the picture has no place for.
      const int Overflow = static_cast<int>(Integer.size()) - Picture.IntegerPlaces;
      if (IntegerPlace == 0 && Overflow > 0) AppendIntegerDigits(static_cast<std::size_t>(Overflow));
      const int Index = IntegerPlace + Overflow;
      if (Index >= 0) AppendIntegerDigit(static_cast<std::size_t>(Index));
      ++IntegerPlace;
    }
    void OnPoint() {
      if (Picture.IntegerPlaces == 0) AppendIntegerDigits(Integer.size());
      if (!Fraction.empty()) Out += FormatSettings().DecimalSeparator;
    }
    void OnComma() {}
    void OnExponent(char Mark, char Sign, int Digits) {
      Out += Mark;
      if (Exponent < 0) {
        Out += '-';
      } else if (Sign == '+') {
        Out += '+';
      }
      Out += Padded(std::abs(Exponent), static_cast<std::size_t>(Digits));
    }
    void OnLiteral(std::string_view Text) { Out += Text; }
  } Renderer{Picture, {}, {}, 0, 0, 0, {}};

  if (Picture.Scientific) {
    const int IntegerCount = std::max(Picture.IntegerPlaces, 1);
    if (!Decimal.IsZero()) {
      Renderer.Integer = Decimal.Digits.substr(0, static_cast<std::size_t>(IntegerCount));
      Renderer.Integer.resize(static_cast<std::size_t>(IntegerCount), '0');
      Renderer.Exponent = Decimal.Exponent - IntegerCount;
    }
    TDecimal Shifted = Decimal;
    Shifted.Exponent = Decimal.IsZero() ? 0 : IntegerCount;
    Renderer.Fraction = FractionDigits(Shifted, Picture.FractionPlaces);
  } else {
    Renderer.Integer = IntegerDigits(Decimal);
    Renderer.Fraction = FractionDigits(Decimal, Picture.FractionPlaces);
  }
  const auto MinInteger = static_cast<std::size_t>(Picture.MinIntegerDigits);
  if (Renderer.Integer.size() < MinInteger) {
    Renderer.Integer.insert(0, MinInteger - Renderer.Integer.size(), '0');
  }
  while (static_cast<int>(Renderer.Fraction.size()) > Picture.MinDecimals &&
         Renderer.Fraction.back() == '0') {
    Renderer.Fraction.pop_back();
  }
  WalkSection(Picture.Text, Renderer);
  return Renderer.Out;
}

bool HasSection(const std::vector<std::string_view>& Sections, std::size_t Index) {
  return Index < Sections.size() && !Sections[Index].empty();
}

}  // namespace

std::string FormatFloat(const std::string& Pattern, Extended Value) {
  if (auto Text = NonFiniteText(Value)) return *Text;
  if (Pattern.empty()) return GeneralText(Value, 15);

  const std::vector<std::string_view> Sections = SplitSections(Pattern);
  const TPicture Positive = ParsePicture(Sections[0]);
  std::optional<TPicture> Negative;
  if (HasSection(Sections, 1)) Negative = ParsePicture(Sections[1]);
  const int Places =
      std::max(Positive.FractionDigitsRead(), Negative ? Negative->FractionDigitsRead() : 0);
  const TDecimal Decimal = ExactDecimal(Value, Places);
  const TDecimal Rounded = RoundForPicture(Decimal, Positive);

  if (Rounded.IsZero()) {
    if (HasSection(Sections, 2)) return RenderPicture({}, ParsePicture(Sections[2]));
    return RenderPicture(Rounded, Positive);
  }
  if (Decimal.Negative && Negative) {
    return RenderPicture(RoundForPicture(Decimal, *Negative), *Negative);
  }
  std::string Text = RenderPicture(Rounded, Positive);
  if (Decimal.Negative) Text.insert(0, 1, '-');
  return Text;
}

// ---------------------------------------------------------------------------------------
// FormatDateTime

namespace {

struct TTimeOfDay {
  int Hour;
  int Minute;
  int Second;
  int Millisecond;
};

// The time of day, rounded to the millisecond; the sign of Value is ignored.
TTimeOfDay TimeOfDay(TDateTime Value) {
  constexpr long long kMillisecondsPerDay = 24LL * 60 * 60 * 1000;
  const double Fraction = std::fabs(Value - std::trunc(Value));
  const long long Total = std::llround(Fraction * kMillisecondsPerDay) % kMillisecondsPerDay;
  return {static_cast<int>(Total / 3600000), static_cast<int>(Total / 60000 % 60),
          static_cast<int>(Total / 1000 % 60), static_cast<int>(Total % 1000)};
}

// How many times the letter at Pos repeats from Pos on (ignoring case), up to Limit.
std::size_t LetterRun(const std::string& Pattern, std::size_t Pos, std::size_t Limit) {
  std::size_t Run = 1;
  while (Run < Limit && Pos + Run < Pattern.size() &&
         Lower(Pattern[Pos + Run]) == Lower(Pattern[Pos])) {
    ++Run;
  }
  return Run;
}

}  // namespace

std::string FormatDateTime(const std::string& Pattern, TDateTime Value) {
  if (!std::isfinite(Value)) return {};
  const TTimeOfDay Time = TimeOfDay(Value);
  std::string Out;
  for (std::size_t Pos = 0; Pos < Pattern.size();) {
    const char C = Lower(Pattern[Pos]);
    int Field = -1;
    if (C == 'h') Field = Time.Hour;
    if (C == 'n') Field = Time.Minute;
    if (C == 's') Field = Time.Second;

    if (Field >= 0) {
      const std::size_t Run = LetterRun(Pattern, Pos, 2);
      Out += Padded(Field, Run);
      Pos += Run;
    } else if (C == 'z') {
      const std::size_t Width = LetterRun(Pattern, Pos, 3) == 3 ? 3 : 1;
      Out += Padded(Time.Millisecond, Width);
      Pos += Width;
    } else if (C == ':') {
      Out += FormatSettings().TimeSeparator;
      ++Pos;
    } else if (IsQuote(C)) {
      Out += ReadQuoted(Pattern, Pos);
    } else {
      Out += Pattern[Pos++];
    }
  }
  return Out;
}

}  // namespace gaugery
