#include <gtest/gtest.h>
#include <minizip/zip.h>

#include <cstdlib>

#include "settings/Startup.h"
#include "support/TempDir.h"

namespace zentrix {
namespace {

namespace fs = std::filesystem;

class StartupTest : public ::testing::Test {
protected:
  void SetUp() override {
    const char* old = std::getenv("XDG_CONFIG_HOME");
    if (old) FOldConfig = old;
    setenv("XDG_CONFIG_HOME", (FHome.Path() / "config").c_str(), 1);
  }
  void TearDown() override {
    if (FOldConfig) setenv("XDG_CONFIG_HOME", FOldConfig->c_str(), 1);
    else unsetenv("XDG_CONFIG_HOME");
  }
  // A program folder as the build leaves it: shipped day names and an icon pack.
  void ShipFiles() {
    FProgram.Write("Zentrix.en.dat", kNames);
    zipFile zip = zipOpen64((FProgram.Path() / "Zentrix.iml").c_str(), APPEND_STATUS_CREATE);
    ASSERT_NE(zip, nullptr);
    for (const char* name : {"wsymbol_0001_sunny.png", "wsymbol_0003_white_cloud.png"}) {
      zip_fileinfo info{};
      ASSERT_EQ(zipOpenNewFileInZip(zip, name, &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 6), ZIP_OK);
      ASSERT_EQ(zipWriteInFileInZip(zip, name, 5), ZIP_OK);
      ASSERT_EQ(zipCloseFileInZip(zip), ZIP_OK);
    }
    ASSERT_EQ(zipClose(zip, nullptr), ZIP_OK);
  }
  TStartupFiles Start(const fs::path& programFolder) {
    return PrepareStartupFiles(BuildVersionInfo(), FHome.Path() / "data", programFolder, "en",
                               programFolder / "zentrix");
  }

  static constexpr const char* kNames = "1=New Year's Day\n2=\n";
  test::TTempDir FHome, FProgram, FElsewhere;
  std::optional<std::string> FOldConfig;
};

TEST_F(StartupTest, FirstStartSetsUpAFreshDataFolder) {
  ShipFiles();
  const TStartupFiles files = Start(FProgram.Path());
  const fs::path data = FHome.Path() / "data" / "Valtri" / "Zentrix" / "";
  EXPECT_EQ(files.DataFolder, data);
  EXPECT_TRUE(fs::is_directory(data));
  EXPECT_EQ(files.SettingsFile, data / "Zentrix.ini");
  EXPECT_EQ(test::TTempDir::Read(files.NamesFile), kNames);  // same bytes as shipped
  EXPECT_EQ(files.Names, (std::vector<std::string>{"1=New Year's Day", "2="}));
  EXPECT_EQ(files.IconPack.Extracted, 2);
  EXPECT_TRUE(fs::exists(data / "wsymbol_0001_sunny.png"));
  EXPECT_TRUE(files.RunsAtStartup);
  const std::string entry = test::TTempDir::Read(FHome.Path() / "config" / "autostart" / "Valtri-Zentrix.desktop");
  EXPECT_NE(entry.find("Exec=\"" + (FProgram.Path() / "zentrix").string() + "\"\n"), std::string::npos) << entry;
}

TEST_F(StartupTest, LaterStartsKeepWhatIsThere) {
  ShipFiles();
  Start(FProgram.Path());
  const fs::path data = FHome.Path() / "data" / "Valtri" / "Zentrix";
  fs::remove(data / "wsymbol_0003_white_cloud.png");
  SaveDayNames(data / "Zentrix.dat", {"1=Edited by the user"});

  // From another folder: nothing shipped there, but the data folder has it all.
  const TStartupFiles files = Start(FElsewhere.Path());
  EXPECT_EQ(files.Names, std::vector<std::string>{"1=Edited by the user"});
  EXPECT_FALSE(files.IconPack.Opened);
  EXPECT_FALSE(fs::exists(data / "wsymbol_0003_white_cloud.png"));  // the sunny symbol is there
}

TEST_F(StartupTest, StartWithoutShippedFilesShowsTheFallback) {
  const TStartupFiles files = Start(FElsewhere.Path());
  EXPECT_TRUE(fs::is_directory(files.DataFolder));
  EXPECT_TRUE(files.Names.empty());
  EXPECT_FALSE(fs::exists(files.NamesFile));
  EXPECT_FALSE(files.IconPack.Opened);
}

}  // namespace
}  // namespace zentrix
