// Text written to a Windows console is converted in pieces: a piece must never end inside
// a UTF-8 sequence, or the character would be lost between two conversions.
#include "ConsoleText.h"

#include <gtest/gtest.h>

namespace {

using gaugery::cli::CompleteUtf8Length;

TEST(ConsoleText, AConversionStopsBeforeAnIncompleteSequence) {
  EXPECT_EQ(CompleteUtf8Length(""), 0u);
  EXPECT_EQ(CompleteUtf8Length("plain"), 5u);
  // "…" (three bytes) and "😀" (four), whole and cut after each of their bytes.
  EXPECT_EQ(CompleteUtf8Length("a\xe2\x80\xa6"), 4u);
  EXPECT_EQ(CompleteUtf8Length("a\xe2\x80"), 1u);
  EXPECT_EQ(CompleteUtf8Length("a\xe2"), 1u);
  EXPECT_EQ(CompleteUtf8Length("\xf0\x9f\x98\x80"), 4u);
  EXPECT_EQ(CompleteUtf8Length("\xf0\x9f\x98"), 0u);
  EXPECT_EQ(CompleteUtf8Length("Z\xc3\xa4hler\xc3"), 7u);
}

// Ill-formed bytes are not held back for ever: they go to the conversion, which replaces
// them, and the buffer cannot fill up with them.
TEST(ConsoleText, IllFormedBytesAreNotHeldBack) {
  EXPECT_EQ(CompleteUtf8Length("\x80\x80\x80\x80\x80"), 5u);
  EXPECT_EQ(CompleteUtf8Length("a\xff"), 2u);
  EXPECT_EQ(CompleteUtf8Length("a\xe2\x80\xa6\x80"), 5u);
}

}  // namespace
