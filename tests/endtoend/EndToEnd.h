// The fixture of the end-to-end tests: the test provider as the system's registry loads
// it (the DLL installed in the system directory, held loaded by the test program so that
// what it counts lasts from one query to the next), and helpers for the expectations.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestProviderState.h"
#include "framework/TStringList.h"

namespace gaugery::test {

// The state of the installed provider. Raises std::runtime_error when it is not
// installed.
TTestProviderState& TestProvider();

// Puts what the provider serves back to its defaults and clears what it saw.
class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override;
  TTestProviderState& Provider = TestProvider();
};

// The lines of a list, for comparing whole lists.
std::vector<std::string> LinesOf(const TStringList& List);

}  // namespace gaugery::test
