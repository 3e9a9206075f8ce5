#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "appbar/AppBarSettings.h"
#include "support/TempDir.h"

namespace zentrix {
namespace {

std::string Hex(const TAppBarSettingsBytes& bytes) {
  static const char* digits = "0123456789abcdef";
  std::string s;
  for (std::uint8_t b : bytes) {
    s += digits[b >> 4];
    s += digits[b & 15];
  }
  return s;
}

template <class TCase>
  requires requires(const TCase& c) { c.Name; }
void PrintTo(const TCase& c, std::ostream* os) {
  *os << c.Name;
}

std::string AsString(const TAppBarSettingsBytes& bytes) { return {bytes.begin(), bytes.end()}; }

TEST(AppBarSettingsRecord, DefaultsForAScreenAreTheStoredByteImage) {
  const TAppBarSettingsBytes bytes = AppBarSettingsToBytes(DefaultAppBarSettings({1024, 769}));
  EXPECT_EQ(Hex(bytes),
            "54000000"                          // cbSize 84
            "01" "1f" "00" "01" "01" "000000"   // top, all five allowed, no auto hide, on top, slide
            "90010000"                          // 400 ms
            "01000000" "01000000"               // sizing steps
            "13000000" "13000000"               // dock size 19, 19
            "00000000000000000000000000000000"  // floating rectangle
            "00000000" "00000000"               // minimum floating size
            "00040000" "01030000"               // maximum floating size: the screen
            "00000000" "00000000"               // minimum dock size
            "00020000" "80010000"               // maximum dock size: half the screen, rounded down
            "02" "00" "00" "00");               // taskbar button while floating; load, save flags
}

struct TRoundTripCase {
  const char* Name;
  std::function<void(TAppBarSettings&)> Change;
};

class AppBarSettingsRoundTrip : public testing::TestWithParam<TRoundTripCase> {};

TEST_P(AppBarSettingsRoundTrip, ReadsBackWhatItWrote) {
  TAppBarSettings s = DefaultAppBarSettings({1920, 1080});
  GetParam().Change(s);
  const auto back = AppBarSettingsFromBytes(AsString(AppBarSettingsToBytes(s)));
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(*back, s);
}

INSTANTIATE_TEST_SUITE_P(
    Records, AppBarSettingsRoundTrip,
    testing::Values(
        TRoundTripCase{"Defaults", [](TAppBarSettings&) {}},
        TRoundTripCase{"FloatingOffScreen",
                       [](TAppBarSettings& s) {
                         s.abEdge = abeFloat;
                         s.rcFloat = {-300, -20, -100, 60};
                       }},
        TRoundTripCase{"BarAsTheProgramSetsIt",
                       [](TAppBarSettings& s) {
                         s.abFlags = abfAllowTop;
                         s.bAutohide = true;
                         s.szDockSize = {37, 37};
                         s.szMinDockSize = {37, 37};
                         s.abTaskEntry = abtHide;
                         s.bSaveSettings = true;
                       }},
        TRoundTripCase{"PaddingKept",
                       [](TAppBarSettings& s) {
                         s.Pad9 = {0xAA, 0xBB, 0xCC};
                         s.Pad83 = 0xDD;
                       }},
        TRoundTripCase{"LargeValues",
                       [](TAppBarSettings& s) {
                         s.nTimerInterval = 0x7FFFFFFF;
                         s.nMaxWidth = 0x12345678;
                       }}),
    [](const auto& info) { return info.param.Name; });

struct TRejectCase {
  const char* Name;
  std::function<void(std::string&)> Spoil;
};

class AppBarSettingsRejected : public testing::TestWithParam<TRejectCase> {};

TEST_P(AppBarSettingsRejected, IsNotTakenAsARecord) {
  std::string bytes = AsString(AppBarSettingsToBytes(DefaultAppBarSettings({1024, 768})));
  GetParam().Spoil(bytes);
  EXPECT_FALSE(AppBarSettingsFromBytes(bytes).has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Records, AppBarSettingsRejected,
    testing::Values(TRejectCase{"Empty", [](std::string& b) { b.clear(); }},
                    TRejectCase{"OneByteShort", [](std::string& b) { b.pop_back(); }},
                    TRejectCase{"OneByteLong", [](std::string& b) { b.push_back('\0'); }},
                    TRejectCase{"OtherRecordSize", [](std::string& b) { b[0] = 36; }},
                    TRejectCase{"UnknownEdge", [](std::string& b) { b[4] = 6; }},
                    TRejectCase{"FlagsBeyondTheFive", [](std::string& b) { b[5] = 0x20; }},
                    TRejectCase{"AutoHideNeitherFalseNorTrue", [](std::string& b) { b[6] = 2; }},
                    TRejectCase{"NegativeSlideTime", [](std::string& b) { b[15] = '\x80'; }},
                    TRejectCase{"NegativeSizingStep", [](std::string& b) { b[19] = '\xff'; }},
                    TRejectCase{"NegativeDockHeight", [](std::string& b) { b[31] = '\xff'; }},
                    TRejectCase{"NegativeMaximumDockWidth", [](std::string& b) { b[75] = '\xff'; }},
                    TRejectCase{"UnknownTaskEntry", [](std::string& b) { b[80] = 3; }},
                    TRejectCase{"SaveFlagNeitherFalseNorTrue", [](std::string& b) { b[82] = '\xff'; }}),
    [](const auto& info) { return info.param.Name; });

TEST(AppBarSettingsFileIo, WritesWholeRecordsAndReadsOnlyValidOnes) {
  test::TTempDir dir;
  const auto file = dir.Path() / "Software" / "AppBar" / "default";
  EXPECT_FALSE(ReadAppBarSettingsFile(file).has_value()) << "missing file";

  TAppBarSettings s = DefaultAppBarSettings({800, 600});
  s.szDockSize = {40, 41};
  ASSERT_TRUE(WriteAppBarSettingsFile(file, s));
  EXPECT_EQ(std::filesystem::file_size(file), 84u);
  EXPECT_EQ(ReadAppBarSettingsFile(file), s);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(file.parent_path()), {}), 1)
      << "no temporary file left beside the record";

  dir.Write("long", std::string(AsString(AppBarSettingsToBytes(s))) + "x");
  EXPECT_FALSE(ReadAppBarSettingsFile(dir.Path() / "long").has_value());
}

TEST(AppBarSettingsFileIo, AFolderInTheWayIsAFailureNotACrash) {
  test::TTempDir dir;
  dir.Write("Software", "a file where the key's folder should be");
  EXPECT_FALSE(WriteAppBarSettingsFile(dir.Path() / "Software" / "AppBar" / "default", TAppBarSettings{}));
  std::filesystem::create_directories(dir.Path() / "record");
  EXPECT_FALSE(WriteAppBarSettingsFile(dir.Path() / "record", TAppBarSettings{})) << "the path is a folder";
  EXPECT_FALSE(ReadAppBarSettingsFile(dir.Path() / "record").has_value());
}

struct TKeyCase {
  const char* Name;
  const char* Key;
  const char* Expected;  // relative to the configuration folder; nullptr: refused
};

class AppBarSettingsKey : public testing::TestWithParam<TKeyCase> {};

TEST_P(AppBarSettingsKey, MapsToAFileUnderTheConfigurationFolder) {
  const TKeyCase& c = GetParam();
  if (!c.Expected) {
    EXPECT_THROW(AppBarSettingsFile("/home/u/.config", c.Key), EAppBarError);
    return;
  }
  EXPECT_EQ(AppBarSettingsFile("/home/u/.config", c.Key), std::filesystem::path("/home/u/.config") / c.Expected);
}

INSTANTIATE_TEST_SUITE_P(Keys, AppBarSettingsKey,
                         testing::Values(TKeyCase{"Default", "Software\\AppBar", "Software/AppBar/default"},
                                         TKeyCase{"DoubledAndOuterSeparators", "\\Software\\\\Valtri\\", "Software/Valtri/default"},
                                         TKeyCase{"Empty", "", nullptr},
                                         TKeyCase{"OnlySeparators", "\\\\", nullptr},
                                         TKeyCase{"ParentPart", "Software\\..\\..\\x", nullptr},
                                         TKeyCase{"Slash", "Software/../../x", nullptr}),
                         [](const auto& info) { return info.param.Name; });

}  // namespace
}  // namespace zentrix
