#include <gtest/gtest.h>

#include "core/LanguageFile.h"
#include "core/LanguagePack.h"
#include "support/TempDir.h"

namespace zentrix {
namespace {

using TTexts = TInterfaceTexts::TTextMap;

TEST(LanguageFileTest, ReadsKeysValuesAndEscapes) {
  struct TCase {
    const char* Name;
    std::string Text;
    TTexts Expected;
  };
  const TCase cases[] = {
      {"Plain", "lc_Day=Den\n", {{"lc_Day", "Den"}}},
      {"CommentsAndBlanks", "# note\n; other\n\n   \nlc_Day = Den \r\n", {{"lc_Day", "Den"}}},
      {"CaptionKey", "Twnd_zentrix_Main.acExit.Caption=Konec", {{"Twnd_zentrix_Main.acExit.Caption", "Konec"}}},
      {"EqualsInValue", "a=b=c", {{"a", "b=c"}}},
      {"Escapes", "a=one\\ntwo\\tthree\\\\four", {{"a", "one\ntwo\tthree\\four"}}},
      {"EmptyValue", "a=", {{"a", ""}}},
      {"ChineseValue", "\xEF\xBB\xBFwth_113=晴", {{"wth_113", "晴"}}},
  };
  for (const TCase& c : cases) EXPECT_EQ(ParseLanguageFile(c.Text), c.Expected) << c.Name;
}

TEST(LanguageFileTest, RejectsBrokenFilesWithTheLine) {
  struct TCase {
    const char* Name;
    std::string Text;
    std::string Message;
  };
  const TCase cases[] = {
      {"NoEquals", "a=b\njust text\n", "line 2: expected key=value"},
      {"EmptyKey", "=value", "line 1: the key is empty"},
      {"BadKey", "a b=c", "line 1: the key may hold"},
      {"Repeated", "a=1\n\na=2", "line 3: the key \"a\" is given twice"},
      {"UnknownEscape", "a=\\q", "line 1: unknown escape"},
      {"TrailingBackslash", "a=b\\", "line 1: a backslash ends the value"},
      {"NotUtf8", "a=\xC3(", "line 1: the text is not UTF-8"},
      {"Overlong", "a=\xC0\xAF", "line 1: the text is not UTF-8"},
      {"Surrogate", "a=\xED\xA0\x80", "line 1: the text is not UTF-8"},
      {"Truncated", "a=\xE6\x99", "line 1: the text is not UTF-8"},
  };
  for (const TCase& c : cases) {
    try {
      ParseLanguageFile(c.Text);
      ADD_FAILURE() << c.Name << ": no error";
    } catch (const ELanguageFileError& e) {
      EXPECT_NE(std::string(e.what()).find(c.Message), std::string::npos) << c.Name << ": " << e.what();
    }
  }
}

TEST(LanguagePackTest, CodeFromLocaleNames) {
  const std::pair<const char*, const char*> cases[] = {
      {"cs_CZ.UTF-8", "cs"}, {"zh_CN", "zh"},  {"EN_us", "en"}, {"de", "de"},       {"sr@latin", "sr"},
      {"C", ""},             {"POSIX", ""},    {"", ""},        {"C.UTF-8", ""},     {"../x", ""},
      {"fil_PH", "fil"},     {"abcd_XX", ""},
  };
  for (const auto& [locale, code] : cases) EXPECT_EQ(LanguageCodeFromLocale(locale), code) << locale;
}

TEST(LanguagePackTest, FindsFilesChoosesAndFallsBack) {
  test::TTempDir shipped, user;
  shipped.Write("Zentrix.en.lng", "lc_Day=Day\n");
  shipped.Write("Zentrix.cs.lng", "lc_Day=Den\n");
  shipped.Write("Zentrix.toolong.lng", "a=b\n");
  shipped.Write("Other.de.lng", "a=b\n");
  shipped.Write("Zentrix.fr.txt", "a=b\n");
  user.Write("Zentrix.cs.lng", "lc_Day=Můj den\n");  // earlier folders win
  user.Write("Zentrix.de.lng", "lc_Day=Tag\n");
  user.Write("Zentrix.xx.lng", "broken line\n");
  const TLanguagePack pack({shipped.Path(), user.Path()});

  EXPECT_EQ(pack.AvailableLanguages(), (std::vector<std::string>{"cs", "de", "en", "xx"}));
  EXPECT_EQ(pack.ChooseLanguage("de"), "de");
  EXPECT_EQ(pack.ChooseLanguage("fr"), "en");
  EXPECT_EQ(pack.ChooseLanguage(""), "en");
  EXPECT_EQ(pack.ChooseLanguage("../Zentrix.cs"), "en");
  EXPECT_EQ(pack.Load("cs").at("lc_Day"), "Den");
  EXPECT_TRUE(pack.Load("fr").empty());
  EXPECT_THROW(pack.Load("xx"), ELanguageFileError);
}

TEST(LanguagePackTest, ShippedFilesAreWellFormed) {
  const TLanguagePack pack({ZENTRIX_RESOURCES});
  EXPECT_EQ(pack.AvailableLanguages(), (std::vector<std::string>{"cs", "en", "zh"}));
  for (const std::string& code : pack.AvailableLanguages()) {
    const TTexts texts = pack.Load(code);
    // Every language names the bar's menu entries.
    EXPECT_EQ(texts.count("Twnd_zentrix_Main.acExit.Caption"), 1u) << code;
  }
}

}  // namespace
}  // namespace zentrix
