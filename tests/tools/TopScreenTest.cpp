// The frames of `gaugery top`: every line fitted to the screen, columns narrowed and
// cut as the width demands, the rows of the viewport and the _Total row pinned.
#include "TopScreen.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "PrintableText.h"
#include "framework/Unicode.h"

namespace {

using namespace gaugery;
using namespace gaugery::cli;

using TLines = std::vector<std::string>;

// The lines as the terminal shows them.
TLines Shown(const std::string& Screen) {
  static const std::regex Escapes("\x1b\\[[0-?]*[ -/]*[@-~]");
  const std::string Text = std::regex_replace(Screen, Escapes, "");
  TLines Lines;
  std::size_t Start = 0;
  for (std::size_t End; (End = Text.find("\r\n", Start)) != std::string::npos; Start = End + 2)
    Lines.push_back(Text.substr(Start, End - Start));
  Lines.push_back(Text.substr(Start));
  return Lines;
}

std::string Trimmed(std::string Line) {
  Line.erase(Line.find_last_not_of(' ') + 1);
  return Line;
}

// Rows r0, r1, ... and a name of 29 characters in row 1.
TTopFrame Frame(int RowCount) {
  TTopFrame Frame{"header", {{"Task name"}, {"CPU %", true}, {"Page File Bytes Peak", true}}};
  for (int Row = 0; Row < RowCount; ++Row)
    Frame.Rows.push_back({"r" + std::to_string(Row), "1.0", std::to_string(Row * 1000)});
  Frame.Rows[1][0] = "a-very-long-process-name-here";
  Frame.Total = {"_Total", "9.0", "99999"};
  Frame.Status = "status";
  return Frame;
}

TEST(TopScreen, FillsEveryLineOfTheScreenWithTheTotalAboveTheStatus) {
  const std::string Screen = RenderFrame(Frame(3), {80, 8}, {}, "~");
  EXPECT_EQ(Screen.rfind("\x1b[H", 0), 0u);
  const TLines Lines = Shown(Screen);
  ASSERT_EQ(Lines.size(), 8u);
  for (const std::string& Line : Lines) EXPECT_EQ(CodePointCount(Line), 80u) << Line;
  EXPECT_EQ(Trimmed(Lines[0]), "header");
  EXPECT_EQ(Trimmed(Lines[1]), "Task name                     CPU % Page File Bytes Peak");
  EXPECT_EQ(Trimmed(Lines[3]), "a-very-long-process-name-here   1.0                 1000");
  EXPECT_EQ(Trimmed(Lines[5]), "");
  EXPECT_EQ(Trimmed(Lines[6]), "_Total                          9.0                99999");
  EXPECT_EQ(Trimmed(Lines[7]), "status");
  // The sorted column's caption is underlined.
  EXPECT_NE(Screen.find("\x1b[4mTask name"), std::string::npos);
}

TEST(TopScreen, NarrowsLongNamesThenCaptionsThenNamesAgainAndLeavesOutWhatDoesNotFit) {
  const auto Lines = [](int Width) { return Shown(RenderFrame(Frame(3), {Width, 8}, {}, "~")); };
  EXPECT_EQ(Trimmed(Lines(45)[1]), "Task name                CPU % Page File Byt~");
  EXPECT_EQ(Trimmed(Lines(45)[3]), "a-very-long-process-nam~   1.0           1000");
  EXPECT_EQ(Trimmed(Lines(30)[1]), "Task name         CPU % Page ~");
  EXPECT_EQ(Trimmed(Lines(30)[3]), "a-very-long-proc~   1.0   1000");
  // Twelve characters of name and the processor time; the last column would not fit whole.
  EXPECT_EQ(Trimmed(Lines(20)[3]), "a-very-long~   1.0");
  EXPECT_EQ(Trimmed(Lines(20)[6]), "_Total         9.0");
  EXPECT_EQ(Trimmed(Lines(5)[0]), "head~");
}

// A name of wide characters is padded and cut by the columns it takes, never in the
// middle of a character.
TEST(TopScreen, FitsWideNamesByTheColumnsTheyTake) {
  TTopFrame Wide = Frame(3);
  const std::string Ideographs = "\xe8\xbf\x9b\xe7\xa8\x8b\xe6\xb5\x8b\xe8\xaf\x95";  // 8 columns
  Wide.Rows[0][0] = Ideographs;
  Wide.Rows[2][0] = Ideographs + Ideographs + Ideographs + Ideographs;
  for (const int Width : {80, 45, 30}) {
    const TLines Lines = Shown(RenderFrame(Wide, {Width, 8}, {}, "~"));
    for (const std::string& Line : Lines)
      EXPECT_EQ(DisplayWidth(Line), static_cast<std::size_t>(Width)) << Line;
    // The processor time ends in the same column on every line.
    const std::size_t End = Lines[1].find("CPU %") + 5;
    for (const std::size_t Row : {2, 3, 4})
      EXPECT_EQ(DisplayWidth(Lines[Row].substr(0, Lines[Row].find("1.0") + 3)), End) << Lines[Row];
  }
  // Cut to 24 columns: a twelfth ideograph would leave no column for the marker, so
  // eleven, the marker and a pad.
  const TLines Narrow = Shown(RenderFrame(Wide, {45, 8}, {}, "~"));
  EXPECT_EQ(Narrow[4].substr(0, Narrow[4].find('~') + 2),
            Wide.Rows[2][0].substr(0, 11 * 3) + "~ ");
}

TEST(TopScreen, ShowsTheRowsOfTheViewport) {
  const TTopFrame Thirty = Frame(30);
  EXPECT_EQ(VisibleRowCount({40, 8}, true), 4u);
  const TLines Lines = Shown(RenderFrame(Thirty, {40, 8}, {10, 1}, "~"));
  ASSERT_EQ(Lines.size(), 8u);
  // Scrolled one column sideways: the name stays, the processor time is out of view.
  EXPECT_EQ(Trimmed(Lines[1]), "Task name                Page File Byte~");
  EXPECT_EQ(Trimmed(Lines[2]).substr(0, 3), "r10");
  EXPECT_EQ(Trimmed(Lines[5]).substr(0, 3), "r13");
  EXPECT_EQ(Trimmed(Lines[6]).substr(0, 6), "_Total");
  // A screen too small for rows keeps the header and the status line.
  EXPECT_EQ(Shown(RenderFrame(Thirty, {40, 2}, {}, "~")).size(), 2u);
  EXPECT_EQ(Trimmed(Shown(RenderFrame(Thirty, {40, 2}, {}, "~"))[1]), "status");
}

// What a console that follows no escape sequences is given: the lines as shown.
TEST(TopScreen, LinesWithoutEscapesAreTheLinesShown) {
  for (const TTerminalSize Size :
       {TTerminalSize{80, 8}, TTerminalSize{20, 8}, TTerminalSize{40, 2}}) {
    const std::string Screen = RenderFrame(Frame(30), Size, {}, "~");
    EXPECT_EQ(ScreenLines(Screen), Shown(Screen)) << Size.Columns << " x " << Size.Rows;
  }
  EXPECT_EQ(ScreenLines("a\x1b[1;3Hb\r\n\x1b[7"), (TLines{"ab", ""}));
  EXPECT_EQ(ScreenLines("\x1b"), TLines{""});
}

}  // namespace
