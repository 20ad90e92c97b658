#include "NameTables.h"

#include <gtest/gtest.h>

#include "PerfTitles.h"

namespace gaugery::testing {

void InstallNameTables(std::vector<TPerfLocaleNames> Tables) {
  TPerfProvider Provider;
  Provider.Name = "names";
  Provider.Names = std::move(Tables);
  SetPerfProviders({Provider});
}

std::vector<TPerfLocaleNames> StandardNameTables() {
  return {
      {"009",
       {{2, "System"},
        {4, "Memory"},
        {10, "First"},
        {10, "Second"},
        {12, "Repeated"},
        {14, "REPEATED"},
        {16, "  \t"},
        {18, "Äpfel"}},
       {{3, "System help"}, {5, ""}, {7, " Memory help "}}},
      {"007", {{2, "System"}, {4, "Speicher"}}, {{3, "Systemhilfe"}}},
      {"00A", {{2, "Sistema"}}, {{3, "Ayuda"}}},
      {"00É", {{2, "Système"}}, {{3, "Aide"}}},
  };
}

namespace {

// Fixes the process's locale list to the standard tables' locales before any test
// runs: the list is read from the registry once per process.
class TNameTablesEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    InstallNameTables(StandardNameTables());
    Locales();
  }
  void TearDown() override { RestoreDefaultPerfProviders(); }
};

const auto* const Registered = ::testing::AddGlobalTestEnvironment(new TNameTablesEnvironment);

}  // namespace

}  // namespace gaugery::testing
