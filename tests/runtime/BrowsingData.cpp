#include "BrowsingData.h"

#include "PerfData.h"
#include "PerfTitles.h"

namespace gaugery::testing {

namespace {

using test::BuildBlock;
using test::TBlock;

std::vector<TPerfLocaleNames> BrowsingNames() {
  return {{"009",
           {{2, "System"},
            {4, "Memory"},
            {6, "% Processor Time"},
            {10, "Processes"},
            {20, "Elapsed Time"},
            {22, "Elapsed Time"},
            {230, "Process"},
            {680, "Thread Count"},
            {784, "ID Process"},
            {1500, "Print Queue"}},
           {{3, "Overall system values"},
            {7, "Share of processor time"},
            {231, "The running programs"},
            {681, "Threads of the process"}}},
          {"007",
           {{2, "System"},
            {4, "Speicher"},
            {6, "Prozessorzeit (%)"},
            {230, "Prozess"},
            {680, "Threadanzahl"}},
           {{231, "Die laufenden Programme"}}}};
}

TBlock FirstSample() {
  return BuildBlock(
      {.Objects = {{.NameIndex = 2, .Counters = {{.NameIndex = 10}}, .Values = {300}},
                   {.NameIndex = 230,
                    .Counters = {{.NameIndex = 6},
                                 {.NameIndex = 8, .Type = PERF_AVERAGE_BASE},
                                 {.NameIndex = 680},
                                 {.NameIndex = 784},
                                 {.NameIndex = 20},
                                 {.NameIndex = 22}},
                    .HasInstances = true,
                    .Instances = {{.Name = "Idle", .UniqueID = 0},
                                  {.Name = "bash", .UniqueID = 41},
                                  {.Name = "bash", .UniqueID = 42},
                                  {.Name = "_Total"}}},
                   {.NameIndex = 1500, .Counters = {{.NameIndex = 1502}}, .HasInstances = true},
                   {.NameIndex = 9999},
                   {.NameIndex = 4, .Counters = {{.NameIndex = 24}}, .Values = {1 << 20}}},
       .PerfTime = 1000});
}

TBlock SecondSample() {
  return BuildBlock({.Objects = {{.NameIndex = 230,
                                  .Counters = {{.NameIndex = 6}, {.NameIndex = 680}},
                                  .HasInstances = true,
                                  .Instances = {{.Name = "bash"}, {.Name = "_Total"}}},
                                 {.NameIndex = 2, .Counters = {{.NameIndex = 10}}}},
                     .PerfTime = 2000});
}

// The locale list is read once per process: fix it to the locales of the synthetic
// names, which the live provider has as well, and leave the live provider in service.
class TBrowsingEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    TPerfProvider Names;
    Names.Name = "names";
    Names.Names = BrowsingNames();
    SetPerfProviders({Names});
    Locales();
    RestoreDefaultPerfProviders();
  }
};

const auto* const Registered = ::testing::AddGlobalTestEnvironment(new TBrowsingEnvironment);

}  // namespace

void BrowsingTest::SetUp() {
  Fakes_ = std::make_unique<test::TFakeProviders>(
      std::vector<test::TFakeProvider>{{.Samples = {FirstSample(), SecondSample()},
                                        .WritesWholeBlock = true,
                                        .Names = BrowsingNames()}});
}

void BrowsingTest::TearDown() {
  Fakes_.reset();
  ExpectNothingHeld();
}

void ExpectNothingHeld() {
  EXPECT_EQ(GlobalPerfDataList()->Count(), 0) << "a snapshot outlived its components";
  EXPECT_EQ(PerfInfoDataCache(), nullptr) << "a name table outlived its components";
}

}  // namespace gaugery::testing
