// The test provider as the system's registry loads it: the DLL installed in the system
// directory, held loaded by the test program so that what it counts lasts from one
// query to the next.
#pragma once

#include <gtest/gtest.h>

#include "TestProviderState.h"

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

}  // namespace gaugery::test
