// The output of `gaugery watch`: after each sample, the rows of values as text for
// people, as CSV or as one JSON document per line.
#pragma once

#include <cstdint>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace gaugery::cli {

enum class TWatchOutput { Text, Csv, Json };

struct TWatchValue {
  // The value as a number, unrounded; none when it cannot be shown.
  std::optional<double> Number;
  // The value as the user's locale writes it, with its unit; "-" when it cannot be shown.
  std::string Text;
  // "%", "/sec", "secs" or empty.
  std::string Unit;
};

struct TWatchRow {
  // OBJECT COUNTER...: the instance's name (none for an object without instances);
  // counter paths: the value's path.
  std::optional<std::string> Label;
  // The key value that tells the instance apart from others of its name; empty without
  // a key.
  std::string Key;
  std::vector<TWatchValue> Values;
};

class TWatchPrinter {
 public:
  // Paths: the rows are labelled by their values' paths and hold one value each;
  // otherwise they hold one value per counter of Object. Printed to Out.
  TWatchPrinter(TWatchOutput Output, bool Paths, std::string Object,
                std::vector<std::string> Counters, std::ostream& Out = std::cout);

  // Text begins each sample's lines with its time (ISO 8601, UTC): that of a logged
  // sample is not the moment it is printed.
  void LabelTextWithTime() { TimedText_ = true; }

  // The rows of one sample taken at Time (a file time).
  void Print(std::int64_t Time, const std::vector<TWatchRow>& Rows);

 private:
  void PrintText(std::int64_t Time, const std::vector<TWatchRow>& Rows) const;
  void PrintCsv(const std::string& Time, const std::vector<TWatchRow>& Rows) const;
  void PrintJson(const std::string& Time, const std::vector<TWatchRow>& Rows) const;

  TWatchOutput Output_;
  bool Paths_;
  std::string Object_;
  std::vector<std::string> Counters_;
  std::ostream& Out_;
  int Printed_ = 0;
  bool TimedText_ = false;
};

}  // namespace gaugery::cli
