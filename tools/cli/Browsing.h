// What the commands that print names and titles share: the help of the locale option,
// the operands, the hints at unknown names and the JSON output.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "CommandLine.h"
#include "framework/Exceptions.h"
#include "framework/WinTypes.h"

namespace gaugery::cli {

// The text of the --locale option; "--locale ID  ..." for a command's details.
extern const char* const LocaleOptionDetails;

// The one operand, the title of a performance object; UsageError otherwise.
std::string ObjectOperand(const Arguments& Args);
// UsageError for any operand.
void ExpectNoOperands(const Arguments& Args);

// A title as the listings show it: "(no title: index N)" for one the name tables lack.
std::string ShownTitle(const std::string& Title, DWORD Index);

// A title in JSON: null for one the name tables lack.
template <typename TJson = nlohmann::ordered_json>
TJson TitleJson(const std::string& Title) {
  return Title.empty() ? TJson(nullptr) : TJson(Title);
}

// Raises Error's message with a hint at the command that lists the names it may be
// about, in the locale chosen with --locale: "gaugery objects" when Object is empty,
// "gaugery counters OBJECT" otherwise.
[[noreturn]] void RaiseWithNameHint(const Exception& Error, const Arguments& Args,
                                    const std::string& Object);

// Runs Resolve, a call that looks an object or counter up by its title; an Exception it
// raises comes out with the hint of RaiseWithNameHint.
template <typename TResolve>
void WithNameHint(const Arguments& Args, const std::string& Object, TResolve Resolve) {
  try {
    Resolve();
  } catch (const Exception& Error) {
    RaiseWithNameHint(Error, Args, Object);
  }
}

// The text of a JSON document (either key order); text that is not valid UTF-8 is
// replaced, not refused. Indent -1 gives one line.
template <typename TJson>
std::string JsonText(const TJson& Document, int Indent = 2) {
  return Document.dump(Indent, ' ', false, nlohmann::json::error_handler_t::replace);
}

// Prints a JSON document as JsonText does.
void PrintJson(const nlohmann::ordered_json& Document);

}  // namespace gaugery::cli
