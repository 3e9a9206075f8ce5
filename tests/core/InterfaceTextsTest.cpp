#include <gtest/gtest.h>

#include "core/InterfaceTexts.h"

namespace zentrix {
namespace {

TEST(InterfaceTextsTest, LanguagesReplaceOnlyTheKeysTheyHave) {
  TInterfaceTexts texts;
  EXPECT_EQ(texts.Get("lc_Day", "Day"), "Day");
  texts.Apply({{"lc_Day", "Den"}, {"lc_Information", "Informace"}});
  EXPECT_EQ(texts.Get("lc_Day", "Day"), "Den");
  // A second language without lc_Information keeps the first one's text for it.
  texts.Apply({{"lc_Day", "日"}});
  EXPECT_EQ(texts.Get("lc_Day", "Day"), "日");
  EXPECT_EQ(texts.Get("lc_Information", "Information"), "Informace");
  EXPECT_EQ(EnglishTexts().Get("lc_Day", "Day"), "Day");
}

}  // namespace
}  // namespace zentrix
