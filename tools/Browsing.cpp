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

void PrintJson(const nlohmann::ordered_json& Document) { std::cout << JsonText(Document) << "\n"; }

}  // namespace gaugery::cli
