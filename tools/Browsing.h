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

// Prints a JSON document; text that is not valid UTF-8 is replaced, not refused.
void PrintJson(const nlohmann::ordered_json& Document);

}  // namespace gaugery::cli
