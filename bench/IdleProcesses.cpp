#include "IdleProcesses.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace gaugery::bench {

TIdleProcesses::TIdleProcesses(int Count) {
  const pid_t Parent = getpid();
  for (int I = 0; I < Count; ++I) {
    const pid_t Child = fork();
    if (Child == 0) {
      prctl(PR_SET_PDEATHSIG, SIGKILL);
      if (getppid() == Parent) pause();
      _exit(0);
    }
    if (Child > 0) Children_.push_back(Child);
  }
}

TIdleProcesses::~TIdleProcesses() {
  for (const pid_t Child : Children_) kill(Child, SIGKILL);
  for (const pid_t Child : Children_) waitpid(Child, nullptr, 0);
}

}  // namespace gaugery::bench
