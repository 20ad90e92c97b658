// Names from the data reach the terminal without control characters, in every text
// output that shows them.
#include "PrintableText.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "ProcessSamples.h"
#include "ProgramRun.h"

namespace {

using namespace gaugery;
using namespace gaugery::cli;

TEST(PrintableText, ReplacesControlCharactersOnly) {
  EXPECT_EQ(PrintableText(std::string("a\0b\tc\nd\x1b[31m\x7f", 13)), "a?b?c?d?[31m?");
  // U+0085 and U+009B are C1 controls; U+00A0, U+00E4 and U+20AC are text.
  EXPECT_EQ(PrintableText("\xc2\x85\xc2\x9b\xc2\xa0\xc3\xa4\xe2\x82\xac"),
            "??\xc2\xa0\xc3\xa4\xe2\x82\xac");
  EXPECT_EQ(PrintableText("\xc2"), "\xc2");
}

// A process may name itself with escape sequences, tabs and line breaks.
TEST(PrintableText, IsWhatReadWatchAndTopPrint) {
  const std::string Hostile = "x\x1b]0;PWN\x07\x1b[31m\tcol\nrow";
  const test::TBlock Block =
      gaugery::testing::ProcessBlock({{.Name = Hostile, .Id = 42}, {.Name = "plain", .Id = 43}});
  const std::string File = ::testing::TempDir() + "gaugery-hostile-" + std::to_string(getpid());
  std::ofstream(File, std::ios::binary)
      .write(reinterpret_cast<const char*>(Block.Bytes.data()), Block.Size());
  const std::string Shown = "x?]0;PWN??[31m?col?row\t";
  for (const std::string Command :
       {"read Process \"ID Process\"", "watch --count 2 --interval 0 Process \"ID Process\"",
        "top --count 1"}) {
    const ProgramRun Run = RunGaugery("--replay " + File + " " + Command);
    EXPECT_EQ(Run.ExitCode, 0) << Command << ": " << Run.Err;
    EXPECT_NE(Run.Out.find(Shown), std::string::npos) << Command << ":\n" << Run.Out;
    EXPECT_EQ(Run.Out.find('\x1b'), std::string::npos) << Command;
  }
  std::remove(File.c_str());
}

}  // namespace
