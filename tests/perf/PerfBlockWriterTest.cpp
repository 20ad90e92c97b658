// Laying out objects in a caller's buffer: instance names and running out of space.
#include "perf/PerfBlockWriter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LiveBlock.h"

namespace gaugery::test {
namespace {

constexpr TCounterLayout Counters[] = {{6, PERF_100NSEC_TIMER, 8, 8},
                                       {680, PERF_COUNTER_RAWCOUNT, 4, 16}};

// Writes one object with an instance per name into Capacity bytes.
std::vector<BYTE> WriteInstances(const std::vector<std::string>& Names, DWORD Capacity,
                                 bool* Overflowed = nullptr) {
  std::vector<BYTE> Buffer(Capacity + 64, 0xEE);
  TPerfBlockWriter Writer(Buffer.data(), Capacity);
  Writer.BeginObject(230, Counters, true, 0);
  for (const std::string& Name : Names) {
    BYTE* Block = Writer.AddInstance(Name);
    if (Block) WriteCounterValue(Block, Counters[1], 0x1'0000'0007);
  }
  Writer.EndObject();
  if (Overflowed) *Overflowed = Writer.Overflowed();
  for (std::size_t At = Capacity; At < Buffer.size(); ++At) {
    EXPECT_EQ(Buffer[At], 0xEE) << "written past the capacity at " << At;
  }
  Buffer.resize(Writer.Overflowed() ? 0 : Writer.BytesWritten());
  return Buffer;
}

std::vector<std::string> NamesOf(const TDecodedObject& Object) {
  std::vector<std::string> Names;
  for (const TDecodedInstance& Instance : Object.Instances) Names.push_back(Instance.Name);
  return Names;
}

TEST(PerfBlockWriter, InstanceNamesBecomeUtf16WithIllFormedBytesReplaced) {
  const std::string Replacement = "\xEF\xBF\xBD";
  std::vector<BYTE> Block = WriteInstances(
      {"caf\xC3\xA9", "\xF0\x9F\x98\x80", std::string("a\0b", 3), std::string("a\xFF") + "b",
       "\xC0\xAF", "\xE2\x82", "", std::string(300, 'x')},
      1 << 16);
  ASSERT_FALSE(Block.empty());
  TDecodedObject Object = DecodeObject(Block.data());
  EXPECT_EQ(NamesOf(Object),
            (std::vector<std::string>{"caf\xC3\xA9", "\xF0\x9F\x98\x80", "a" + Replacement + "b",
                                      "a" + Replacement + "b", Replacement + Replacement,
                                      Replacement + Replacement, "", std::string(300, 'x')}));
  EXPECT_EQ(Object.Instances[0].Values.at(680), 7u) << "a 4-byte counter keeps the low half";
}

TEST(PerfBlockWriter, RunningOutOfSpaceIsRememberedAndWritesNothingPastTheEnd) {
  const std::vector<std::string> Names{"first", "second", "third"};
  std::vector<BYTE> Full = WriteInstances(Names, 1 << 16);
  const auto Needed = static_cast<DWORD>(Full.size());
  EXPECT_EQ(Needed % 8, 0u);

  bool Overflowed = true;
  EXPECT_EQ(WriteInstances(Names, Needed, &Overflowed), Full);
  EXPECT_FALSE(Overflowed);
  for (DWORD Capacity : {DWORD{0}, DWORD{7}, Needed / 2, Needed - 1}) {
    WriteInstances(Names, Capacity, &Overflowed);
    EXPECT_TRUE(Overflowed) << Capacity;
  }
}

}  // namespace
}  // namespace gaugery::test
