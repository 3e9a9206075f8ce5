#include <gtest/gtest.h>

#include <limits>

#include "astro/Moon.h"
#include "astro/MoonComp.h"
#include "astro/Reckonings.h"
#include "core/InterfaceTexts.h"

namespace zentrix {
namespace {

struct TYearDateCase {
  const char* Name;
  int Year;
  const char* Date;
};
void PrintTo(const TYearDateCase& c, std::ostream* os) { *os << c.Name; }

std::string Name(const ::testing::TestParamInfo<TYearDateCase>& info) { return info.param.Name; }

class EasterTest : public ::testing::TestWithParam<TYearDateCase> {};
TEST_P(EasterTest, Date) { EXPECT_EQ(FormatIsoDate(EasterSunday(GetParam().Year)), GetParam().Date); }
INSTANTIATE_TEST_SUITE_P(Years, EasterTest,
                         ::testing::Values(TYearDateCase{"Y2013", 2013, "2013-03-31"},
                                           TYearDateCase{"Y2014", 2014, "2014-04-20"},
                                           TYearDateCase{"Y2000", 2000, "2000-04-23"},
                                           TYearDateCase{"Earliest", 1818, "1818-03-22"},
                                           TYearDateCase{"Latest", 2038, "2038-04-25"},
                                           TYearDateCase{"Exception1954", 1954, "1954-04-18"},
                                           TYearDateCase{"Exception1981", 1981, "1981-04-19"},
                                           TYearDateCase{"Exception2049", 2049, "2049-04-18"}),
                         Name);

class PassoverTest : public ::testing::TestWithParam<TYearDateCase> {};
TEST_P(PassoverTest, Date) { EXPECT_EQ(FormatIsoDate(PassoverDate(GetParam().Year)), GetParam().Date); }
INSTANTIATE_TEST_SUITE_P(Years, PassoverTest,
                         ::testing::Values(TYearDateCase{"Y2013", 2013, "2013-03-26"},
                                           TYearDateCase{"Y2014", 2014, "2014-04-15"},
                                           TYearDateCase{"Y1900", 1900, "1900-04-14"},
                                           TYearDateCase{"Y2024", 2024, "2024-04-23"},
                                           TYearDateCase{"Y2100", 2100, "2100-04-24"}),
                         Name);

class ChineseNewYearTest : public ::testing::TestWithParam<TYearDateCase> {};
TEST_P(ChineseNewYearTest, Date) { EXPECT_EQ(FormatIsoDate(ChineseNewYearDate(GetParam().Year)), GetParam().Date); }
INSTANTIATE_TEST_SUITE_P(Years, ChineseNewYearTest,
                         ::testing::Values(TYearDateCase{"Y2013", 2013, "2013-02-10"},
                                           TYearDateCase{"Y2014", 2014, "2014-01-31"},
                                           TYearDateCase{"LeapMonthYear2023", 2023, "2023-01-22"},
                                           TYearDateCase{"Y2033", 2033, "2033-01-31"},
                                           // 2033 has its leap month after the winter solstice.
                                           TYearDateCase{"AfterLeapEleventh2034", 2034, "2034-02-19"},
                                           TYearDateCase{"BeijingMeanTime1900", 1900, "1900-01-31"},
                                           TYearDateCase{"ZoneTime1929", 1929, "1929-02-10"},
                                           TYearDateCase{"Y1985", 1985, "1985-02-20"}),
                         Name);

struct THebrewCase {
  const char* Name;
  TDateTime Day;
  int Year, Month, DayOfMonth;
};
void PrintTo(const THebrewCase& c, std::ostream* os) { *os << c.Name; }

class HebrewDateTest : public ::testing::TestWithParam<THebrewCase> {};

TEST_P(HebrewDateTest, Date) {
  const THebrewCase& c = GetParam();
  const THebrewDate h = HebrewDate(c.Day);
  EXPECT_EQ(h.Year, c.Year);
  EXPECT_EQ(h.Month, c.Month);
  EXPECT_EQ(h.Day, c.DayOfMonth);
}

INSTANTIATE_TEST_SUITE_P(
    Days, HebrewDateTest,
    ::testing::Values(THebrewCase{"RoshHashana5774", EncodeDate(2013, 9, 5), 5774, 7, 1},
                      THebrewCase{"LastDayOf5773", EncodeDate(2013, 9, 4), 5773, 6, 29},
                      THebrewCase{"PurimCommonYear", EncodeDate(2013, 2, 24), 5773, 12, 14},
                      THebrewCase{"PurimLeapYear", EncodeDate(2014, 3, 16), 5774, 13, 14},
                      THebrewCase{"AdarILeapYear", EncodeDate(2014, 2, 14), 5774, 12, 14},
                      THebrewCase{"NewCivilYear", EncodeDate(2014, 1, 1), 5774, 10, 29},
                      // After noon counts as the next day, the whole date: the evening before
                      // 1 Tishri is in the new year.
                      THebrewCase{"MorningBeforeNewYear", EncodeDate(2013, 9, 4) + 0.4, 5773, 6, 29},
                      THebrewCase{"EveningBeforeNewYear", EncodeDate(2013, 9, 4) + 0.75, 5774, 7, 1},
                      THebrewCase{"EveningOfNewCivilYearsEve", EncodeDate(2013, 12, 31) + 0.75, 5774, 10, 29}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(PassoverTest, JulianCenturiesWhereTheMoonTermIsNegative) {
  // Julian calendar dates; here Gauss's quantity is below zero and its whole days are its floor.
  const struct {
    int Year, Month, Day;
  } cases[] = {{1003, 3, 20}, {1006, 3, 17}, {1581, 3, 19}, {1000, 3, 23}};
  for (const auto& c : cases) EXPECT_EQ(PassoverDate(c.Year), CalendarToDay(c.Year, c.Month, c.Day)) << c.Year;
}

TEST(HebrewDateTest, PassoverAndNewYearLandOnTheirDays) {
  // Walks the table of month lengths through two centuries: a wrong length moves these days.
  for (int year = 1900; year <= 2100; ++year) {
    SCOPED_TRACE(year);
    const TDateTime passover = PassoverDate(year);
    const THebrewDate p = HebrewDate(passover);
    EXPECT_EQ(p.Year, year + 3760);
    EXPECT_EQ(p.Month, 1);
    EXPECT_EQ(p.Day, 15);
    const THebrewDate eve = HebrewDate(passover + 162);
    EXPECT_EQ(eve.Month, 6);
    EXPECT_EQ(eve.Day, 29);
    const THebrewDate newYear = HebrewDate(passover + 163);
    EXPECT_EQ(newYear.Year, year + 3761);
    EXPECT_EQ(newYear.Month, 7);
    EXPECT_EQ(newYear.Day, 1);
  }
}

TEST(HebrewYearTypeTest, Lengths) {
  // One year of each length: 353, 354, 355, 383, 384, 385 days.
  const struct {
    int Year, Type;
  } cases[] = {{5773, 0}, {5775, 1}, {5770, 2}, {5784, 3}, {5782, 4}, {5774, 5}};
  for (const auto& c : cases) EXPECT_EQ(HebrewYearType(c.Year), c.Type) << c.Year;
}

TEST(ReckoningErrorsTest, OutOfRangeYears) {
  try {
    PassoverDate(358);
    FAIL();
  } catch (const E_OutOfAlgorithmRange& e) {
    EXPECT_STREQ(e.what(), "Out of range of the algorithm");
  }
  EXPECT_NO_THROW(PassoverDate(359));
  EXPECT_THROW(HebrewDate(CalendarToDay(358, 6, 1)), E_OutOfAlgorithmRange);
  EXPECT_THROW(PassoverDate(10000), EConvertError);
  EXPECT_THROW(EasterSunday(0), EConvertError);
  EXPECT_THROW(EasterSunday(10000), EConvertError);
  EXPECT_THROW(HebrewDate(-1e9), EConvertError);
  EXPECT_THROW(ChineseNewYearDate(0), EConvertError);
  // The extremes of int, where a year minus one would overflow.
  constexpr int kMin = std::numeric_limits<int>::min();
  constexpr int kMax = std::numeric_limits<int>::max();
  EXPECT_THROW(HebrewYearType(kMin), E_OutOfAlgorithmRange);
  EXPECT_THROW(HebrewYearType(kMax), EConvertError);
  EXPECT_THROW(ChineseNewYearDate(kMin), EConvertError);
  EXPECT_THROW(SolarLongitudeTime(kMin, 20), EConvertError);
  EXPECT_THROW(PassoverDate(kMax), EConvertError);
  EXPECT_THROW(EasterSunday(kMax), EConvertError);
}

TEST(ReckoningErrorsTest, FarYearsStayRealDates) {
  // Passover drifts into May and June in the far future of the Gregorian calendar.
  for (const int year : {359, 1000, 1582, 1583, 5000, 9000, 9999}) {
    SCOPED_TRACE(year);
    const TDateTime passover = PassoverDate(year);
    EXPECT_EQ(JDToCalendar(DayToJD(passover)).Year, year);
    EXPECT_NO_THROW(EasterSunday(year));
  }
  EXPECT_EQ(FormatIsoDate(ChineseNewYearDate(9999)).substr(0, 4), "9999");
}

TEST(BeijingTimeTest, OffsetsAndInverse) {
  const TDateTime modern = EncodeDate(2013, 2, 9) + 0.75;
  const TDateTime old = EncodeDate(1900, 1, 30) + 0.75;
  EXPECT_NEAR(ToBeijingTime(modern) - modern, 8.0 / 24, 1e-9);
  EXPECT_NEAR(ToBeijingTime(old) - old, (7 * 3600 + 45 * 60 + 40) / 86400.0, 1e-9);
  EXPECT_DOUBLE_EQ(FromBeijingTime(ToBeijingTime(modern)), modern);
  EXPECT_DOUBLE_EQ(FromBeijingTime(ToBeijingTime(old)), old);
}

TEST(HebrewTextTest, NamesAndDatePanelText) {
  EXPECT_EQ(HebrewDateText(EncodeDate(2013, 9, 5), EnglishTexts()), "Yom Chamishi, 1. Tishri 5774");
  EXPECT_EQ(HebrewDateText(EncodeDate(2014, 3, 16), EnglishTexts()), "Yom Rishon, 14. Adar 2 5774");
  EXPECT_EQ(HebrewDateText(EncodeDate(2013, 9, 7), EnglishTexts()), "Yom Shabbat, 3. Tishri 5774");
  EXPECT_EQ(HebrewMonthName(8, EnglishTexts()), "Heshvan");
  EXPECT_EQ(HebrewMonthName(0, EnglishTexts()), "");
  EXPECT_EQ(HebrewWeekdayName(2, EnglishTexts()), "Yom Sheni");
  EXPECT_EQ(HebrewWeekdayName(8, EnglishTexts()), "");

  TInterfaceTexts german;
  german.Apply({{"lc_HebrewMonth7", "Tischri"}, {"lc_HebrewDay5", "Jom Chamischi"}});
  EXPECT_EQ(HebrewDateText(EncodeDate(2013, 9, 5), german), "Jom Chamischi, 1. Tischri 5774");
}

}  // namespace
}  // namespace zentrix
