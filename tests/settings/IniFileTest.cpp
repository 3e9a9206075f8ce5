#include <gtest/gtest.h>

#include "settings/IniFile.h"

namespace zentrix {
namespace {

TEST(IniFileTest, ReadsWhatAPersonWrites) {
  const TIniFile ini = TIniFile::Parse(
      "\xEF\xBB\xBF; settings\r\n"
      "[主要]\r\n"
      "  WL = Prague,CZ  \r\n"
      "EN=\" Birthday \"\r\n"
      "RSS=http://a/b?c=d\r\n"
      "\r\n"
      "[ 计算器 ]\n"
      "NormPos=1,2,3,4\n"
      "stray line\n"
      "[主要]\n"
      "WL=second section of the same name is not read\n");
  struct TCase {
    const char* Section;
    const char* Key;
    std::optional<std::string> Expected;
  };
  const TCase cases[] = {
      {"主要", "WL", "Prague,CZ"},
      {"主要", "wl", "Prague,CZ"},  // ASCII case does not matter
      {"主要", "EN", " Birthday "},  // quotes keep outer blanks
      {"主要", "RSS", "http://a/b?c=d"},
      {"计算器", "NormPos", "1,2,3,4"},
      {"计算器", "stray line", std::nullopt},
      {"主要", "Missing", std::nullopt},
      {"一般", "WL", std::nullopt},
  };
  for (const TCase& c : cases) EXPECT_EQ(ini.Read(c.Section, c.Key), c.Expected) << c.Section << "\\" << c.Key;
  EXPECT_EQ(ini.Sections(), (std::vector<std::string>{"主要", "计算器", "主要"}));
}

TEST(IniFileTest, WritesKeepOtherLinesAndReadBack) {
  TIniFile ini = TIniFile::Parse("; my note\n[主要]\nBL=真的\n\n[RSS]\nFormVersion=0\n");
  struct TCase {
    const char* Name;
    const char* Section;
    const char* Key;
    std::string Value;
  };
  const TCase cases[] = {
      {"Replace", "主要", "BL", "错误的"},
      {"AppendToSection", "主要", "WL", "Brno,CZ"},
      {"NewSection", "记事本", "ShowCmd", "1"},
      {"OuterBlanks", "主要", "EN", "  padded  "},
      {"OuterQuotes", "主要", "EN2", "\"quoted\""},
      {"Empty", "主要", "EN3", ""},
      {"EqualsSign", "主要", "EN4", "a=b"},
  };
  for (const TCase& c : cases) {
    ASSERT_TRUE(ini.Write(c.Section, c.Key, c.Value)) << c.Name;
    const TIniFile again = TIniFile::Parse(ini.Serialize());
    EXPECT_EQ(again.Read(c.Section, c.Key), c.Value) << c.Name;
  }
  EXPECT_EQ(ini.Serialize(),
            "; my note\n[主要]\nBL=错误的\nWL=Brno,CZ\nEN=\"  padded  \"\nEN2=\"\"quoted\"\"\nEN3=\nEN4=a=b\n\n"
            "[RSS]\nFormVersion=0\n[记事本]\nShowCmd=1\n");
}

TEST(IniFileTest, RefusesWhatCannotBeReadBack) {
  TIniFile ini;
  struct TCase {
    const char* Name;
    std::string Section, Key, Value;
  };
  const TCase cases[] = {
      {"LineBreakInValue", "s", "k", "a\nb"},
      {"CarriageReturnInValue", "s", "k", "a\rb"},
      {"EqualsInKey", "s", "a=b", "v"},
      {"EmptyKey", "s", "", "v"},
      {"BlankAroundKey", "s", " k", "v"},
      {"CommentKey", "s", ";k", "v"},
      {"HeaderLikeKey", "s", "[k", "v]"},
      {"BracketInSection", "a]b", "k", "v"},
      {"LineBreakInSection", "a\nb", "k", "v"},
  };
  for (const TCase& c : cases) EXPECT_FALSE(ini.Write(c.Section, c.Key, c.Value)) << c.Name;
  EXPECT_EQ(ini.Serialize(), "");
}

TEST(IniFileTest, EraseKeyAndSection) {
  TIniFile ini = TIniFile::Parse("[a]\nx=1\ny=2\n[b]\nz=3\n");
  EXPECT_TRUE(ini.EraseKey("a", "X"));
  EXPECT_FALSE(ini.EraseKey("a", "x"));
  EXPECT_TRUE(ini.EraseSection("B"));
  EXPECT_FALSE(ini.EraseSection("b"));
  EXPECT_EQ(ini.Serialize(), "[a]\ny=2\n");
}

}  // namespace
}  // namespace zentrix
