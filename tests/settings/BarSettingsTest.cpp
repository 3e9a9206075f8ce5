#include <gtest/gtest.h>

#include "settings/BarSettings.h"
#include "settings/WindowPlacement.h"
#include "support/TempDir.h"

namespace zentrix {
namespace {

class BarSettingsTest : public ::testing::Test {
protected:
  std::filesystem::path File() const { return FDir.Path() / "Zentrix.ini"; }
  test::TTempDir FDir;
};

TEST_F(BarSettingsTest, FirstStartGivesTheDefaults) {
  TSettingsStore store(File());
  TBarSettings s;
  RestoreBarSettings(store, s);
  EXPECT_EQ(s, TBarSettings{});
  EXPECT_TRUE(s.DT);   // ticker shown
  EXPECT_FALSE(s.AH);  // no auto hide
  EXPECT_TRUE(s.BL);   // bold labels
  EXPECT_EQ(s.WRI, 60);
  EXPECT_EQ(s.RRI, 15);
  EXPECT_EQ(s.RFC, 10930928);
  EXPECT_EQ(s.WL, "Prague,CZ");
  EXPECT_EQ(s.RSS.rfind("https://", 0), 0u);
  EXPECT_EQ(s.ShortCuts[2], 49228);  // acDeskExp, Ctrl+Alt+L
}

TEST_F(BarSettingsTest, SavedSettingsSurviveARestart) {
  TBarSettings s;
  s.BL = false, s.AH = true, s.WL = "Brno,CZ", s.WSU = 1, s.TU = 1, s.WRI = 0, s.ST = 250, s.SE = true;
  s.DF = 1, s.RSS = "http://example.org/rss.xml", s.DT = false, s.RRI = 5, s.RSI = 20, s.RFC = 255;
  s.EC = true, s.EN = "Výročí 周年", s.EDT = 41000.75;
  s.ShortCuts[9] = 0x4000 | 0x2000 | 'Q';  // a spreadsheet shortcut set in the preferences
  {
    TSettingsStore store(File());
    SaveBarSettings(store, s);
    store.Flush();
  }
  TSettingsStore store(File());
  TBarSettings back;
  RestoreBarSettings(store, back);
  EXPECT_EQ(back, s);
  const std::string disk = test::TTempDir::Read(File());
  EXPECT_NE(disk.find("[主要]\nBL=错误的\nAH=真的\nWL=Brno,CZ\n"), std::string::npos) << disk;
  EXPECT_NE(disk.find("acSpreadsheet_ShortCut=24657\n"), std::string::npos) << disk;
  EXPECT_NE(disk.find("EDT=0000000000C028A00E40"), std::string::npos) << disk;
}

TEST_F(BarSettingsTest, BadValueStopsTheRestoreThere) {
  FDir.Write("Zentrix.ini", "[主要]\nBL=N\nWL=Oslo,NO\nWSU=km\nTU=1\n");
  TSettingsStore store(File());
  TBarSettings s;
  EXPECT_THROW(RestoreBarSettings(store, s), ESettingsError);
  EXPECT_FALSE(s.BL);           // before the bad key: restored
  EXPECT_EQ(s.WL, "Oslo,NO");
  EXPECT_EQ(s.WSU, 0);          // the bad key keeps its value
  EXPECT_EQ(s.TU, 0);           // after it: not read
}

TEST(BarSettingsUnitsTest, UnitsFollowTheSettings) {
  EXPECT_EQ(WindSpeedUnit(0), "km/h");
  EXPECT_EQ(WindSpeedUnit(2), "mph");
  EXPECT_EQ(TemperatureUnit(0), "°C");
  EXPECT_EQ(TemperatureUnit(-1), "F");
}

struct TPlacementCase {
  const char* Name;
  std::string_view StoragePath;
};

class PlacementTest : public ::testing::TestWithParam<TPlacementCase> {};

TEST_P(PlacementTest, KeysLandInTheWindowSectionAndComeBack) {
  test::TTempDir dir;
  const std::filesystem::path file = dir.Path() / "Zentrix.ini";
  TWindowPlacement p;
  p.ShowCmd = 3, p.Flags = 2, p.PixelsPerInch = 120;
  p.MinPosX = -32000, p.MinPosY = -32000, p.MaxPosX = -8, p.MaxPosY = -8;
  p.Left = 100, p.Top = 50, p.Right = 740, p.Bottom = 530;
  {
    TSettingsStore store(file);
    SavePlacement(store, GetParam().StoragePath, p);
    store.Flush();
  }
  const std::string section = PlacementSection(GetParam().StoragePath);
  EXPECT_NE(test::TTempDir::Read(file).find("[" + section +
                                           "]\nFormVersion=0\nShowCmd=3\nFlags=2\nPixelsPerInch=120\n"
                                           "MinMaxPos=-32000,-32000,-8,-8\nNormPos=100,50,740,530\n"),
            std::string::npos);
  TSettingsStore store(file);
  EXPECT_EQ(RestorePlacement(store, GetParam().StoragePath), p);
}

INSTANTIATE_TEST_SUITE_P(Windows, PlacementTest,
                         ::testing::Values(TPlacementCase{"Bar", kBarSection},
                                           TPlacementCase{"CalculatorWithBackslash", kCalculatorStoragePath},
                                           TPlacementCase{"Calendar", kCalendarStoragePath},
                                           TPlacementCase{"Notepad", kNotepadStoragePath},
                                           TPlacementCase{"Weather", kWeatherStoragePath}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(PlacementRestoreTest, MissingOldOrBrokenPlacements) {
  test::TTempDir dir;
  dir.Write("Zentrix.ini",
            "[日历]\nFormVersion=-1\nNormPos=1,2,3,4\n"
            "[记事本]\nShowCmd=1\n"
            "[RSS]\nNormPos=1,2,3\n"
            "[Weather]\nNormPos=1,2,x,4\n"
            "[ASCII表]\nNormPos= 1, 2, 3, 4\n");
  TSettingsStore store(dir.Path() / "Zentrix.ini");
  EXPECT_EQ(RestorePlacement(store, "日历"), std::nullopt);   // a version below 0 is ignored
  EXPECT_EQ(RestorePlacement(store, "记事本"), std::nullopt);  // no position stored
  EXPECT_EQ(RestorePlacement(store, "编码工具"), std::nullopt);
  EXPECT_THROW(RestorePlacement(store, "RSS\\"), ESettingsError);
  EXPECT_THROW(RestorePlacement(store, "Weather\\"), ESettingsError);
  const auto ascii = RestorePlacement(store, "ASCII表");
  ASSERT_TRUE(ascii);
  EXPECT_EQ(ascii->Right, 3);
}

}  // namespace
}  // namespace zentrix
