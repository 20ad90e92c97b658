// The per-address and total counts of open connections.
#include "http/AddressCounts.h"

#include <gtest/gtest.h>

#include <vector>

namespace gaugery::http {
namespace {

TEST(AddressCounts, CapsEachAddressAndKeepsTheTotalOverAll) {
  const auto Counts = std::make_shared<TAddressCounts>(2);
  std::vector<std::unique_ptr<TAddressSlot>> Slots;
  Slots.push_back(Counts->Take("127.0.0.2"));
  Slots.push_back(Counts->Take("127.0.0.2"));
  Slots.push_back(Counts->Take("127.0.0.3"));
  EXPECT_EQ(Counts->Take("127.0.0.2"), nullptr) << "the third of one address is refused";
  EXPECT_EQ(Counts->Total(), 3u);
  Slots.erase(Slots.begin());
  EXPECT_EQ(Counts->Count("127.0.0.2"), 1u);
  EXPECT_EQ(Counts->Total(), 2u);
  EXPECT_NE(Counts->Take("127.0.0.2"), nullptr) << "a released place can be taken again";
  Slots.clear();
  EXPECT_EQ(Counts->Total(), 0u);
  EXPECT_EQ(Counts->Count("127.0.0.3"), 0u);
}

}  // namespace
}  // namespace gaugery::http
