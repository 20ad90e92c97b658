// The brindle program itself, started as a user starts it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

#include "BrindleArguments.h"
#include "BrindleProduct.h"

namespace gaugery {
namespace {

struct TProgramEnd {
  int ExitCode = -1;
  std::string Out;
};

// Runs brindle with Arguments where no display can be reached; captures standard output.
TProgramEnd RunWithoutDisplay(const std::string& Arguments) {
  const std::string Command =
      "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "
      "XDG_RUNTIME_DIR=/nonexistent " BRINDLE_EXE " " +
      Arguments + " 2>/dev/null";
  TProgramEnd End;
  FILE* Pipe = popen(Command.c_str(), "r");
  if (Pipe == nullptr) return End;
  std::array<char, 4096> Chunk{};
  while (const std::size_t Read = fread(Chunk.data(), 1, Chunk.size(), Pipe))
    End.Out.append(Chunk.data(), Read);
  const int Status = pclose(Pipe);
  End.ExitCode = WIFEXITED(Status) ? WEXITSTATUS(Status) : 128 + WTERMSIG(Status);
  return End;
}

TEST(BrindleProgram, AnswersHelpAndVersionWithoutADisplay) {
  const TProgramEnd Help = RunWithoutDisplay("--help");
  EXPECT_EQ(Help.ExitCode, 0);
  EXPECT_EQ(Help.Out, BrindleUsage);

  const TProgramEnd Version = RunWithoutDisplay("--version");
  EXPECT_EQ(Version.ExitCode, 0);
  EXPECT_EQ(Version.Out, BrindleVersionLine() + "\n");
}

}  // namespace
}  // namespace gaugery
