// The keys decoded from what terminals send.
#include "KeyInput.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using namespace gaugery::cli;

using Keys = std::vector<TKeyPress>;

TKeyPress Char(const std::string& Text) { return {TKey::Char, Text}; }
Keys One(TKey Key) { return {{Key, ""}}; }

TEST(KeyDecoder, DecodesTheSequencesOfCommonTerminals) {
  const std::vector<std::pair<std::string, TKey>> Sequences = {
      {"\x1b[A", TKey::Up},       {"\x1bOB", TKey::Down},    {"\x1b[1;5C", TKey::Right},
      {"\x1b[D", TKey::Left},     {"\x1b[5~", TKey::PageUp}, {"\x1b[6~", TKey::PageDown},
      {"\x1b[H", TKey::Home},     {"\x1bOH", TKey::Home},    {"\x1b[1~", TKey::Home},
      {"\x1b[7~", TKey::Home},    {"\x1b[F", TKey::End},     {"\x1b[4~", TKey::End},
      {"\x1b[8~", TKey::End},     {"\r", TKey::Enter},       {"\n", TKey::Enter},
      {"\x7f", TKey::Backspace},  {"\b", TKey::Backspace},   {"\x1b[3~", TKey::Other},
      {"\x1b[200~", TKey::Other}, {"\x1bOP", TKey::Other},   {"\x01", TKey::Other}};
  for (const auto& [Bytes, Key] : Sequences) {
    TKeyDecoder Decoder;
    EXPECT_EQ(Decoder.Feed(Bytes), One(Key)) << "sequence of " << Bytes.size() << " bytes";
    EXPECT_FALSE(Decoder.Pending());
  }
}

TEST(KeyDecoder, WaitsForTheRestOfAKeyAndTakesALoneEscapeAsTheKey) {
  TKeyDecoder Decoder;
  EXPECT_EQ(Decoder.Feed("q\x1b["), Keys{Char("q")});
  EXPECT_TRUE(Decoder.Pending());
  EXPECT_EQ(Decoder.Feed("6~/"), (Keys{{TKey::PageDown, ""}, Char("/")}));

  EXPECT_EQ(Decoder.Feed("\x1b"), Keys{});
  EXPECT_EQ(Decoder.FlushPending(), One(TKey::Escape));
  EXPECT_EQ(Decoder.Feed("\x1bq"), (Keys{{TKey::Escape, ""}, Char("q")}));

  EXPECT_EQ(Decoder.Feed("\xc3"), Keys{});
  EXPECT_EQ(Decoder.Feed("\xa4\xe2\x82\xac"), (Keys{Char("\xc3\xa4"), Char("\xe2\x82\xac")}));
  // Bytes that start no character, or a character cut short, are no text.
  EXPECT_EQ(Decoder.Feed("\xff\xe2\x82"), One(TKey::Other));
  EXPECT_EQ(Decoder.FlushPending(), One(TKey::Other));
  EXPECT_EQ(Decoder.Feed("\xe2x"), (Keys{{TKey::Other, ""}, Char("x")}));
  EXPECT_FALSE(Decoder.Pending());
}

// Key-down events of a Windows console: virtual-key code and character.
TEST(ConsoleKeys, TellCharactersFromTheCursorAndPagingKeys) {
  constexpr gaugery::WORD VkA = 0x41, VkUp = 0x26, VkDown = 0x28, VkPrior = 0x21, VkEnd = 0x23,
                          VkShift = 0x10;
  EXPECT_EQ(ConsoleKeyPress(VkA, u'q'), Char("q"));
  EXPECT_EQ(ConsoleKeyPress(0xDE, u'\u00e4'), Char("\xc3\xa4"));
  EXPECT_EQ(ConsoleKeyPress(VkUp, 0), One(TKey::Up)[0]);
  EXPECT_EQ(ConsoleKeyPress(VkDown, 0), One(TKey::Down)[0]);
  EXPECT_EQ(ConsoleKeyPress(VkPrior, 0), One(TKey::PageUp)[0]);
  EXPECT_EQ(ConsoleKeyPress(VkEnd, 0), One(TKey::End)[0]);
  EXPECT_EQ(ConsoleKeyPress(0x0D, u'\r'), One(TKey::Enter)[0]);
  EXPECT_EQ(ConsoleKeyPress(0x1B, 0x1B), One(TKey::Escape)[0]);
  EXPECT_EQ(ConsoleKeyPress(0x08, u'\b'), One(TKey::Backspace)[0]);
  EXPECT_EQ(ConsoleKeyPress(VkShift, 0), One(TKey::Other)[0]);
  // Half of a character beyond the first plane, and Ctrl with a letter, type no text.
  EXPECT_EQ(ConsoleKeyPress(0, 0xD83D), One(TKey::Other)[0]);
  EXPECT_EQ(ConsoleKeyPress(VkA, 0x01), One(TKey::Other)[0]);
}

}  // namespace
