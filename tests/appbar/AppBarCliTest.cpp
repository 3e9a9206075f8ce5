#include <gtest/gtest.h>

#include <string>

#include "appbar/AppBarSettings.h"
#include "support/RunProcess.h"
#include "support/TempDir.h"

namespace zentrix {
namespace {

struct TRecordCliCase {
  const char* Name;
  const char* Content;  // nullptr: a record the bar wrote; "": no file
  int ExitCode;
  const char* Expected;  // the output, or a part of the one-line error
};

template <class TCase>
  requires requires(const TCase& c) { c.Name; }
void PrintTo(const TCase& c, std::ostream* os) {
  *os << c.Name;
}

class AppBarRecordCli : public testing::TestWithParam<TRecordCliCase> {};

TEST_P(AppBarRecordCli, ShowsTheStoredRecordOrSaysWhatIsWrong) {
  const TRecordCliCase& c = GetParam();
  test::TTempDir dir;
  const auto file = dir.Path() / "Software" / "AppBar" / "default";
  if (!c.Content) {
    TAppBarSettings s = DefaultAppBarSettings({1280, 1024});
    s.abFlags = abfAllowTop | abfAllowFloat;
    s.szDockSize = {19, 37};
    s.rcFloat = {-5, 10, 300, 60};
    s.abTaskEntry = abtHide;
    s.bSaveSettings = true;
    ASSERT_TRUE(WriteAppBarSettingsFile(file, s));
  } else if (*c.Content) {
    dir.Write("Software/AppBar/default", c.Content);
  }
  // Without FILE the record is looked for under the configuration folder.
  const test::TProcessResult r = test::RunCli({"appbar-record"}, {}, {{"XDG_CONFIG_HOME", dir.Path().string()}});
  EXPECT_EQ(r.ExitCode, c.ExitCode) << r.Err;
  if (c.ExitCode == 0) {
    EXPECT_EQ(r.Out, c.Expected);
  } else {
    EXPECT_NE(r.Err.find(c.Expected), std::string::npos) << r.Err;
    EXPECT_EQ(r.Err.find('\n'), r.Err.size() - 1) << "one line";
  }
}

INSTANTIATE_TEST_SUITE_P(Files, AppBarRecordCli,
                         testing::Values(TRecordCliCase{"WrittenByTheBar", nullptr, 0,
                                                        "cbSize 84\n"
                                                        "abEdge abeTop\n"
                                                        "abFlags abfAllowTop,abfAllowFloat\n"
                                                        "bAutohide 0\n"
                                                        "bAlwaysOnTop 1\n"
                                                        "bSlideEffect 1\n"
                                                        "nTimerInterval 400\n"
                                                        "szSizeInc 1 1\n"
                                                        "szDockSize 19 37\n"
                                                        "rcFloat -5 10 300 60\n"
                                                        "nMinWidth 0\n"
                                                        "nMinHeight 0\n"
                                                        "nMaxWidth 1280\n"
                                                        "nMaxHeight 1024\n"
                                                        "szMinDockSize 0 0\n"
                                                        "szMaxDockSize 640 512\n"
                                                        "abTaskEntry abtHide\n"
                                                        "bLoadSettings 0\n"
                                                        "bSaveSettings 1\n"},
                                         TRecordCliCase{"Missing", "", 1, "There is no desktop toolbar record at "},
                                         TRecordCliCase{"NotARecord", "hello", 1, "is not a valid 84-byte"}),
                         [](const auto& info) { return info.param.Name; });

TEST(AppBarRecordCliUsage, TakesAtMostOneFile) {
  const test::TProcessResult r = test::RunCli({"appbar-record", "a", "b"});
  EXPECT_EQ(r.ExitCode, 2);
}

}  // namespace
}  // namespace zentrix
