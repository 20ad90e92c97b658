// Gaugery's side of the peer comparison: CPU time of one TPerfData::Refresh of the live block.
//
//   refresh_sample SAMPLES [VALUE]   prints "cpu_us_per_sample <value>"
//
// VALUE is the value name queried: "Global" (the default) or a list of title indexes
// such as "232" for the Thread object alone.
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>

#include "PerfData.h"

namespace {

double CpuMicroseconds() {
  rusage Usage{};
  getrusage(RUSAGE_SELF, &Usage);
  return (Usage.ru_utime.tv_sec + Usage.ru_stime.tv_sec) * 1e6 + Usage.ru_utime.tv_usec +
         Usage.ru_stime.tv_usec;
}

}  // namespace

int main(int argc, char** argv) {
  const int Samples = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
  const char* Value = argc > 2 ? argv[2] : "Global";
  gaugery::TPerfData Data(Value, "");  // the first sample grows the buffers
  const double Start = CpuMicroseconds();
  for (int i = 0; i < Samples; ++i) Data.Refresh();
  std::printf("cpu_us_per_sample %.1f\n", (CpuMicroseconds() - Start) / Samples);
  return 0;
}
