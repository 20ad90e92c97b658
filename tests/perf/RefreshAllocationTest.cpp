// A refresh of the live block in the steady state makes no heap allocation: every
// operator new of this program is counted.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "PerfData.h"

namespace {

std::atomic<long> Allocations{0};

void* CountedAllocation(std::size_t Size) {
  ++Allocations;
  if (void* Memory = std::malloc(Size == 0 ? 1 : Size)) return Memory;
  throw std::bad_alloc();
}

}  // namespace

// Every form that allocates is replaced, so that each block is freed by the allocator
// that made it (sanitizers check that).
void* operator new(std::size_t Size) { return CountedAllocation(Size); }
void* operator new[](std::size_t Size) { return CountedAllocation(Size); }
void* operator new(std::size_t Size, const std::nothrow_t&) noexcept {
  ++Allocations;
  return std::malloc(Size == 0 ? 1 : Size);
}
void* operator new[](std::size_t Size, const std::nothrow_t& NoThrow) noexcept {
  return operator new(Size, NoThrow);
}
void operator delete(void* Memory) noexcept { std::free(Memory); }
void operator delete[](void* Memory) noexcept { std::free(Memory); }
void operator delete(void* Memory, std::size_t) noexcept { std::free(Memory); }
void operator delete[](void* Memory, std::size_t) noexcept { std::free(Memory); }
void operator delete(void* Memory, const std::nothrow_t&) noexcept { std::free(Memory); }
void operator delete[](void* Memory, const std::nothrow_t&) noexcept { std::free(Memory); }

namespace gaugery {
namespace {

void ExpectNoAllocationInSteadyState(const std::string& Key) {
  TPerfData Data(Key, "");
  Data.Refresh();  // the second sample: every kept buffer has its size now
  const std::uint64_t Generation = Data.Generation();
  const long Before = Allocations.load();
  for (int Sample = 0; Sample < 3; ++Sample) Data.Refresh();
  EXPECT_EQ(Allocations.load() - Before, 0) << Key;
  EXPECT_GT(Data.Generation(), Generation) << "the refreshes must have read new blocks";
}

TEST(RefreshLiveTest, SteadyStateMakesNoHeapAllocation) {
  ExpectNoAllocationInSteadyState("Global");
  ExpectNoAllocationInSteadyState("238 230");
  ExpectNoAllocationInSteadyState("232");
}

}  // namespace
}  // namespace gaugery
