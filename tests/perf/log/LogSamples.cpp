#include "LogSamples.h"

#include <fstream>
#include <iterator>

#include "framework/WinTime.h"

namespace gaugery::test {

namespace {

SYSTEMTIME SampleClock(int Number) {
  return {2024,
          5,
          5,
          12,
          static_cast<WORD>(12 + Number / 3600),
          static_cast<WORD>(Number / 60 % 60),
          static_cast<WORD>(Number % 60),
          0};
}

}  // namespace

WideString MultiString(const std::vector<std::string>& Strings) {
  WideString Text;
  for (const std::string& String : Strings) {
    for (char Unit : String) Text.push_back(static_cast<WCHAR>(static_cast<unsigned char>(Unit)));
    Text.push_back(0);
  }
  Text.push_back(0);
  return Text;
}

TBlock LogSample(int Number) {
  TObjectSpec Processes{.NameIndex = 230,
                        .Counters = {{.NameIndex = 6, .Type = PERF_100NSEC_TIMER},
                                     {.NameIndex = 180, .Type = PERF_COUNTER_LARGE_RAWCOUNT},
                                     {.NameIndex = 784, .Type = PERF_COUNTER_RAWCOUNT, .Size = 4}},
                        .HasInstances = true,
                        .PerfTime = 1000000 + Number * 10000000LL,
                        .PerfFreq = 10000000};
  const int Count = 20 + Number % 7;
  for (int Instance = 0; Instance < Count; ++Instance) {
    const std::int64_t Moving = Instance % 3 == 0 ? Number * 1000LL : 0;
    Processes.Instances.push_back(
        {.Name = "process" + std::to_string(Instance),
         .Values = {Instance * 100000LL + Moving, 4096LL * Instance, Instance},
         .UniqueID = 1000 + Instance});
  }
  TObjectSpec System{.NameIndex = 2,
                     .Counters = {{.NameIndex = 674, .Type = PERF_COUNTER_LARGE_RAWCOUNT}},
                     .Values = {Number}};
  return BuildBlock({.Objects = {System, Processes},
                     .SystemTime = SampleClock(Number),
                     .PerfTime = 1000000 + Number * 10000000LL,
                     .PerfTime100nSec = LogSampleTime(Number)});
}

std::int64_t LogSampleTime(int Number) {
  const SYSTEMTIME Clock = SampleClock(Number);
  FILETIME Time;
  SystemTimeToFileTime(&Clock, &Time);
  return FileTimeToInt64(Time);
}

TLogMachine LogMachine() {
  return {.ComputerName = "RECORDER",
          .System = "Linux 6.1.0 x86_64",
          .Bias = -60,
          .TimeZoneName = "W. Europe Standard Time",
          .StartTime = LogSampleTime(0)};
}

TLogNames LogNames(int Variant) {
  return {{"009", MultiString({"1", "1847", "2", "System", "230", "Process"}),
           MultiString({"3", "The system", "231", "A process"})},
          {"007",
           MultiString({"1", "1847", "2", "System", "230", Variant == 0 ? "Prozess" : "Vorgang"}),
           MultiString({})}};
}

std::vector<BYTE> FileBytes(const std::string& File) {
  std::ifstream In(File, std::ios::binary);
  return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
}

void WriteFileBytes(const std::string& File, const std::vector<BYTE>& Bytes) {
  std::ofstream(File, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(Bytes.data()),
             static_cast<std::streamsize>(Bytes.size()));
}

}  // namespace gaugery::test
