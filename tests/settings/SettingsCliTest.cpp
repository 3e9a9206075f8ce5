#include <gtest/gtest.h>

#include "support/RunProcess.h"
#include "support/TempDir.h"

namespace zentrix::test {
namespace {

// The commands on a private home: XDG folders in a temporary folder.
class SettingsCliTest : public ::testing::Test {
protected:
  TProcessResult Cli(const std::vector<std::string>& args, const std::string& lang = "C") const {
    return RunCli(args, {},
                  {{"XDG_DATA_HOME", (FHome.Path() / "data").string()},
                   {"XDG_CONFIG_HOME", (FHome.Path() / "config").string()},
                   {"LC_ALL", ""}, {"LC_MESSAGES", ""}, {"LANG", lang}});
  }
  std::filesystem::path DataFolder() const { return FHome.Path() / "data" / "Valtri" / "Zentrix"; }

  TTempDir FHome;
};

TEST_F(SettingsCliTest, GetAndSetByKind) {
  struct TStep {
    std::vector<std::string> Args;
    int Exit;
    std::string Out;
  };
  const TStep steps[] = {
      {{"settings", "get", "主要\\WRI"}, 0, "60\n"},  // default before any file exists
      {{"settings", "get", "主要\\DT"}, 0, "true\n"},
      {{"settings", "get", "主要\\acDeskExp_ShortCut"}, 0, "49228\n"},
      {{"settings", "set", "主要\\WRI", "30"}, 0, ""},
      {{"settings", "set", "主要\\DT", "N"}, 0, ""},
      {{"settings", "set", "主要\\EDT", "2012-04-01T06:00"}, 0, ""},
      {{"settings", "set", "主要\\EN", "生日"}, 0, ""},
      {{"settings", "set", "计算器\\Mode", "1"}, 0, ""},
      {{"settings", "get", "主要\\WRI"}, 0, "30\n"},
      {{"settings", "get", "主要\\DT"}, 0, "false\n"},
      {{"settings", "get", "主要\\EDT"}, 0, "41000.25\n"},
      {{"settings", "get", "主要\\EN"}, 0, "生日\n"},
      {{"settings", "get", "计算器\\Mode"}, 0, "1\n"},
      {{"settings", "get", "计算器\\Absent"}, 1, ""},
      {{"settings", "set", "主要\\WRI", "often"}, 1, ""},
      {{"settings", "set", "主要\\EDT", "someday"}, 2, ""},
      {{"settings", "put", "主要\\WRI", "1"}, 2, ""},
      {{"settings", "get"}, 2, ""},
      {{"settings", "get", "主要\\"}, 2, ""},
  };
  for (const TStep& s : steps) {
    const TProcessResult r = Cli(s.Args);
    EXPECT_EQ(r.ExitCode, s.Exit) << ::testing::PrintToString(s.Args) << r.Err;
    EXPECT_EQ(r.Out, s.Out) << ::testing::PrintToString(s.Args);
  }
  const std::string disk = TTempDir::Read(DataFolder() / "Zentrix.ini");
  EXPECT_EQ(disk, "[主要]\nWRI=30\nDT=错误的\nEDT=00000000004028A00E40\nEN=生日\n[计算器]\nMode=1\n");
}

TEST_F(SettingsCliTest, BadStoredValueIsAnError) {
  FHome.Write("data/Valtri/Zentrix/Zentrix.ini", "[主要]\nWRI=sixty\n");
  const TProcessResult r = Cli({"settings", "get", "主要\\WRI"});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("\"sixty\" is not a valid integer value for 主要\\WRI"), std::string::npos) << r.Err;
}

TEST_F(SettingsCliTest, PathsShowsTheFilesAndLanguages) {
  const TProcessResult r = Cli({"paths"}, "cs_CZ.UTF-8");
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  const std::string data = DataFolder().string();
  for (const std::string& line :
       {"data folder:     " + data + "/ (not there yet)\n", "settings file:   " + data + "/Zentrix.ini",
        "day-names file:  " + data + "/Zentrix.dat",
        "autostart entry: " + (FHome.Path() / "config/autostart/Valtri-Zentrix.desktop").string(),
        std::string("language:        cs\n"), std::string("Zentrix.zh.lng\n")})
    EXPECT_NE(r.Out.find(line), std::string::npos) << line << "\n" << r.Out;
  EXPECT_NE(Cli({"paths"}, "xx_YY").Out.find("language:        en\n"), std::string::npos);
}

TEST_F(SettingsCliTest, DayNameFromTheDataFolderOrTheShippedFile) {
  struct TCase {
    std::vector<std::string> Args;
    std::string Lang;
    std::string Out;
  };
  const TCase before[] = {
      {{"dayname", "2013-03-19"}, "cs_CZ.UTF-8", "Josef\n"},
      {{"dayname", "2013-03-02"}, "C", "Day 62\n"},
      {{"dayname", "2013-12-25"}, "en_GB.UTF-8", "Christmas Day\n"},
      {{"dayname", "2013-03-02", "--lang", "cs"}, "C", "Anežka\n"},
      {{"dayname", "2013-03-02", "--lang", "zh"}, "C", "日 62\n"},  // no zh names: fallback in Chinese
  };
  for (const TCase& c : before) EXPECT_EQ(Cli(c.Args, c.Lang).Out, c.Out) << ::testing::PrintToString(c.Args);

  FHome.Write("data/Valtri/Zentrix/Zentrix.dat", "1=Mine\n");
  EXPECT_EQ(Cli({"dayname", "2013-01-01"}, "cs_CZ.UTF-8").Out, "Mine\n");
  EXPECT_EQ(Cli({"dayname", "2013-01-02"}, "cs_CZ.UTF-8").Out, "Den 2\n");

  for (const auto& args : {std::vector<std::string>{"dayname"}, {"dayname", "tomorrow"},
                           {"dayname", "2013-01-01", "--lang", "../x"}})
    EXPECT_EQ(Cli(args).ExitCode, 2) << ::testing::PrintToString(args);
}

}  // namespace
}  // namespace zentrix::test
