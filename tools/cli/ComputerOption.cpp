#include "ComputerOption.h"

#include "CommandLine.h"

namespace gaugery::cli {

namespace {

std::string& Chosen() {
  static std::string Name;
  return Name;
}

}  // namespace

void SetChosenComputer(const std::string& Name) { Chosen() = Name; }

const std::string& ChosenComputer() { return Chosen(); }

void ExpectLocalComputer(const std::string& Command) {
  if (!Chosen().empty())
    throw UsageError(Command + " reads this computer only; --computer does not apply to it");
}

}  // namespace gaugery::cli
