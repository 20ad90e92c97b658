// What the server reads from requests, and the samples it answers from.
#include <gtest/gtest.h>

#include <condition_variable>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

#include "BlockSelection.h"
#include "FakeProviders.h"
#include "ServeRequests.h"
#include "ServeSamples.h"
#include "registry/PerfBlockCheck.h"
#include "registry/Registry.h"

namespace gaugery::cli {
namespace {

TEST(ServeRequests, PerfDataTakesExactlyOneWellFormedValue) {
  EXPECT_EQ(PerfDataValue("value=Global"), "Global");
  EXPECT_EQ(PerfDataValue("value=gLoBaL"), "Global");
  EXPECT_EQ(PerfDataValue("value=238+230"), "238 230");
  EXPECT_EQ(PerfDataValue("value=238%202"), "238 2");
  EXPECT_EQ(PerfDataValue("value=Costly"), "Costly") << "the registry answers other names";
  EXPECT_EQ(PerfDataValue("value=" + std::string(LongestPerfDataValue, '1'))->size(),
            LongestPerfDataValue);
  for (const std::string Query :
       {"", "value=", "value", "Value=Global", "x=1", "value=Global&x=1", "value=a&value=b",
        "value=%", "value=%2", "value=%zz", "value=%0A", "value=a%00b", "value=\t"}) {
    EXPECT_FALSE(PerfDataValue(Query)) << Query;
  }
  EXPECT_FALSE(PerfDataValue("value=" + std::string(LongestPerfDataValue + 1, '1')));
}

TEST(ServeRequests, ALocalePathHasExactlyTwoDecodedSegments) {
  const std::optional<TLocaleValuePath> Plain = LocaleValuePath("/perflib/009/Counter");
  ASSERT_TRUE(Plain);
  EXPECT_EQ(Plain->Locale, "009");
  EXPECT_EQ(Plain->Value, "Counter");
  const std::optional<TLocaleValuePath> Encoded = LocaleValuePath("/perflib/0%30+7/Help");
  ASSERT_TRUE(Encoded);
  EXPECT_EQ(Encoded->Locale, "00+7") << "a plus is no space in a path";
  for (const char* Path : {"/perflib/", "/perflib/009", "/perflib/009/", "/perflib//Counter",
                           "/perflib/009/Counter/x", "/perflib/a%2Fb/Counter",
                           "/perflib/0%0A9/Help", "/perflib/009/%zz", "/other/009/Counter"}) {
    EXPECT_FALSE(LocaleValuePath(Path)) << Path;
  }
}

TEST(ServeRequests, AHeldSampleIsADecimalTimeStamp) {
  EXPECT_EQ(HeldSample("133000000000000000"), 133000000000000000);
  EXPECT_EQ(HeldSample("0"), 0);
  for (const char* Header : {"", "-1", "+1", "12x", " 1", "1234567890123456789", "0x10"})
    EXPECT_FALSE(HeldSample(Header)) << Header;
}

TEST(ServeRequests, OpenMetricsWhenTheScraperPrefersIt) {
  // What Prometheus sends.
  EXPECT_EQ(NegotiatedFormat("application/openmetrics-text;version=1.0.0,application/"
                             "openmetrics-text;version=0.0.1;q=0.75,text/plain;version=0.0.4;"
                             "q=0.5,*/*;q=0.1"),
            exposition::TExpositionFormat::OpenMetrics);
  EXPECT_EQ(NegotiatedFormat("Application/OpenMetrics-Text"),
            exposition::TExpositionFormat::OpenMetrics);
  for (const char* Accept :
       {"", "*/*", "text/plain;version=0.0.4", "application/openmetrics-text;version=0.0.1",
        "application/openmetrics-text;q=0.2, text/plain;q=0.5", "application/openmetrics-text;q=0",
        "application/openmetrics-text;q=x", ",;;=,q=", "text/html"}) {
    EXPECT_EQ(NegotiatedFormat(Accept), exposition::TExpositionFormat::Prometheus) << Accept;
  }
}

TEST(ServeRequests, GzipWhenTheClientAcceptsIt) {
  for (const char* Header : {"gzip", "deflate, gzip;q=0.5", "X-GZIP", " br , gzip "})
    EXPECT_TRUE(AcceptsGzip(Header)) << Header;
  for (const char* Header : {"", "identity", "gzip;q=0", "deflate", "gzipped", "gzip;q=no"})
    EXPECT_FALSE(AcceptsGzip(Header)) << Header;
}

TEST(ServeRequests, BearerTokenMustMatchExactly) {
  EXPECT_TRUE(IsAuthorized("Bearer s3cret", "s3cret"));
  EXPECT_TRUE(IsAuthorized("bearer  s3cret ", "s3cret"));
  for (const char* Header : {"", "Bearer", "Bearer ", "Bearer s3cre", "Bearer s3cret2",
                             "Basic s3cret", "s3cret", "Bearer S3CRET"}) {
    EXPECT_FALSE(IsAuthorized(Header, "s3cret")) << Header;
  }
}

// A browser sends what its user typed as "Basic base64(user:password)".
TEST(ServeRequests, BasicCredentialsCarryTheTokenAsPassword) {
  EXPECT_TRUE(IsAuthorized("Basic YW55OnMzY3JldA==", "s3cret"));  // any:s3cret
  EXPECT_TRUE(IsAuthorized("basic OnMzY3JldA==", "s3cret"));      // :s3cret
  EXPECT_TRUE(IsAuthorized("Basic YTpiOmM=", "b:c"));   // a:b:c, the password holds a colon
  for (const char* Header : {"Basic czNjcmV0OmFueQ==",  // s3cret:any
                             "Basic YW55OnMzY3JldDI=",  // any:s3cret2
                             "Basic czNjcmV0",          // s3cret, no colon
                             "Basic YW55OnMzY3JldA=",   // cut short
                             "Basic YW55On=zY3JldA==",  // padding inside
                             "Basic YW55OnMzY3Jl*A==", "Basic "}) {
    EXPECT_FALSE(IsAuthorized(Header, "s3cret")) << Header;
  }
}

// A block with a processor, the system and the memory.
test::TBlock ThreeObjects() {
  return test::BuildBlock(
      {.Objects = {{.NameIndex = 238,
                    .Counters = {{.NameIndex = 6}},
                    .HasInstances = true,
                    .Instances = {{.Name = "0"}}},
                   {.NameIndex = 2, .Counters = {{.NameIndex = 250}}},
                   {.NameIndex = 4, .Counters = {{.NameIndex = 24, .Size = 4}}}}});
}

// A provider of whole blocks, served as they are.
test::TFakeProviders WholeBlocks() {
  return test::TFakeProviders(
      {{.Samples = {ThreeObjects()},
        .WritesWholeBlock = true,
        .Names = {{.Locale = "009", .Counter = {{238, "Processor"}, {6, "Busy"}}}}}});
}

std::vector<DWORD> ObjectIndexes(const std::string& Block) {
  EXPECT_TRUE(IsWellFormedBlock(Block.data(), static_cast<DWORD>(Block.size())));
  const auto* Header = reinterpret_cast<const TPERF_DATA_BLOCK*>(Block.data());
  EXPECT_EQ(Header->TotalByteLength, Block.size());
  EXPECT_EQ(Block.size() % 8, 0u);
  std::vector<DWORD> Indexes;
  std::size_t Offset = Header->HeaderLength;
  for (DWORD Object = 0; Object < Header->NumObjectTypes; ++Object) {
    const auto* Record = reinterpret_cast<const TPERF_OBJECT_TYPE*>(Block.data() + Offset);
    Indexes.push_back(Record->ObjectNameTitleIndex);
    Offset += Record->TotalByteLength;
  }
  return Indexes;
}

TEST(BlockSelection, AnIndexListKeepsItsObjectsInBlockOrder) {
  const test::TBlock Block = ThreeObjects();
  const std::string Global(Block.Bytes.begin(), Block.Bytes.end());
  EXPECT_EQ(ObjectIndexes(SelectedObjects(Global, "4 238")), (std::vector<DWORD>{238, 4}));
  EXPECT_EQ(ObjectIndexes(SelectedObjects(Global, "2")), (std::vector<DWORD>{2}));
  EXPECT_EQ(ObjectIndexes(SelectedObjects(Global, "global")), (std::vector<DWORD>{238, 2, 4}));
  EXPECT_TRUE(ObjectIndexes(SelectedObjects(Global, "Costly")).empty());
  EXPECT_TRUE(ObjectIndexes(SelectedObjects(Global, "99999999999")).empty());
}

TEST(BlockSelection, ObjectsTheWholeBlockLacksComeFromTheExtraBlockAfterIt) {
  const test::TBlock Block = ThreeObjects();
  const std::string Global(Block.Bytes.begin(), Block.Bytes.end());
  const test::TBlock Others =
      test::BuildBlock({.Objects = {{.NameIndex = 232, .Counters = {{.NameIndex = 6}}},
                                    {.NameIndex = 4, .Counters = {{.NameIndex = 26}}}}});
  const std::string Extra(Others.Bytes.begin(), Others.Bytes.end());
  EXPECT_EQ(ObjectIndexes(SelectedObjects(Global, "232 4 238", Extra)),
            (std::vector<DWORD>{238, 4, 232}));
  EXPECT_EQ(ObjectIndexes(SelectedObjects(Global, "2", Extra)), (std::vector<DWORD>{2}));
  const std::string Memory = SelectedObjects(Global, "4", Extra);
  EXPECT_EQ(Memory, SelectedObjects(Global, "4")) << "an object Global has comes from Global";
}

TEST(ServeSamples, ManyRequestsWithinTheIntervalShareOneSample) {
  test::TFakeProviders Provider = WholeBlocks();
  TServeSamples Samples(std::chrono::hours(1), {});
  std::vector<std::thread> Clients;
  for (int Client = 0; Client < 8; ++Client) {
    Clients.emplace_back([&] {
      for (int Request = 0; Request < 20; ++Request) {
        EXPECT_NE(Samples.Metrics(exposition::TExpositionFormat::Prometheus), nullptr);
        EXPECT_NE(Samples.Block("Global"), nullptr);
        EXPECT_NE(Samples.Block(std::to_string(Request)), nullptr);
      }
    });
  }
  for (std::thread& Client : Clients) Client.join();
  EXPECT_EQ(Provider.CollectCount(0), 1) << "index lists are cut from the same sample";
  EXPECT_EQ(Samples.SamplesTaken(), 1u);
  EXPECT_EQ(Samples.Metrics(exposition::TExpositionFormat::Prometheus),
            Samples.Metrics(exposition::TExpositionFormat::Prometheus))
      << "rendered once";
  const std::string Text = *Samples.Metrics(exposition::TExpositionFormat::OpenMetrics);
  EXPECT_NE(Text.find("gaugery_processor_busy{instance_name=\"0\"} 0\n"), std::string::npos);
  EXPECT_NE(Text.find("gaugery_serve_samples_total 1\n# EOF\n"), std::string::npos);
  EXPECT_EQ(ObjectIndexes(*Samples.Block("238")), (std::vector<DWORD>{238}));
}

// Holds each Collect of a fake provider until the test lets it through, so that a
// sample can be caught while it is being taken.
class TCollectGate {
 public:
  void Pass() {
    std::unique_lock<std::mutex> Guard(Lock_);
    ++Waiting_;
    Changed_.notify_all();
    Changed_.wait(Guard, [this] { return Open_ || Allowed_ > 0; });
    --Waiting_;
    if (!Open_) --Allowed_;
  }
  void Let(int Collects) {
    const std::lock_guard<std::mutex> Guard(Lock_);
    Allowed_ += Collects;
    Changed_.notify_all();
  }
  // Waits until a Collect waits at the gate.
  void AwaitHeld() {
    std::unique_lock<std::mutex> Guard(Lock_);
    Changed_.wait(Guard, [this] { return Waiting_ > 0 && Allowed_ == 0; });
  }
  void Open() {
    const std::lock_guard<std::mutex> Guard(Lock_);
    Open_ = true;
    Changed_.notify_all();
  }

 private:
  std::mutex Lock_;
  std::condition_variable Changed_;
  int Waiting_ = 0;
  int Allowed_ = 0;
  bool Open_ = false;
};

// Opens the gate before the samples it holds are destroyed, however the test ends.
struct TGateOpened {
  TCollectGate& Gate;
  ~TGateOpened() { Gate.Open(); }
};

// Whole blocks that the gate holds, the first and then the second served again and again.
test::TFakeProviders GatedBlocks(TCollectGate& Gate) {
  test::TBlockSpec Later{.Objects = {{.NameIndex = 2, .Counters = {{.NameIndex = 250}}}}};
  Later.PerfTime100nSec += 10000000;
  return test::TFakeProviders(
      {{.Samples = {ThreeObjects(), test::BuildBlock(Later)},
        .WritesWholeBlock = true,
        .Names = {{.Locale = "009", .Counter = {{238, "Processor"}, {6, "Busy"}}}},
        .BeforeCollect = [&Gate] { Gate.Pass(); }}});
}

void AwaitSamples(TServeSamples& Samples, std::uint64_t Count) {
  while (Samples.SamplesTaken() < Count) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

TEST(ServeSamples, ARequestDuringASampleIsAnsweredFromTheOneBefore) {
  TCollectGate Gate;
  test::TFakeProviders Provider = GatedBlocks(Gate);
  TServeSamples Samples(std::chrono::steady_clock::duration::zero(), {});
  const TGateOpened Opened{Gate};
  Gate.Let(1);
  const std::shared_ptr<const std::string> First = Samples.Block("Global");
  ASSERT_NE(First, nullptr) << "the first request waits for the first sample";
  Gate.AwaitHeld();  // the second sample is being taken
  auto During = std::async(std::launch::async, [&] {
    return std::make_pair(Samples.Block("Global"),
                          Samples.Metrics(exposition::TExpositionFormat::Prometheus));
  });
  const bool Answered = During.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
  if (!Answered) Gate.Open();
  ASSERT_TRUE(Answered) << "a request waited for the sample being taken";
  const auto [Block, Text] = During.get();
  EXPECT_EQ(Block, First);
  ASSERT_NE(Text, nullptr);
  EXPECT_NE(Text->find("gaugery_processor_busy{instance_name=\"0\"} 0\n"), std::string::npos);
  EXPECT_EQ(Samples.SamplesTaken(), 1u);
  EXPECT_EQ(Samples.NewerSampleDue(0), std::nullopt) << "a newer block than the one held";

  Gate.Let(1);
  AwaitSamples(Samples, 2);
  EXPECT_EQ(ObjectIndexes(*Samples.Block("Global")), (std::vector<DWORD>{2}))
      << "the newest sample";
  EXPECT_EQ(Samples.Metrics(exposition::TExpositionFormat::Prometheus)->find("processor"),
            std::string::npos)
      << "rendered again for the new sample";
}

TEST(ServeSamples, AFailedSampleKeepsTheBlockBeforeIt) {
  TCollectGate Gate;
  test::TFakeProviders Provider = GatedBlocks(Gate);
  TServeSamples Samples(std::chrono::steady_clock::duration::zero(), {});
  const TGateOpened Opened{Gate};
  Gate.Let(1);
  const std::shared_ptr<const std::string> First = Samples.Block("Global");
  Gate.AwaitHeld();
  Provider.SetCollectError(0, ERROR_INVALID_HANDLE);
  Gate.Let(1);
  AwaitSamples(Samples, 2);
  EXPECT_EQ(Samples.Block("Global"), First);
  EXPECT_NE(Samples.Metrics(exposition::TExpositionFormat::OpenMetrics)
                ->find("gaugery_serve_samples_total 2\n"),
            std::string::npos)
      << "the failed sample is counted";
}

TEST(ServeSamples, AReaderHoldingTheNewestBlockWaitsForTheNextInterval) {
  test::TFakeProviders Provider = WholeBlocks();
  TServeSamples Samples(std::chrono::hours(1), {});
  const auto Before = std::chrono::steady_clock::now();
  const auto* Header = reinterpret_cast<const TPERF_DATA_BLOCK*>(Samples.Block("Global")->data());
  const auto Due = Samples.NewerSampleDue(Header->PerfTime100nSec);
  ASSERT_TRUE(Due);
  EXPECT_GE(*Due, Before + std::chrono::hours(1));
  EXPECT_LT(*Due, std::chrono::steady_clock::now() + std::chrono::hours(2));
  EXPECT_FALSE(Samples.NewerSampleDue(Header->PerfTime100nSec - 1))
      << "an older block is replaced at once";
}

}  // namespace
}  // namespace gaugery::cli
