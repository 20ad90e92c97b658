#include "ProgramRun.h"

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

std::string ReadFile(const std::string& Path) {
  std::ifstream In(Path, std::ios::binary);
  std::ostringstream Text;
  Text << In.rdbuf();
  return Text.str();
}

}  // namespace

ProgramRun RunGaugery(const std::string& Arguments) {
  char ErrPath[] = "/tmp/gaugery-stderr-XXXXXX";
  const int ErrFile = mkstemp(ErrPath);
  if (ErrFile < 0) throw std::runtime_error("mkstemp failed");
  close(ErrFile);
  const std::string Command =
      std::string(GAUGERY_EXE) + " " + Arguments + " 2>" + ErrPath;
  FILE* Pipe = popen(Command.c_str(), "r");
  if (Pipe == nullptr) throw std::runtime_error("popen failed");
  std::string Out;
  char Buffer[4096];
  for (std::size_t Read; (Read = fread(Buffer, 1, sizeof Buffer, Pipe)) > 0;)
    Out.append(Buffer, Read);
  const int Status = pclose(Pipe);
  ProgramRun Run{WIFEXITED(Status) ? WEXITSTATUS(Status) : -1, Out, ReadFile(ErrPath)};
  std::remove(ErrPath);
  return Run;
}
