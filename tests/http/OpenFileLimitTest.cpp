// The open-file limit the server raises at start.
#include "http/OpenFileLimit.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace gaugery::test {
namespace {

#ifndef _WIN32
TEST(OpenFileLimit, TheSoftLimitIsRaisedToTheHardOne) {
  rlimit Limit{};
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &Limit), 0);
  if (Limit.rlim_max < 64) GTEST_SKIP() << "a hard limit too low to lower the soft one";
  const rlim_t Hard = Limit.rlim_max;
  Limit.rlim_cur = 32;
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &Limit), 0);
  EXPECT_EQ(http::RaiseOpenFileLimit(), Hard);
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &Limit), 0);
  EXPECT_EQ(Limit.rlim_cur, Hard);
  EXPECT_EQ(http::RaiseOpenFileLimit(), Hard) << "already there";
}
#endif

}  // namespace
}  // namespace gaugery::test
