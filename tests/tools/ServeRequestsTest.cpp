// What the server reads from requests, and the samples it answers from.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "FakeProviders.h"
#include "ServeRequests.h"
#include "ServeSamples.h"
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

TEST(ServeRequests, OpenMetricsWhenTheScraperPrefersIt) {
  // What Prometheus sends.
  EXPECT_EQ(NegotiatedFormat("application/openmetrics-text;version=1.0.0,application/"
                             "openmetrics-text;version=0.0.1;q=0.75,text/plain;version=0.0.4;"
                             "q=0.5,*/*;q=0.1"),
            TExpositionFormat::OpenMetrics);
  EXPECT_EQ(NegotiatedFormat("Application/OpenMetrics-Text"), TExpositionFormat::OpenMetrics);
  for (const char* Accept :
       {"", "*/*", "text/plain;version=0.0.4", "application/openmetrics-text;version=0.0.1",
        "application/openmetrics-text;q=0.2, text/plain;q=0.5", "application/openmetrics-text;q=0",
        "application/openmetrics-text;q=x", ",;;=,q=", "text/html"}) {
    EXPECT_EQ(NegotiatedFormat(Accept), TExpositionFormat::Prometheus) << Accept;
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

// A provider of whole blocks holding one processor.
test::TFakeProviders OneProcessor() {
  return test::TFakeProviders(
      {{.Samples = {test::BuildBlock({.Objects = {{.NameIndex = 238,
                                                   .Counters = {{.NameIndex = 6}},
                                                   .HasInstances = true,
                                                   .Instances = {{.Name = "0"}}}}})},
        .WritesWholeBlock = true,
        .Names = {{.Locale = "009", .Counter = {{238, "Processor"}, {6, "Busy"}}}}}});
}

TEST(ServeSamples, ManyRequestsWithinTheIntervalShareOneSample) {
  test::TFakeProviders Provider = OneProcessor();
  TServeSamples Samples(std::chrono::hours(1), {});
  std::vector<std::thread> Clients;
  for (int Client = 0; Client < 8; ++Client) {
    Clients.emplace_back([&] {
      for (int Request = 0; Request < 20; ++Request) {
        EXPECT_NE(Samples.Metrics(TExpositionFormat::Prometheus), nullptr);
        EXPECT_NE(Samples.Block("Global"), nullptr);
      }
    });
  }
  for (std::thread& Client : Clients) Client.join();
  EXPECT_EQ(Provider.CollectCount(0), 1);
  EXPECT_EQ(Samples.GlobalSamples(), 1u);
  EXPECT_EQ(Samples.Metrics(TExpositionFormat::Prometheus),
            Samples.Metrics(TExpositionFormat::Prometheus))
      << "rendered once";
  const std::string Text = *Samples.Metrics(TExpositionFormat::OpenMetrics);
  EXPECT_NE(Text.find("gaugery_processor_busy{instance_name=\"0\"} 0\n"), std::string::npos);
  EXPECT_NE(Text.find("gaugery_serve_samples_total 1\n# EOF\n"), std::string::npos);
  Samples.Block("238");
  EXPECT_EQ(Provider.CollectCount(0), 2) << "another value name has a sample of its own";
}

TEST(ServeSamples, EachRequestAfterTheIntervalTakesANewSample) {
  test::TFakeProviders Provider = OneProcessor();
  TServeSamples Samples(std::chrono::steady_clock::duration::zero(), {});
  std::shared_ptr<const std::string> Latest;
  for (int Request = 0; Request < 3; ++Request) Latest = Samples.Block("Global");
  EXPECT_EQ(Provider.CollectCount(0), 3);
  Provider.SetCollectError(0, gaugery::ERROR_INVALID_HANDLE);
  EXPECT_EQ(Samples.Block("Global"), Latest) << "a failed sample keeps the block before it";
  EXPECT_EQ(Provider.CollectCount(0), 4);
}

}  // namespace
}  // namespace gaugery::cli
