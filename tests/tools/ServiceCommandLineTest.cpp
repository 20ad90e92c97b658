// The command line of the installed service, as the program's own parser reads it back.
#include <gtest/gtest.h>

#include "ServiceCommandLine.h"

namespace gaugery::cli {
namespace {

TEST(ServiceCommandLine, QuotesOnlyWhatNeedsIt) {
  EXPECT_EQ(QuotedArgument("--listen"), "--listen");
  EXPECT_EQ(QuotedArgument("C:\\dir\\token"), "C:\\dir\\token") << "backslashes alone stay";
  EXPECT_EQ(QuotedArgument(""), "\"\"") << "an empty argument is kept";
  EXPECT_EQ(QuotedArgument("C:\\Program Files\\token"), "\"C:\\Program Files\\token\"");
  EXPECT_EQ(QuotedArgument("tab\there"), "\"tab\there\"");
}

TEST(ServiceCommandLine, EscapesQuotesAndTheBackslashesBeforeThem) {
  EXPECT_EQ(QuotedArgument("say \"hi\""), "\"say \\\"hi\\\"\"");
  EXPECT_EQ(QuotedArgument("a\\\"b"), "\"a\\\\\\\"b\"") << "a backslash before a quote doubles";
  // Unescaped, the closing quote would read as an escaped one.
  EXPECT_EQ(QuotedArgument("C:\\my dir\\"), "\"C:\\my dir\\\\\"");
  EXPECT_EQ(QuotedArgument("a b\\\\"), "\"a b\\\\\\\\\"");
}

TEST(ServiceCommandLine, QuotesTheProgramAlways) {
  EXPECT_EQ(ServiceCommandLine("C:\\Program Files\\Gaugery\\gaugery.exe",
                               {"serve", "--service", "--token", "C:\\my token"}),
            "\"C:\\Program Files\\Gaugery\\gaugery.exe\" serve --service --token \"C:\\my token\"");
  EXPECT_EQ(ServiceCommandLine("C:\\gaugery.exe", {}), "\"C:\\gaugery.exe\"");
}

}  // namespace
}  // namespace gaugery::cli
