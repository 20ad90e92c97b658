// Idle child processes for the benchmarks that read the process table with many
// processes in it.
#pragma once

#include <sys/types.h>

#include <vector>

namespace gaugery::bench {

// Children that sleep until they are killed, or until this process ends.
class TIdleProcesses {
 public:
  explicit TIdleProcesses(int Count);
  ~TIdleProcesses();
  TIdleProcesses(const TIdleProcesses&) = delete;
  TIdleProcesses& operator=(const TIdleProcesses&) = delete;

 private:
  std::vector<pid_t> Children_;
};

}  // namespace gaugery::bench
