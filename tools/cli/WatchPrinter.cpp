#include "WatchPrinter.h"

#include <iostream>
#include <nlohmann/json.hpp>

#include "BlockDump.h"
#include "Browsing.h"
#include "PlainNumber.h"
#include "Terminal.h"
#include "TextTable.h"
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

std::string CsvNumber(const std::optional<double>& Number) {
  return Number ? PlainNumber(*Number) : std::string();
}

nlohmann::ordered_json JsonNumber(const std::optional<double>& Number) {
  return Number ? nlohmann::ordered_json(*Number) : nlohmann::ordered_json(nullptr);
}

// One line of JSON as JsonText writes it, but with every number in plain decimal
// notation (no exponent) and at full precision.
std::string PlainJsonText(const nlohmann::ordered_json& Value) {
  using TKind = nlohmann::ordered_json::value_t;
  switch (Value.type()) {
    case TKind::object: {
      std::string Text;
      for (const auto& [Key, Member] : Value.items()) {
        Text += (Text.empty() ? "{" : ",") + JsonText(nlohmann::ordered_json(Key), -1) + ":" +
                PlainJsonText(Member);
      }
      return Text.empty() ? "{}" : Text + "}";
    }
    case TKind::array: {
      std::string Text;
      for (const nlohmann::ordered_json& Element : Value) {
        Text += (Text.empty() ? "[" : ",") + PlainJsonText(Element);
      }
      return Text.empty() ? "[]" : Text + "]";
    }
    case TKind::number_float: {
      const std::string Number = PlainNumber(Value.get<double>());
      return Number.empty() ? "null" : Number;
    }
    default:
      return JsonText(Value, -1);
  }
}

// The columns of the text lines: the label (path, or instance name where the object has
// instances), then the values.
std::vector<TTextTable::TColumn> TextColumns(bool Paths, const std::vector<std::string>& Counters,
                                             const std::vector<TWatchRow>& Rows) {
  if (Paths) return {{"path"}, {"value", TTextTable::TAlign::Right}};
  std::vector<TTextTable::TColumn> Columns;
  if (!Rows.empty() && Rows.front().Label) Columns.push_back({"instance"});
  for (const std::string& Counter : Counters)
    Columns.push_back({Counter, TTextTable::TAlign::Right});
  return Columns;
}

}  // namespace

TWatchPrinter::TWatchPrinter(TWatchOutput Output, bool Paths, std::string Object,
                             std::vector<std::string> Counters, std::ostream& Out)
    : Output_(Output),
      Paths_(Paths),
      Object_(std::move(Object)),
      Counters_(std::move(Counters)),
      Out_(Out) {}

void TWatchPrinter::Print(std::int64_t Time, const std::vector<TWatchRow>& Rows) {
  switch (Output_) {
    case TWatchOutput::Text:
      PrintText(Time, Rows);
      break;
    case TWatchOutput::Csv:
      PrintCsv(TimeText(Time), Rows);
      break;
    case TWatchOutput::Json:
      PrintJson(TimeText(Time), Rows);
      break;
  }
  ++Printed_;
  Out_.flush();
}

// One block of lines per sample, blank lines between: the label, then the values; on a
// terminal aligned under a header; first the time where asked for.
void TWatchPrinter::PrintText(std::int64_t Time, const std::vector<TWatchRow>& Rows) const {
  if (Printed_ > 0) Out_ << "\n";
  if (TimedText_) Out_ << TimeText(Time) << "\n";
  TTextTable Table(TextColumns(Paths_, Counters_, Rows), "\t");
  for (const TWatchRow& Row : Rows) {
    std::vector<std::string> Cells;
    if (Row.Label) Cells.push_back(*Row.Label);
    for (const TWatchValue& Value : Row.Values) Cells.push_back(Value.Text);
    Table.Add(std::move(Cells));
  }
  Table.Print(Out_, OutputIsTerminal());
}

void TWatchPrinter::PrintCsv(const std::string& Time, const std::vector<TWatchRow>& Rows) const {
  if (Printed_ == 0) {
    std::string Header = Paths_ ? "time,path,value" : "time,instance,key";
    if (!Paths_) {
      for (const std::string& Counter : Counters_) Header.append(",").append(CsvField(Counter));
    }
    Out_ << Header << "\n";
  }
  for (const TWatchRow& Row : Rows) {
    std::string Line = Time;
    Line.append(",").append(CsvField(Row.Label.value_or("")));
    if (!Paths_) Line.append(",").append(CsvField(Row.Key));
    for (const TWatchValue& Value : Row.Values) Line.append(",").append(CsvNumber(Value.Number));
    Out_ << Line << "\n";
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
  Out_ << PlainJsonText(Document) << "\n";
}

}  // namespace gaugery::cli
