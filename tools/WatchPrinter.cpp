#include "WatchPrinter.h"

#include <charconv>
#include <cmath>
#include <iostream>
#include <nlohmann/json.hpp>

#include "BlockDump.h"
#include "Browsing.h"
#include "PrintableText.h"
#include "framework/WinTime.h"

namespace gaugery::cli {

namespace {

// A file time in ISO 8601 UTC: "2024-05-03T12:30:45.500Z".
std::string TimeText(std::int64_t FileTime) {
  const FILETIME Stamp = Int64ToFileTime(FileTime);
  SYSTEMTIME Time{};
  FileTimeToSystemTime(&Stamp, &Time);
  return IsoTime(Time);
}

std::string CsvField(const std::string& Text) {
  if (Text.find_first_of(",\"\r\n") == std::string::npos) return Text;
  std::string Quoted = "\"";
  for (char C : Text) Quoted += C == '"' ? std::string("\"\"") : std::string(1, C);
  return Quoted + "\"";
}

// The shortest text that reads back as the number, whatever the locale; empty for a
// value that cannot be shown.
std::string CsvNumber(const std::optional<double>& Number) {
  if (!Number) return "";
  char Text[64];
  const auto [End, Error] = std::to_chars(Text, Text + sizeof Text, *Number);
  return Error == std::errc() ? std::string(Text, End) : std::string();
}

// Whole numbers without a fraction ("3", not "3.0"), so that counts read as counts.
nlohmann::ordered_json JsonNumber(const std::optional<double>& Number) {
  if (!Number) return nullptr;
  constexpr double kWholeLimit = 9007199254740992.0;  // 2^53: every whole double below is exact
  if (std::trunc(*Number) == *Number && std::fabs(*Number) < kWholeLimit) {
    return static_cast<std::int64_t>(*Number);
  }
  return *Number;
}

}  // namespace

TWatchPrinter::TWatchPrinter(TWatchOutput Output, bool Paths, std::string Object,
                             std::vector<std::string> Counters)
    : Output_(Output), Paths_(Paths), Object_(std::move(Object)), Counters_(std::move(Counters)) {}

void TWatchPrinter::Print(std::int64_t Time, const std::vector<TWatchRow>& Rows) {
  switch (Output_) {
    case TWatchOutput::Text:
      PrintText(Rows);
      break;
    case TWatchOutput::Csv:
      PrintCsv(TimeText(Time), Rows);
      break;
    case TWatchOutput::Json:
      PrintJson(TimeText(Time), Rows);
      break;
  }
  ++Printed_;
  std::cout.flush();
}

// One block of lines per sample, blank lines between: the label, then the values.
void TWatchPrinter::PrintText(const std::vector<TWatchRow>& Rows) const {
  if (Printed_ > 0) std::cout << "\n";
  for (const TWatchRow& Row : Rows) {
    std::string Line = PrintableText(Row.Label.value_or(""));
    for (std::size_t Column = 0; Column < Row.Values.size(); ++Column) {
      if (Row.Label || Column > 0) Line += '\t';
      Line += Row.Values[Column].Text;
    }
    std::cout << Line << "\n";
  }
}

void TWatchPrinter::PrintCsv(const std::string& Time, const std::vector<TWatchRow>& Rows) const {
  if (Printed_ == 0) {
    std::string Header = Paths_ ? "time,path,value" : "time,instance";
    if (!Paths_) {
      for (const std::string& Counter : Counters_) Header.append(",").append(CsvField(Counter));
    }
    std::cout << Header << "\n";
  }
  for (const TWatchRow& Row : Rows) {
    std::string Line = Time;
    Line.append(",").append(CsvField(Row.Label.value_or("")));
    for (const TWatchValue& Value : Row.Values) Line.append(",").append(CsvNumber(Value.Number));
    std::cout << Line << "\n";
  }
}

void TWatchPrinter::PrintJson(const std::string& Time, const std::vector<TWatchRow>& Rows) const {
  nlohmann::ordered_json Document = {{"time", Time}};
  nlohmann::ordered_json Lines = nlohmann::ordered_json::array();
  for (const TWatchRow& Row : Rows) {
    if (Paths_) {
      const TWatchValue& Value = Row.Values.front();
      Lines.push_back(
          {{"path", *Row.Label}, {"value", JsonNumber(Value.Number)}, {"unit", Value.Unit}});
      continue;
    }
    nlohmann::ordered_json Line = {{"instance", Row.Label ? nlohmann::ordered_json(*Row.Label)
                                                          : nlohmann::ordered_json(nullptr)}};
    if (!Row.Key.empty()) Line["key"] = Row.Key;
    nlohmann::ordered_json Values = nlohmann::ordered_json::array();
    for (std::size_t Column = 0; Column < Row.Values.size(); ++Column) {
      const TWatchValue& Value = Row.Values[Column];
      Values.push_back({{"counter", Counters_[Column]},
                        {"value", JsonNumber(Value.Number)},
                        {"unit", Value.Unit}});
    }
    Line["values"] = std::move(Values);
    Lines.push_back(std::move(Line));
  }
  if (Paths_) {
    Document["values"] = std::move(Lines);
  } else {
    Document["object"] = Object_;
    Document["rows"] = std::move(Lines);
  }
  std::cout << JsonText(Document, -1) << "\n";
}

}  // namespace gaugery::cli
