#include "Browsing.h"

#include <iostream>

namespace gaugery::cli {

const char* const LocaleOptionDetails =
    "  --locale ID  titles of this installed locale (\"009\" English, \"007\" German)\n";

std::string ObjectOperand(const Arguments& Args) {
  if (Args.Operands().size() != 1) throw UsageError("needs one OBJECT title");
  return Args.Operands()[0];
}

void ExpectNoOperands(const Arguments& Args) {
  if (!Args.Operands().empty()) throw UsageError("unexpected operand " + Args.Operands()[0]);
}

std::string ShownTitle(const std::string& Title, DWORD Index) {
  return Title.empty() ? "(no title: index " + std::to_string(Index) + ")" : Title;
}

namespace {

bool IsPlainWord(const std::string& Text) {
  return !Text.empty() && Text.find_first_not_of(
                              "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                              "0123456789_.,:/+-") == std::string::npos;
}

#ifdef _WIN32
// Text as one word of a Windows command line: double-quoted unless it is plain, a quote
// inside escaped with a backslash as the program's argument parsing reads it.
std::string ShellWord(const std::string& Text) {
  if (IsPlainWord(Text)) return Text;
  std::string Quoted = "\"";
  for (char C : Text) Quoted += C == '"' ? std::string("\\\"") : std::string(1, C);
  return Quoted + "\"";
}
#else
// Text as one word of a shell command line: single-quoted unless it is plain.
std::string ShellWord(const std::string& Text) {
  if (IsPlainWord(Text)) return Text;
  std::string Quoted = "'";
  for (char C : Text) Quoted += C == '\'' ? std::string("'\\''") : std::string(1, C);
  return Quoted + "'";
}
#endif

// A command line as a message quotes it: in double quotes, or in single ones where its
// words are double-quoted themselves.
std::string QuotedCommand(const std::string& Command) {
  const char Quote = Command.find('"') == std::string::npos ? '"' : '\'';
  return Quote + Command + Quote;
}

}  // namespace

void RaiseWithNameHint(const Exception& Error, const Arguments& Args, const std::string& Object) {
  std::string Locale;
  std::string Message = Error.what();
  if (Args.Has("--locale")) {
    Locale = " --locale " + ShellWord(Args.Value("--locale"));
    Message += " (locale " + Args.Value("--locale") + ")";
  }
  if (Object.empty()) {
    Message += "; run " + QuotedCommand("gaugery objects" + Locale) + " to list the objects";
  } else {
    Message += "; run " + QuotedCommand("gaugery counters" + Locale + " " + ShellWord(Object)) +
               " to list the counters of " + Object;
  }
  throw Exception(Message);
}

void PrintJson(const nlohmann::ordered_json& Document) { std::cout << JsonText(Document) << "\n"; }

}  // namespace gaugery::cli
