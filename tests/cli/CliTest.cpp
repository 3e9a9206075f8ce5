#include <gtest/gtest.h>

#include "support/RunProcess.h"

namespace zentrix::test {
namespace {

TEST(CliTest, HelpVersionAndUsageErrors) {
  TProcessResult r = RunCli({"--help"});
  EXPECT_EQ(r.ExitCode, 0);
  EXPECT_NE(r.Out.find("duration SECONDS"), std::string::npos);

  r = RunCli({"--version"});
  EXPECT_EQ(r.ExitCode, 0);
  EXPECT_EQ(r.Out.rfind("zentrix-cli ", 0), 0u);

  struct TUsageCase {
    std::vector<std::string> Args;
  };
  const TUsageCase usage[] = {{{}}, {{"no-such-command"}}, {{"duration"}}, {{"duration", "x"}},
                              {{"duration", "1", "2"}}, {{"duration", "-1"}}};
  for (const TUsageCase& c : usage) {
    r = RunCli(c.Args);
    EXPECT_EQ(r.ExitCode, 2) << ::testing::PrintToString(c.Args);
    EXPECT_TRUE(r.Out.empty());
    // One line on stderr.
    ASSERT_FALSE(r.Err.empty());
    EXPECT_EQ(r.Err.find('\n'), r.Err.size() - 1) << r.Err;
  }
}

TEST(CliTest, Duration) {
  const TProcessResult r = RunCli({"duration", "90061"});
  EXPECT_EQ(r.ExitCode, 0);
  EXPECT_EQ(r.Out, "00.00.01 01:01:01\n");
}

}  // namespace
}  // namespace zentrix::test
