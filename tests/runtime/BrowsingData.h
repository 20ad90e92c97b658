// Two synthetic samples and their English and German names, served by a fake
// provider while a browsing test runs.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "FakeProviders.h"

namespace gaugery::testing {

// First sample, in block order: System (2, no instances), Process (230; counters %
// Processor Time, an untitled base, Thread Count, ID Process and two definitions
// titled Elapsed Time; instances Idle, bash, bash, _Total), Print Queue (1500, no
// German title, 0 instances), an object without title (9999), Memory (4, no
// instances). Every later read, a refresh or a new snapshot, gets the second sample:
// Process (counters 6 and 680; instances bash, _Total), then System.
class BrowsingTest : public ::testing::Test {
 protected:
  void SetUp() override;
  // Checks that the components of the test gave back every snapshot and name table.
  void TearDown() override;

 private:
  std::unique_ptr<test::TFakeProviders> Fakes_;
};

// No snapshot and no name table is held any more.
void ExpectNothingHeld();

}  // namespace gaugery::testing
