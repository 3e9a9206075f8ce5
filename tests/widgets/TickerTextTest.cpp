// The ticker's line and hint, built from feed records without any window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/DateTime.h"
#include "core/InterfaceTexts.h"
#include "widgets/TickerText.h"

namespace zentrix {
namespace {

template <typename T>
  requires requires(const T& row) { row.Name; }
void PrintTo(const T& row, std::ostream* os) {
  *os << row.Name;
}

TRSSData FeedWith(std::vector<std::string> titles, std::string title = "News", TDateTime pubDate = 0) {
  TRSSData feed;
  feed.Title = std::move(title);
  feed._PubDate = pubDate;
  for (std::string& t : titles) {
    TRSSItem item;
    item.Title = std::move(t);
    item.Link = "http://example.com/item";
    item.Description = "not shown";
    feed.Items.push_back(std::move(item));
  }
  return feed;
}

// ---- the line ----

struct TLineCase {
  const char* Name;
  std::vector<std::string> Titles;
  std::string Line;
};

class TickerLineTest : public ::testing::TestWithParam<TLineCase> {};

TEST_P(TickerLineTest, BuildsTheLineFromEveryTitleInOrder) {
  EXPECT_EQ(TickerLine(FeedWith(GetParam().Titles)), GetParam().Line);
}

INSTANTIATE_TEST_SUITE_P(
    Feeds, TickerLineTest,
    ::testing::Values(
        TLineCase{"NoItems", {}, "   .::."},
        TLineCase{"TwoItems", {"A", "B"}, "   .::.   A   .::.   B   .::."},
        TLineCase{"EmptyTitle", {""}, "   .::.      .::."},
        // Titles go in as delivered: no trimming, no markup stripping, no format expansion.
        TLineCase{"SpacesKept", {"  padded  "}, "   .::.     padded     .::."},
        TLineCase{"MarkupKept", {"<b>Bold</b> &amp; more"}, "   .::.   <b>Bold</b> &amp; more   .::."},
        TLineCase{"FormatCharacters", {"100% %s %d %n"}, "   .::.   100% %s %d %n   .::."},
        TLineCase{"Utf8", {"Zürich – 東京"}, "   .::.   Zürich – 東京   .::."}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(TickerLineManyTest, KeepsEveryItemOfALongFeed) {
  std::vector<std::string> titles;
  std::string expected;
  for (int i = 0; i < 500; ++i) {
    titles.push_back("Item " + std::to_string(i));
    expected += "   .::.   Item " + std::to_string(i);
  }
  expected += "   .::.";
  EXPECT_EQ(TickerLine(FeedWith(titles)), expected);
}

// ---- the hint ----

struct THintCase {
  const char* Name;
  std::string Title;
  TDateTime PubDate;
  std::string Hint;
};

class TickerHintTest : public ::testing::TestWithParam<THintCase> {};

TEST_P(TickerHintTest, DateThenTitleOrTitleAlone) {
  EXPECT_EQ(TickerHint(FeedWith({"x"}, GetParam().Title, GetParam().PubDate)), GetParam().Hint);
}

INSTANTIATE_TEST_SUITE_P(
    Feeds, TickerHintTest,
    ::testing::Values(THintCase{"NoDate", "World News", 0, "World News"},
                      THintCase{"WithDate", "World News", EncodeDate(2003, 6, 10) + EncodeTime(4, 5, 6, 0),
                                "2003-06-10 04:05:06 - World News"},
                      // At midnight the time part is left out.
                      THintCase{"Midnight", "World News", EncodeDate(2003, 6, 10), "2003-06-10 - World News"},
                      THintCase{"EmptyTitleWithDate", "", EncodeDate(2003, 6, 10), "2003-06-10 - "},
                      THintCase{"NegativeDateIsNoDate", "World News", -5, "World News"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(TickerHintFormatTest, UsesTheDateFormatItIsGiven) {
  const auto format = [](TDateTime) { return std::string("10.6.2003 4:05"); };
  EXPECT_EQ(TickerHint(FeedWith({}, "T", 37782.17), format), "10.6.2003 4:05 - T");
}

TEST(TickerFailureHintTest, EnglishAndLocalized) {
  EXPECT_EQ(TickerFailureHint(EnglishTexts()), "This URL is not valid RSS feed.");
  TInterfaceTexts german;
  german.Apply({{"lc_NoValidRSS", "Diese Adresse ist kein gültiger RSS-Feed."}});
  EXPECT_EQ(TickerFailureHint(german), "Diese Adresse ist kein gültiger RSS-Feed.");
}

}  // namespace
}  // namespace zentrix
