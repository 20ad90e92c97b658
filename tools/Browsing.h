// What the commands that print names and titles share: the help of the locale option,
// the operands and the JSON output.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "CommandLine.h"

namespace gaugery::cli {

// The text of the --locale option; "--locale ID  ..." for a command's details.
extern const char* const LocaleOptionDetails;

// The one operand, the title of a performance object; UsageError otherwise.
std::string ObjectOperand(const Arguments& Args);
// UsageError for any operand.
void ExpectNoOperands(const Arguments& Args);

// The text of a JSON document (either key order); text that is not valid UTF-8 is
// replaced, not refused. Indent -1 gives one line.
template <typename TJson>
std::string JsonText(const TJson& Document, int Indent = 2) {
  return Document.dump(Indent, ' ', false, nlohmann::json::error_handler_t::replace);
}

// Prints a JSON document as JsonText does.
void PrintJson(const nlohmann::ordered_json& Document);

}  // namespace gaugery::cli
