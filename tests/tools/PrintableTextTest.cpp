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

// CJK and emoji take two columns, combining marks none; bytes of broken UTF-8 one each.
TEST(DisplayWidth, CountsTheColumnsATerminalGivesEachCharacter) {
  EXPECT_EQ(DisplayWidth(""), 0u);
  EXPECT_EQ(DisplayWidth("init"), 4u);
  EXPECT_EQ(DisplayWidth("\xe8\xbf\x9b\xe7\xa8\x8b"), 4u);  // U+8FDB U+7A0B
  EXPECT_EQ(DisplayWidth("\xef\xbc\xa1"), 2u);                 // U+FF21 full-width A
  EXPECT_EQ(DisplayWidth("\xf0\x9f\x98\x80x"), 3u);           // U+1F600 and x
  EXPECT_EQ(DisplayWidth("e\xcc\x81"), 1u);                     // e and U+0301
  EXPECT_EQ(DisplayWidth("\xc3\xa4\xe2\x82\xac"), 2u);        // U+00E4 U+20AC
  EXPECT_EQ(DisplayWidth("a\xff\xe8\xbf"), 3u);                // a stray and a cut sequence
  EXPECT_EQ(DisplayWidth("\xed\xa0\x80"), 3u);                 // a surrogate is no character
}

TEST(DisplayWidth, FirstColumnsNeverSplitsACharacter) {
  const std::string Wide = "\xe8\xbf\x9b\xe7\xa8\x8b";
  EXPECT_EQ(FirstColumns(Wide, 4), Wide);
  EXPECT_EQ(FirstColumns(Wide, 3), "\xe8\xbf\x9b");
  EXPECT_EQ(FirstColumns(Wide, 1), "");
  EXPECT_EQ(FirstColumns("e\xcc\x81x", 1), "e\xcc\x81");
  EXPECT_EQ(FirstColumns("ab\xff", 2), "ab");
}

// Names that take two columns a character keep the columns after them in line.
TEST(DisplayWidth, AlignsTheTablesOfReadAndWatchOnATerminal) {
  const std::string Wide = "\xe8\xbf\x9b\xe7\xa8\x8b";  // four columns
  const test::TBlock Block =
      gaugery::testing::ProcessBlock({{.Name = Wide, .Id = 42}, {.Name = "sleep", .Id = 7}});
  TCaptureFiles Files;
  const std::string Replay = Files.Replay(Block);
  const ProgramRun Read = RunGaugeryOnTerminal(Replay + "read Process \"ID Process\"");
  ASSERT_EQ(Read.ExitCode, 0) << Read.Err;
  EXPECT_EQ(Read.Out,
            "instance  ID Process\r\n" + Wide + "              42\r\nsleep              7\r\n");
  const ProgramRun Watch =
      RunGaugeryOnTerminal(Replay + "watch --count 1 --interval 0 Process \"ID Process\"");
  EXPECT_EQ(Watch.Out, Read.Out);
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
