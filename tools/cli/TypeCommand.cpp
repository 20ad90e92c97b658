// gaugery type: the six descriptive lines of a counter type word.
#include <cstdint>
#include <iostream>
#include <string>

#include "Commands.h"
#include "PerfFilter.h"

namespace gaugery::cli {

namespace {

// A 32-bit unsigned number, hexadecimal after "0x" or decimal; UsageError otherwise.
DWORD Number(const std::string& Text, const std::string& What) {
  const bool Hex = Text.size() > 2 && Text[0] == '0' && (Text[1] == 'x' || Text[1] == 'X');
  const std::string Digits = Hex ? Text.substr(2) : Text;
  const char* const Allowed = Hex ? "0123456789abcdefABCDEF" : "0123456789";
  if (Digits.empty() || Digits.find_first_not_of(Allowed) != std::string::npos ||
      Digits.size() > 10) {
    throw UsageError(What + " must be a number, decimal or hexadecimal (0x...), not \"" + Text +
                     "\"");
  }
  const unsigned long long Value = std::stoull(Digits, nullptr, Hex ? 16 : 10);
  if (Value > 0xFFFFFFFFull) throw UsageError(What + " does not fit in 32 bits: " + Text);
  return static_cast<DWORD>(Value);
}

int Run(const Arguments& Args) {
  const std::vector<std::string>& Operands = Args.Operands();
  if (Operands.empty() || Operands.size() > 2) throw UsageError("WORD [SIZE] expected");
  const DWORD Size = Operands.size() == 2 ? Number(Operands[1], "SIZE") : 4;
  const TCounterTypeTexts Texts = CounterTypeTexts(Number(Operands[0], "WORD"), Size);
  std::cout << Texts.Size << "\n"
            << Texts.Type << "\n"
            << Texts.Subtype.value_or("") << "\n"
            << Texts.TimeBase << "\n"
            << Texts.Modifier << "\n"
            << Texts.Display << "\n";
  return 0;
}

}  // namespace

Command TypeCommand() {
  return {"type",
          "type WORD [SIZE]",
          "Describes the counter type word WORD (decimal or 0x...) of a counter of SIZE bytes "
          "(default 4) in six lines: size, type, subtype (empty for a type that displays a "
          "zero), time base, calculation modifier and display suffix.",
          "",
          {},
          {},
          Run};
}

}  // namespace gaugery::cli
