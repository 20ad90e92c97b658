// Counter logs written and read back: samples, gaps and names as recorded, seeking by
// time with and without the index, and the messages for files that are not logs.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "ErrorOf.h"
#include "LogSamples.h"
#include "perf/log/CounterLogReader.h"
#include "perf/log/CounterLogWriter.h"
#include "perf/log/LogBytes.h"
#include "perf/log/LogFrame.h"
#include "perf/log/LogSource.h"
#include "perf/log/LogVolumeReader.h"

namespace gaugery {
namespace {

using test::FileBytes;
using test::LogSample;
using test::LogSampleTime;
using testing::ErrorOf;

class CounterLogTest : public ::testing::Test {
 protected:
  void TearDown() override { std::remove(File_.c_str()); }

  // Samples 1..Count, with a gap after every 25th and German names changed before 70.
  void Record(int Count, TLogWriterOptions Options = {}) {
    TCounterLogWriter Writer(File_, test::LogMachine(), test::LogNames(), Options);
    for (int Number = 1; Number <= Count; ++Number) {
      if (Number == 70) Writer.WriteNames(test::LogNames(1));
      const test::TBlock Block = LogSample(Number);
      ASSERT_TRUE(Writer.WriteSample(Block.Bytes.data(), Block.Size()));
      if (Number % 25 == 0) Writer.WriteGap(LogSampleTime(Number) + 1, "the query failed");
    }
    Writer.Close();
    EXPECT_EQ(Writer.SamplesWritten(), static_cast<std::uint64_t>(Count));
  }

  std::vector<TLogEntry> ReadAll(TCounterLogReader& Reader) {
    std::vector<TLogEntry> Entries;
    for (TLogEntry Entry; Reader.Next(Entry);) Entries.push_back(Entry);
    return Entries;
  }

  // The numbers of the samples read, checking each block against the one recorded.
  std::vector<int> SamplesOf(const std::vector<TLogEntry>& Entries) {
    std::vector<int> Numbers;
    for (const TLogEntry& Entry : Entries) {
      if (Entry.Kind != TLogEntry::TKind::Sample) continue;
      const int Number = static_cast<int>(Entry.Number);
      EXPECT_EQ(Entry.Block, LogSample(Number).Bytes) << "sample " << Number;
      EXPECT_EQ(Entry.Time, LogSampleTime(Number));
      Numbers.push_back(Number);
    }
    return Numbers;
  }

  static std::vector<int> Range(int First, int Last) {
    std::vector<int> Numbers;
    for (int Number = First; Number <= Last; ++Number) Numbers.push_back(Number);
    return Numbers;
  }

  const std::string File_ = ::testing::TempDir() + "gaugery-log-" +
                            ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                            ".glog";
};

TEST_F(CounterLogTest, ReadsBackEverySampleGapAndName) {
  Record(150, {.FullEvery = 60, .IndexEvery = 1});
  TCounterLogReader Reader(File_);
  EXPECT_EQ(Reader.Machine(), test::LogMachine());
  EXPECT_EQ(Reader.Names(), test::LogNames());
  std::vector<TLogEntry> Entries;
  std::uint64_t Version = Reader.NamesVersion();
  for (TLogEntry Entry; Reader.Next(Entry);) {
    if (Reader.NamesVersion() != Version) {
      EXPECT_EQ(Entry.Number, 70u) << "the names change before sample 70";
      EXPECT_EQ(Reader.Names(), test::LogNames(1));
      Version = Reader.NamesVersion();
    }
    Entries.push_back(Entry);
  }
  EXPECT_EQ(SamplesOf(Entries), Range(1, 150));
  ASSERT_EQ(Entries.size(), 156u);
  EXPECT_EQ(Entries[25].Kind, TLogEntry::TKind::Gap);
  EXPECT_EQ(Entries[25].Number, 25u);
  EXPECT_EQ(Entries[25].Reason, "the query failed");
  EXPECT_EQ(Entries[25].Time, LogSampleTime(25) + 1);
  EXPECT_TRUE(Reader.TakeWarnings().empty());

  const TLogExtent Extent = Reader.Extent();
  EXPECT_EQ(Extent.Samples, 150u);
  EXPECT_EQ(Extent.FirstTime, LogSampleTime(1));
  EXPECT_EQ(Extent.LastTime, LogSampleTime(150));
}

TEST_F(CounterLogTest, StoresSteadySamplesInAFractionOfTheirBytes) {
  TCounterLogWriter Writer(File_, test::LogMachine(), test::LogNames());
  const test::TBlock Block = LogSample(6);
  for (int Sample = 0; Sample < 120; ++Sample) Writer.WriteSample(Block.Bytes.data(), Block.Size());
  Writer.Close();
  EXPECT_LT(Writer.BytesWritten() * 10, Writer.BlockBytesWritten());
}

TEST_F(CounterLogTest, AMalformedBlockIsRecordedAsAGap) {
  {
    TCounterLogWriter Writer(File_, test::LogMachine(), test::LogNames());
    test::TBlock Bad = LogSample(1);
    Bad.Object(1).TotalByteLength += 4096;
    EXPECT_FALSE(Writer.WriteSample(Bad.Bytes.data(), Bad.Size()));
    const test::TBlock Good = LogSample(2);
    EXPECT_TRUE(Writer.WriteSample(Good.Bytes.data(), Good.Size()));
  }
  TCounterLogReader Reader(File_);
  const std::vector<TLogEntry> Entries = ReadAll(Reader);
  ASSERT_EQ(Entries.size(), 2u);
  EXPECT_EQ(Entries[0].Kind, TLogEntry::TKind::Gap);
  EXPECT_EQ(Entries[0].Reason, "the block is malformed: object 2 of 2 (at byte " +
                                   std::to_string(LogSample(1).Objects[1].Offset) +
                                   "): it runs past the block");
  EXPECT_EQ(Entries[0].Time, LogSampleTime(1));
  EXPECT_EQ(Entries[1].Number, 1u) << "numbers count stored samples";
}

// Seeking finds the sample at or after the time, with the names in force there, whether
// the index comes from the log's end or is rebuilt because the log has none.
TEST_F(CounterLogTest, SeeksByTimeWithAndWithoutTheIndex) {
  Record(200, {.FullEvery = 30, .IndexEvery = 2});
  const std::vector<BYTE> Whole = FileBytes(File_);
  for (bool Indexed : {true, false}) {
    SCOPED_TRACE(Indexed ? "closed log" : "log without its end");
    std::vector<BYTE> Bytes = Whole;
    if (!Indexed) Bytes.resize(Bytes.size() - 57);  // the end record and a little more
    TCounterLogReader Reader(Bytes, "log");
    EXPECT_EQ(Reader.Extent().Samples, 200u);
    TLogEntry Entry;
    Reader.Seek(LogSampleTime(137));
    ASSERT_TRUE(Reader.Next(Entry));
    EXPECT_EQ(SamplesOf({Entry}), std::vector<int>{137});
    EXPECT_EQ(Reader.Names(), test::LogNames(1));
    Reader.Seek(LogSampleTime(40) - 1);
    ASSERT_TRUE(Reader.Next(Entry));
    EXPECT_EQ(Entry.Number, 40u);
    EXPECT_EQ(Reader.Names(), test::LogNames()) << "before the change";
    Reader.Seek(LogSampleTime(25) + 1);
    ASSERT_TRUE(Reader.Next(Entry));
    EXPECT_EQ(Entry.Kind, TLogEntry::TKind::Gap);
    Reader.Seek(LogSampleTime(0));
    ASSERT_TRUE(Reader.Next(Entry));
    EXPECT_EQ(Entry.Number, 1u);
    Reader.Seek(LogSampleTime(201));
    EXPECT_FALSE(Reader.Next(Entry));
    Reader.Rewind();
    EXPECT_EQ(SamplesOf(ReadAll(Reader)), Range(1, 200));
    EXPECT_EQ(Reader.TakeWarnings().size(), Indexed ? 0u : 1u) << "the torn end, once";
  }
}

// Seeking a number reaches the sample that reading on from the start reaches, with the
// names in force there.
TEST_F(CounterLogTest, SeeksByNumberWithAndWithoutTheIndex) {
  Record(200, {.FullEvery = 30, .IndexEvery = 2});
  const std::vector<BYTE> Whole = FileBytes(File_);
  for (bool Indexed : {true, false}) {
    SCOPED_TRACE(Indexed ? "closed log" : "log without its end");
    std::vector<BYTE> Bytes = Whole;
    if (!Indexed) Bytes.resize(Bytes.size() - 57);
    TCounterLogReader Reader(Bytes, "log");
    EXPECT_EQ(Reader.Extent().FirstNumber, 1u);
    EXPECT_EQ(Reader.Extent().LastNumber, 200u);
    TLogEntry Entry;
    for (int Number : {137, 31, 30, 1, 26, 200, 69, 70}) {
      Reader.SeekNumber(static_cast<std::uint64_t>(Number));
      ASSERT_TRUE(Reader.Next(Entry));
      EXPECT_EQ(SamplesOf({Entry}), std::vector<int>{Number});
      EXPECT_EQ(Reader.Names(), test::LogNames(Number >= 70 ? 1 : 0)) << "sample " << Number;
    }
    Reader.SeekNumber(0);
    ASSERT_TRUE(Reader.Next(Entry));
    EXPECT_EQ(Entry.Number, 1u);
    Reader.SeekNumber(201);
    EXPECT_FALSE(Reader.Next(Entry));
    Reader.SeekNumber(25);
    EXPECT_EQ(SamplesOf(ReadAll(Reader)), Range(25, 200)) << "the gap after 25 follows it";
  }
}

// Counts the bytes its reader asks for.
class TCountingSource : public counterlog::TLogSource {
 public:
  TCountingSource(std::unique_ptr<counterlog::TLogSource> Inner, std::uint64_t& Counted)
      : Inner_(std::move(Inner)), Counted_(Counted) {}
  std::uint64_t Size() const override { return Inner_->Size(); }
  bool Read(std::uint64_t At, void* Into, std::size_t Length) override {
    Counted_ += Length;
    return Inner_->Read(At, Into, Length);
  }
  const std::string& Name() const override { return Inner_->Name(); }

 private:
  std::unique_ptr<counterlog::TLogSource> Inner_;
  std::uint64_t& Counted_;
};

TEST_F(CounterLogTest, SeekingANumberReadsOnlyFromTheFullSampleBeforeIt) {
  Record(600, {.FullEvery = 60});
  std::uint64_t Read = 0;
  counterlog::TLogVolumeReader Reader(std::make_unique<TCountingSource>(
      counterlog::LogInMemory(FileBytes(File_), "log"), Read));
  TLogEntry Entry;
  Read = 0;
  while (Reader.Next(Entry) && Entry.Number < 590) {
  }
  const std::uint64_t Walked = Read;
  ASSERT_EQ(Entry.Number, 590u);

  Reader.Rewind();
  Read = 0;
  Reader.SeekNumber(590);
  ASSERT_TRUE(Reader.Next(Entry));
  EXPECT_EQ(Entry.Number, 590u);
  EXPECT_EQ(Entry.Block, LogSample(590).Bytes);
  EXPECT_LT(Read * 10, Walked) << "read " << Read << " bytes, " << Walked << " walking";
}

TEST_F(CounterLogTest, AnIndexPointingOutsideIsRebuilt) {
  Record(100, {.FullEvery = 10, .IndexEvery = 3});
  std::vector<BYTE> Bytes = FileBytes(File_);
  // The end record's first field, the offset of the last index, rewritten with its
  // checksum so that only the pointer is wrong.
  const std::size_t End = Bytes.size() - 52;
  auto Rewrite = [&](std::uint64_t Offset) {
    for (int Byte = 0; Byte < 8; ++Byte)
      Bytes[End + 12 + Byte] = static_cast<BYTE>(Offset >> (8 * Byte));
    std::vector<BYTE> Body(Bytes.begin() + End + 12, Bytes.begin() + End + 44);
    std::vector<BYTE> Frame;
    counterlog::AppendFrame(Frame, counterlog::TRecordKind::End, Body);
    std::copy(Frame.begin(), Frame.end(), Bytes.begin() + End);
  };
  for (std::uint64_t Offset : {std::uint64_t{1} << 40, std::uint64_t{End - 1}, std::uint64_t{20}}) {
    Rewrite(Offset);
    TCounterLogReader Reader(Bytes, "log");
    Reader.Seek(LogSampleTime(55));
    TLogEntry Entry;
    ASSERT_TRUE(Reader.Next(Entry));
    EXPECT_EQ(Entry.Number, 55u);
    const std::vector<std::string> Warnings = Reader.TakeWarnings();
    ASSERT_EQ(Warnings.size(), 1u);
    EXPECT_NE(Warnings[0].find("; the index is rebuilt from the records"), std::string::npos)
        << Warnings[0];
  }
}

// Files that are not logs of this version, and logs cut or damaged before their first
// sample: each gets a message naming the file, never a crash.
TEST_F(CounterLogTest, RefusesWhatIsNotAReadableLog) {
  Record(3);
  const std::vector<BYTE> Good = FileBytes(File_);
  auto Opening = [](std::vector<BYTE> Bytes) {
    return ErrorOf([&] { TCounterLogReader(std::move(Bytes), "in.log"); });
  };
  EXPECT_EQ(Opening({}), "\"in.log\" is truncated: it ends in its header");
  EXPECT_EQ(Opening({Good.begin(), Good.begin() + 5}),
            "\"in.log\" is truncated: it ends in its header");
  EXPECT_EQ(Opening(std::vector<BYTE>(Good.size(), 0)), "\"in.log\" is not a counter log");
  EXPECT_EQ(Opening(test::LogSample(1).Bytes), "\"in.log\" is not a counter log");
  std::vector<BYTE> Newer = Good;
  Newer[8] = 2;
  EXPECT_EQ(Opening(Newer),
            "\"in.log\" is a counter log of format version 2; this program reads version 1");
  EXPECT_EQ(Opening({Good.begin(), Good.begin() + 20}),
            "\"in.log\" is truncated: it ends in its header");
  EXPECT_EQ(Opening({Good.begin(), Good.begin() + 100}),
            "\"in.log\" is truncated: it ends in its names section");
  std::vector<BYTE> Flipped = Good;
  Flipped[30] ^= 0x40;
  EXPECT_EQ(Opening(Flipped), "\"in.log\": the log's header is damaged");

  const std::string Missing = ::testing::TempDir() + "gaugery-no-such.glog";
  EXPECT_EQ(ErrorOf([&] {
              TCounterLogReader{Missing};
            }).rfind("Cannot read counter log \"" + Missing + "\": ", 0),
            0u);
}

TEST_F(CounterLogTest, RefusesBrokenNames) {
  TLogNames Broken = test::LogNames();
  Broken[1].Counter.pop_back();  // no longer ended by two NULs
  { TCounterLogWriter Writer(File_, test::LogMachine(), Broken); }
  EXPECT_EQ(ErrorOf([&] { TCounterLogReader{File_}; }),
            "\"" + File_ +
                "\": the log's names section is damaged (the tables of locale \"007\" are not "
                "multi-strings)");
}

}  // namespace
}  // namespace gaugery
