#include <gtest/gtest.h>

#include "Fixtures.h"
#include "core/Clock.h"
#include "support/TempDir.h"
#include "sysinfo/QDX_OS.h"
#include "sysinfo/SysText.h"
#include "sysinfo/TZif.h"

namespace zentrix {
namespace {

using test::SysFixture;
using test::TTempDir;

std::string Zone(const std::string& name) { return *systext::ReadFile(SysFixture("zoneinfo/" + name)); }

TEST(TZifTest, ReadsVersionTwoWithRule) {
  const TTZif z = ParseTZif(Zone("Europe/Prague"));
  EXPECT_EQ(z.Version, 2);
  EXPECT_EQ(z.Footer, "CET-1CEST,M3.5.0,M10.5.0/3");
  ASSERT_EQ(z.Types.size(), 2u);
  EXPECT_EQ(z.Types[1].Abbreviation, "CEST");
  EXPECT_EQ(z.Types[1].UtOffset, 7200);
  EXPECT_TRUE(z.Types[1].IsDst);
  EXPECT_EQ(z.Transitions, (std::vector<std::int64_t>{1364691600, 1382835600}));
}

TEST(TZifTest, ReadsVersionOneWithoutRule) {
  const TTZif z = ParseTZif(Zone("Test/Version1"));
  EXPECT_EQ(z.Version, 1);
  EXPECT_EQ(z.Footer, "");
  EXPECT_EQ(z.Types[1].Abbreviation, "IST");
}

TEST(TZifTest, EveryTruncationIsAnError) {
  const std::string whole = Zone("Europe/Prague");
  for (std::size_t size = 0; size < whole.size(); ++size)
    EXPECT_THROW(ParseTZif(whole.substr(0, size)), ETimeZone) << size;
}

TEST(TZifTest, DamagedFieldsAreErrors) {
  const std::string whole = Zone("Europe/Prague");
  struct TDamage {
    const char* Name;
    std::size_t Offset;
    char Byte;
  };
  // The version-1 block starts at 44: two transitions (8 bytes), two type indices, two types.
  const TDamage damages[] = {{"Magic", 0, 'X'},        {"Version", 4, '7' + 10}, {"TypeCountZero", 39, 0},
                             {"TypeIndex", 52, 5},     {"DaylightFlag", 58, 2},  {"AbbreviationIndex", 59, 40},
                             {"TransitionOrder", 44, '\x7f'}};
  for (const TDamage& d : damages) {
    std::string bytes = whole;
    bytes[d.Offset] = d.Byte;
    EXPECT_THROW(ParseTZif(bytes), ETimeZone) << d.Name;
  }
}

struct TPosixCase {
  const char* Name;
  const char* Rule;
  const char* Std;
  std::int32_t StdOffset;
  const char* Dst;
  std::int32_t DstOffset;
  bool HasRules;
};

class PosixTZTest : public ::testing::TestWithParam<TPosixCase> {};

TEST_P(PosixTZTest, Parses) {
  const TPosixTZ tz = ParsePosixTZ(GetParam().Rule);
  EXPECT_EQ(tz.StdName, GetParam().Std);
  EXPECT_EQ(tz.StdOffset, GetParam().StdOffset);
  EXPECT_EQ(tz.DstName, GetParam().Dst);
  EXPECT_EQ(tz.DstOffset, GetParam().DstOffset);
  EXPECT_EQ(tz.HasRules, GetParam().HasRules);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, PosixTZTest,
    ::testing::Values(TPosixCase{"CentralEurope", "CET-1CEST,M3.5.0,M10.5.0/3", "CET", -3600, "CEST", -7200, true},
                      TPosixCase{"NoDaylight", "JST-9", "JST", -32400, "", 0, false},
                      TPosixCase{"QuotedWithMinutes", "<+0330>-3:30", "+0330", -12600, "", 0, false},
                      TPosixCase{"ExplicitDstOffset", "<-03>3<-02>2,M3.5.0/-2,M10.5.0/-1", "-03", 10800, "-02", 7200, true},
                      TPosixCase{"LongTransitionHours", "IST-2IDT,M3.4.4/26,M10.5.0", "IST", -7200, "IDT", -10800, true},
                      TPosixCase{"JulianDays", "XXX3YYY,J60/2,300/2:30", "XXX", 10800, "YYY", 7200, true}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(PosixTZTest, RejectsBadRules) {
  for (const char* bad : {"", "C-1", "CET", "CET-1CEST,M13.1.0,M10.5.0", "CET-1CEST,M3.5.0", "CET-25",
                          "CET-1CEST,M3.6.0,M10.5.0", "CET-1CEST,M3.5.7,M10.5.0", "CET-1CEST,J0,J365", "CET-1CEST,366,1",
                          "<CET-1", "CET-1CEST,M3.5.0/168,M10.5.0", "CET-1 trailing"})
    EXPECT_THROW(ParsePosixTZ(bad), ETimeZone) << bad;
}

struct TTransitionCase {
  const char* Name;
  const char* Rule;
  int Year;
  TDateParts Start, End;
};

class PosixTransitionTest : public ::testing::TestWithParam<TTransitionCase> {};

TEST_P(PosixTransitionTest, FindsTheDates) {
  const TPosixTZ tz = ParsePosixTZ(GetParam().Rule);
  EXPECT_NEAR(PosixTransition(tz.Start, GetParam().Year), EncodeDateTime(GetParam().Start), 1e-9);
  EXPECT_NEAR(PosixTransition(tz.End, GetParam().Year), EncodeDateTime(GetParam().End), 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Years, PosixTransitionTest,
    ::testing::Values(
        // The last Sunday of March at 2:00.
        TTransitionCase{"LastSundayOfMarch2013", "CET-1CEST,M3.5.0,M10.5.0/3", 2013, {2013, 3, 31, 2}, {2013, 10, 27, 3}},
        TTransitionCase{"LastSundayOfMarch2014", "CET-1CEST,M3.5.0,M10.5.0/3", 2014, {2014, 3, 30, 2}, {2014, 10, 26, 3}},
        TTransitionCase{"HoursPastMidnight", "IST-2IDT,M3.4.4/26,M10.5.0", 2013, {2013, 3, 29, 2}, {2013, 10, 27, 2}},
        TTransitionCase{"NegativeTime", "<-03>3<-02>,M3.5.0/-2,M10.5.0/-1", 2013, {2013, 3, 30, 22}, {2013, 10, 26, 23}},
        TTransitionCase{"JulianSkipsLeapDay", "XXX3YYY,J60/2,60/2", 2012, {2012, 3, 1, 2}, {2012, 3, 1, 2}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(TimeZoneTest, ZoneWithDaylightSaving) {
  const TFixedClock clock(EncodeDateTime({2013, 6, 1, 12, 0, 0, 0}));
  TValtri_TimeZone zone(SysFixture("desktop"), std::nullopt, clock);
  zone.RefreshData();
  EXPECT_EQ(zone.DisplayName(), "Europe/Prague");
  EXPECT_EQ(zone.StandardName(), "CET");
  EXPECT_EQ(zone.DaylightName(), "CEST");
  EXPECT_EQ(zone.Bias(), -60);
  EXPECT_EQ(zone.StandardBias(), -60);
  EXPECT_EQ(zone.DaylightBias(), -120);
  EXPECT_NEAR(zone.DaylightStart(), EncodeDateTime({2013, 3, 31, 2, 0, 0, 0}), 1e-9);
  EXPECT_NEAR(zone.StandardStart(), EncodeDateTime({2013, 10, 27, 3, 0, 0, 0}), 1e-9);
}

TEST(TimeZoneTest, ZoneWithoutDaylightSavingNamedInEtcTimezone) {
  TValtri_TimeZone zone(SysFixture("laptop"));
  zone.RefreshData();
  EXPECT_EQ(zone.DisplayName(), "Asia/Tokyo");
  EXPECT_EQ(zone.StandardName(), "JST");
  EXPECT_EQ(zone.DaylightName(), "JST");
  EXPECT_EQ(zone.Bias(), -540);
  EXPECT_EQ(zone.StandardBias(), 0);
  EXPECT_EQ(zone.DaylightBias(), 0);
  EXPECT_EQ(zone.DaylightStart(), 0);
  EXPECT_EQ(zone.StandardStart(), 0);
}

struct TTZCase {
  const char* Name;
  const char* TZ;
  const char* Display;
  std::int32_t Bias;
  double DaylightStart;
};

class TimeZoneFromTZTest : public ::testing::TestWithParam<TTZCase> {};

TEST_P(TimeZoneFromTZTest, Reads) {
  const TFixedClock clock(EncodeDate(2013, 1, 1));
  TValtri_TimeZone zone(SysFixture("desktop"), std::string(GetParam().TZ), clock);
  zone.RefreshData();
  EXPECT_EQ(zone.DisplayName(), GetParam().Display);
  EXPECT_EQ(zone.Bias(), GetParam().Bias);
  EXPECT_NEAR(zone.DaylightStart(), GetParam().DaylightStart, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Values, TimeZoneFromTZTest,
    ::testing::Values(TTZCase{"ZoneName", "Asia/Tokyo", "Asia/Tokyo", -540, 0},
                      TTZCase{"ColonZoneName", ":Europe/Prague", "Europe/Prague", -60, EncodeDate(2013, 3, 31) + 2.0 / 24},
                      TTZCase{"RuleItself", "EST5EDT,M3.2.0,M11.1.0", "EST5EDT,M3.2.0,M11.1.0", 300,
                              EncodeDate(2013, 3, 10) + 2.0 / 24},
                      TTZCase{"VersionOneFile", "/usr/share/zoneinfo/Test/Version1", "Test/Version1", -330, 0},
                      TTZCase{"EmptyMeansLocaltime", "", "Europe/Prague", -60, EncodeDate(2013, 3, 31) + 2.0 / 24}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(TimeZoneTest, DamagedZoneFileIsAnError) {
  TTempDir root;
  root.Write("etc/localtime", Zone("Europe/Prague").substr(0, 60));
  TValtri_TimeZone zone(root.Path().string());
  EXPECT_THROW(zone.RefreshData(), ETimeZone);
}

TEST(TimeZoneTest, NoZoneFileRunsOnUtc) {
  TTempDir root;
  TValtri_TimeZone zone(root.Path().string());
  zone.RefreshData();
  EXPECT_EQ(zone.DisplayName(), "UTC");
  EXPECT_EQ(zone.Bias(), 0);
}

TEST(TimeZoneTest, ZoneNamesCannotLeaveTheZoneFolder) {
  TValtri_TimeZone zone(SysFixture("desktop"), std::string("../../laptop/etc/localtime"));
  EXPECT_THROW(zone.RefreshData(), ETimeZone);  // taken as a rule, and no valid one
}

}  // namespace
}  // namespace zentrix
