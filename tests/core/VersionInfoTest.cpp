#include <gtest/gtest.h>

#include "core/BuildInfo.h"
#include "core/VersionInfo.h"
#include "platform/Environment.h"

namespace zentrix {
namespace {

TEST(VersionInfoTest, OwnFileHasTheBuildRecordOthersNone) {
  TVersionInfo info;
  ASSERT_TRUE(ReadVersionInfo(platform::ProgramPath(), info));
  EXPECT_EQ(info.CompanyName, "Valtri");
  EXPECT_EQ(info.ProductName, "Zentrix");
  EXPECT_EQ(info.FileName, platform::ProgramPath().string());
  EXPECT_EQ(info.Version, std::string(kVersion) + ".0");
  EXPECT_FALSE(info.Copyright.empty());

  EXPECT_FALSE(ReadVersionInfo("/bin/sh", info));
  EXPECT_EQ(info.FileName, "/bin/sh");
  EXPECT_TRUE(info.CompanyName.empty());
  EXPECT_FALSE(ReadVersionInfo("/no/such/file", info));
}

TEST(VersionInfoTest, VersionText) {
  struct TCase {
    std::uint16_t Major, Minor, Release, Build;
    bool PreRelease;
    const char* Expected;
  };
  const TCase cases[] = {{1, 2, 3, 4, false, "1.2.3.4"}, {2, 0, 0, 7, true, "2.0.0.7 BETA 7"},
                         {2, 0, 0, 0, true, "2.0.0.0 BETA"}};
  for (const TCase& c : cases) {
    TVersionInfo info;
    info.Major = c.Major, info.Minor = c.Minor, info.Release = c.Release, info.Build = c.Build;
    info.PreRelease = c.PreRelease;
    EXPECT_EQ(FormatVersion(info), c.Expected);
  }
}

}  // namespace
}  // namespace zentrix
