#include "LogTable.h"

#include <cstdio>
#include <utility>

#include "LogTime.h"
#include "PlainNumber.h"

namespace gaugery::cli {

namespace {

std::string Quoted(const std::string& Field) {
  std::string Text = "\"";
  for (char Unit : Field) {
    if (Unit == '"') Text += '"';
    Text += Unit;
  }
  return Text + "\"";
}

}  // namespace

std::string LogTableTime(std::int64_t Time, LONG Bias) {
  const SYSTEMTIME Clock = RecordedClock(Time, Bias);
  char Text[64];
  std::snprintf(Text, sizeof Text, "%02u/%02u/%04u %02u:%02u:%02u.%03u", Clock.wMonth, Clock.wDay,
                Clock.wYear, Clock.wHour, Clock.wMinute, Clock.wSecond, Clock.wMilliseconds);
  return Text;
}

TLogTableWriter::TLogTableWriter(std::ostream& Out, TLogTableFormat Format,
                                 std::string TimeZoneName, LONG Bias)
    : Out_(Out), Format_(Format), TimeZoneName_(std::move(TimeZoneName)), Bias_(Bias) {}

void TLogTableWriter::Header(const std::vector<std::string>& Paths) {
  const char* Layout = Format_ == TLogTableFormat::Csv ? "(PDH-CSV 4.0)" : "(PDH-TSV 4.0)";
  std::vector<std::string> Fields{std::string(Layout) + " (" + TimeZoneName_ + ")(" +
                                  std::to_string(Bias_) + ")"};
  Fields.insert(Fields.end(), Paths.begin(), Paths.end());
  Line(Fields);
}

void TLogTableWriter::Row(std::int64_t Time, const std::vector<std::optional<double>>& Values) {
  std::vector<std::string> Fields{LogTableTime(Time, Bias_)};
  for (const std::optional<double>& Value : Values) {
    const std::string Number = Value ? PlainNumber(*Value) : "";
    Fields.push_back(Number.empty() ? " " : Number);
  }
  Line(Fields);
}

void TLogTableWriter::Line(const std::vector<std::string>& Fields) {
  const char Separator = Format_ == TLogTableFormat::Csv ? ',' : '\t';
  for (std::size_t Field = 0; Field < Fields.size(); ++Field) {
    if (Field > 0) Out_ << Separator;
    Out_ << Quoted(Fields[Field]);
  }
  Out_ << "\r\n";
}

}  // namespace gaugery::cli
