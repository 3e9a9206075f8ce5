#include <gtest/gtest.h>

#include "core/DayNames.h"

namespace zentrix {
namespace {

struct TIndexCase {
  const char* Name;
  int Year, Month, Day;
  int Expected;
};

class DayIndexTest : public ::testing::TestWithParam<TIndexCase> {};

TEST_P(DayIndexTest, CountsInALeapYear) {
  const TIndexCase& c = GetParam();
  // With a time of day too: only the date counts.
  EXPECT_EQ(DayIndex(EncodeDate(c.Year, c.Month, c.Day) + 0.75), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(Table, DayIndexTest,
                         ::testing::Values(TIndexCase{"FirstJanuary", 2013, 1, 1, 1},
                                           TIndexCase{"LeapDay", 2012, 2, 29, 60},
                                           TIndexCase{"LastFebruaryCommon", 2013, 2, 28, 59},
                                           TIndexCase{"FirstMarchCommon", 2013, 3, 1, 61},
                                           TIndexCase{"FirstMarchLeap", 2012, 3, 1, 61},
                                           TIndexCase{"LastDecemberCommon", 2013, 12, 31, 366},
                                           TIndexCase{"LastDecemberLeap", 2012, 12, 31, 366},
                                           TIndexCase{"Century1900IsCommon", 1900, 3, 1, 61},
                                           TIndexCase{"Year2000IsLeap", 2000, 2, 29, 60}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(GetNameTest, ValueOfTheLineOrTheFallback) {
  std::vector<std::string> names(366);
  for (int i = 0; i < 366; ++i) names[static_cast<std::size_t>(i)] = std::to_string(i + 1) + "=";
  names[0] = "1=  Nový rok \t";
  names[60] = "999=Bedřich";  // the label before "=" is never read
  names[78] = "79=Josef=Pepa";  // only the first "=" separates
  names[100] = "no separator";

  struct TCase {
    const char* Name;
    TDateTime Date;
    std::vector<std::string> Names;
    std::string Expected;
  };
  const TCase cases[] = {
      {"TrimmedValue", EncodeDate(2013, 1, 1), names, "Nový rok"},
      {"LabelIgnored", EncodeDate(2013, 3, 1), names, "Bedřich"},
      {"FirstEqualsSplits", EncodeDate(2012, 3, 19), names, "Josef=Pepa"},
      {"EmptyValue", EncodeDate(2013, 1, 2), names, "Day 2"},
      {"LineWithoutEquals", EncodeDate(2012, 4, 10), names, "Day 101"},
      {"NoList", EncodeDate(2013, 12, 31), {}, "Day 366"},
      {"ShortList", EncodeDate(2013, 3, 1), {"1=A"}, "Day 61"},
  };
  for (const TCase& c : cases) EXPECT_EQ(GetName(c.Names, c.Date, EnglishTexts()), c.Expected) << c.Name;

  TInterfaceTexts czech;
  czech.Apply({{"lc_Day", "Den"}});
  EXPECT_EQ(GetName({}, EncodeDate(2013, 1, 5), czech), "Den 5");
}

TEST(DayNamesFileTest, SplitsLinesOfEitherEnding) {
  struct TCase {
    const char* Name;
    std::string Text;
    std::vector<std::string> Lines;
  };
  const TCase cases[] = {
      {"Unix", "1=A\n2=B\n", {"1=A", "2=B"}},
      {"Windows", "1=A\r\n2=B\r\n", {"1=A", "2=B"}},
      {"NoFinalBreak", "1=A\n2=B", {"1=A", "2=B"}},
      {"ByteOrderMark", "\xEF\xBB\xBF" "1=Á\n", {"1=Á"}},
      {"EmptyLinesKeepTheirPlace", "1=A\n\n3=C\n", {"1=A", "", "3=C"}},
      {"Empty", "", {}},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(SplitDayNames(c.Text), c.Lines) << c.Name;
    EXPECT_EQ(SplitDayNames(JoinDayNames(c.Lines)), c.Lines) << c.Name;
  }
}

}  // namespace
}  // namespace zentrix
