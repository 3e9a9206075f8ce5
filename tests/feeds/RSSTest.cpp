#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>

#include "feeds/Valtri_RSS.h"
#include "support/TestHttpServer.h"

namespace zentrix {
namespace {

// Table rows print as their names in test listings.
template <typename T>
  requires requires(const T& row) { row.Name; }
void PrintTo(const T& row, std::ostream* os) {
  *os << row.Name;
}

// ---- parsing feeds ----

std::string Feed(const std::string& channelExtra, const std::string& items,
                 const std::string& root = "rss version=\"2.0\"", const std::string& rootEnd = "rss") {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<" + root +
         " xmlns:content=\"http://purl.org/rss/1.0/modules/content/\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\">"
         "<channel><title>News</title><link>http://example.com/</link><description>All the news</description>" +
         channelExtra + items + "</channel></" + rootEnd + ">";
}

std::string Item(const std::string& inner) { return "<item>" + inner + "</item>"; }

const std::string kTitleLink = "<title>First</title><link>http://example.com/1</link>";

struct TFeedCase {
  const char* Name;
  std::string Xml;
  bool Ok;
  // Checked when given; items by the first item.
  std::optional<std::size_t> ItemCount = std::nullopt;
  std::optional<std::string> ItemDescription = std::nullopt;
  std::optional<std::string> ItemAuthor = std::nullopt;
  std::optional<std::string> ItemCategory = std::nullopt;
  std::optional<std::string> ItemTitle = std::nullopt;
};

class ParseRSSFeedTest : public ::testing::TestWithParam<TFeedCase> {};

TEST_P(ParseRSSFeedTest, Parse) {
  const TFeedCase& c = GetParam();
  TRSSData data;
  data.Title = "from an earlier load";
  ASSERT_EQ(ParseRSSFeed(c.Xml, data), c.Ok);
  if (!c.Ok) return;
  EXPECT_EQ(data.Version, "2.0");
  EXPECT_EQ(data.Title, "News");
  EXPECT_EQ(data.Link, "http://example.com/");
  EXPECT_EQ(data.Description, "All the news");
  if (c.ItemCount) {
    ASSERT_EQ(data.Items.size(), *c.ItemCount);
  }
  if (data.Items.empty()) return;
  const TRSSItem& item = data.Items.front();
  if (c.ItemDescription) {
    EXPECT_EQ(item.Description, *c.ItemDescription);
  }
  if (c.ItemAuthor) {
    EXPECT_EQ(item.Author, *c.ItemAuthor);
  }
  if (c.ItemCategory) {
    EXPECT_EQ(item.Category, *c.ItemCategory);
  }
  if (c.ItemTitle) {
    EXPECT_EQ(item.Title, *c.ItemTitle);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Documents, ParseRSSFeedTest,
    ::testing::Values(
        TFeedCase{"ChannelOnly", Feed("", ""), true, 0},
        TFeedCase{"RootNameIgnoresCase", Feed("", "", "RSS version=\"2.0\"", "RSS"), true, 0},
        TFeedCase{"AtomRejected",
                  "<feed xmlns=\"http://www.w3.org/2005/Atom\"><title>News</title><entry><title>x</title></entry>"
                  "</feed>",
                  false},
        TFeedCase{"RdfRejected",
                  "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"><channel><title>t</title>"
                  "</channel></rdf:RDF>",
                  false},
        TFeedCase{"NotXml", "This is not a feed", false},
        TFeedCase{"EmptyDocument", "", false},
        TFeedCase{"HtmlErrorPage", "<html><body><h1>404 Not Found</h1></body></html>", false},
        TFeedCase{"BrokenXml", Feed("", "").substr(0, 120), false},
        TFeedCase{"NoVersion", Feed("", "", "rss"), false},
        TFeedCase{"NoChannel", "<rss version=\"2.0\"><title>x</title></rss>", false},
        TFeedCase{"ChannelWithoutTitle",
                  "<rss version=\"2.0\"><channel><link>l</link><description>d</description></channel></rss>", false},
        TFeedCase{"ChannelWithoutLink",
                  "<rss version=\"2.0\"><channel><title>t</title><description>d</description></channel></rss>",
                  false},
        TFeedCase{"ChannelWithoutDescription",
                  "<rss version=\"2.0\"><channel><title>t</title><link>l</link></channel></rss>", false},
        TFeedCase{"ItemWithoutTitle", Feed("", Item("<link>l</link><description>d</description>")), false},
        TFeedCase{"ItemWithoutLink", Feed("", Item("<title>t</title><description>d</description>")), false},
        TFeedCase{"ItemWithoutAnyDescription", Feed("", Item(kTitleLink)), false},
        TFeedCase{"ContentEncodedWins",
                  Feed("", Item(kTitleLink + "<description>short</description>"
                                             "<content:encoded><![CDATA[<p>long</p>]]></content:encoded>")),
                  true, 1, "<p>long</p>"},
        TFeedCase{"ContentEncodedAlone", Feed("", Item(kTitleLink + "<content:encoded>full</content:encoded>")),
                  true, 1, "full"},
        TFeedCase{"DescriptionOnly", Feed("", Item(kTitleLink + "<description>short</description>")), true, 1,
                  "short"},
        TFeedCase{"DcCreatorWhenNoAuthor",
                  Feed("", Item(kTitleLink + "<description>d</description><dc:creator>Jane</dc:creator>")), true, 1,
                  std::nullopt, "Jane"},
        TFeedCase{"AuthorWins",
                  Feed("", Item(kTitleLink + "<description>d</description><dc:creator>Jane</dc:creator>"
                                             "<author>joe@example.com</author>")),
                  true, 1, std::nullopt, "joe@example.com"},
        TFeedCase{"NoAuthorAtAll", Feed("", Item(kTitleLink + "<description>d</description>")), true, 1,
                  std::nullopt, ""},
        TFeedCase{"FirstCategory",
                  Feed("", Item(kTitleLink + "<description>d</description><category>One</category>"
                                             "<category>Two</category>")),
                  true, 1, std::nullopt, std::nullopt, "One"},
        TFeedCase{"NamesIgnoreCase",
                  Feed("", "<ITEM><Title>First</Title><LINK>l</LINK><Description>d</Description></ITEM>"), true, 1,
                  "d", std::nullopt, std::nullopt, "First"},
        TFeedCase{"EntitiesAndCdataDecoded",
                  Feed("", Item("<title>Tom &amp; Jerry &#x263A;</title><link>l</link>"
                                "<description><![CDATA[a <b>b</b>]]></description>")),
                  true, 1, "a <b>b</b>", std::nullopt, std::nullopt, "Tom & Jerry \xE2\x98\xBA"},
        TFeedCase{"OtherChildrenIgnored",
                  Feed("<ttl>60</ttl><foo>bar</foo>", Item(kTitleLink + "<description>d</description>") +
                                                          "<notitem/>" + Item(kTitleLink + "<description>e</description>")),
                  true, 2},
        TFeedCase{"ItemOutsideChannelIgnored",
                  "<rss version=\"2.0\"><channel><title>News</title><link>http://example.com/</link>"
                  "<description>All the news</description></channel>" +
                      Item(kTitleLink + "<description>d</description>") + "</rss>",
                  true, 0}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(ParseRSSFeedFieldsTest, ChannelAndItemFields) {
  const std::string xml = Feed(
      "<language>en-us</language><pubDate>Tue, 10 Jun 2003 04:00:00 GMT</pubDate>"
      "<image><url>http://example.com/logo.png</url><title>Logo</title></image>",
      Item("<guid>id-1</guid>" + kTitleLink + "<description>d</description><pubDate>Wed, 11 Jun 2003 04:00:00 GMT"
                                              "</pubDate>") +
          Item("<title>Second</title><link>l2</link><description>e</description><pubDate>sometime</pubDate>"));
  TRSSData data;
  ASSERT_TRUE(ParseRSSFeed(xml, data));
  EXPECT_EQ(data.Language, "en-us");
  EXPECT_EQ(data.ImageURL, "http://example.com/logo.png");
  EXPECT_EQ(data.PubDate, "Tue, 10 Jun 2003 04:00:00 GMT");
  EXPECT_NE(data._PubDate, 0);
  ASSERT_EQ(data.Items.size(), 2u);
  EXPECT_EQ(data.Items[0].GUID, "id-1");
  EXPECT_EQ(data.Items[0].Title, "First");
  EXPECT_NEAR(data.Items[0]._PubDate - data._PubDate, 1.0, 1e-9);
  // An unreadable date keeps its text and does not reject the feed.
  EXPECT_EQ(data.Items[1].PubDate, "sometime");
  EXPECT_EQ(data.Items[1]._PubDate, 0);
}

TEST(ParseRSSFeedFieldsTest, Latin1DocumentBecomesUtf8) {
  const std::string xml = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><rss version=\"2.0\"><channel>"
                          "<title>M\xFCnchen</title><link>l</link><description>d</description></channel></rss>";
  TRSSData data;
  ASSERT_TRUE(ParseRSSFeed(xml, data));
  EXPECT_EQ(data.Title, "M\xC3\xBCnchen");
}

TEST(ParseRSSFeedFieldsTest, ClearAndAdd) {
  TRSSData data;
  data.Title = "x";
  data._PubDate = 5;
  EXPECT_EQ(AddRSSItem(data), 0u);
  EXPECT_EQ(AddRSSItem(data), 1u);
  ClearRSSData(data);
  EXPECT_TRUE(data.Title.empty());
  EXPECT_EQ(data._PubDate, 0);
  EXPECT_TRUE(data.Items.empty());
}

// ---- RFC 822 dates ----

// Central European rules, written out so that no time-zone database is needed. A winter and a
// summer date in the same table show that each date gets the rules of its own season.
class RFC822Test : public ::testing::Test {
protected:
  void SetUp() override {
    const char* old = std::getenv("TZ");
    FOldTz = old ? std::optional<std::string>(old) : std::nullopt;
    setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    tzset();
  }
  void TearDown() override {
    if (FOldTz) {
      setenv("TZ", FOldTz->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }

private:
  std::optional<std::string> FOldTz;
};

struct TDateCase {
  const char* Text;
  const char* Local;  // nullptr: not convertible
};

TEST_F(RFC822Test, Conversions) {
  const TDateCase cases[] = {
      {"Tue, 10 Jun 2003 04:00:00 GMT", "2003-06-10 06:00:00"},
      {"Fri, 10 Jan 2003 04:00:00 GMT", "2003-01-10 05:00:00"},
      {"Tue, 10 Jun 2003 04:00:00 +0200", "2003-06-10 04:00:00"},
      {"Tue, 10 Jun 2003 04:00:00 -0500", "2003-06-10 11:00:00"},
      {"Tue, 10 Jun 2003 04:00:00 +0530", "2003-06-10 00:30:00"},
      {"Tue, 10 Jun 2003 04:00:00 EDT", "2003-06-10 10:00:00"},
      {"Tue, 10 Jun 2003 04:00:00 PST", "2003-06-10 14:00:00"},
      {"Tue, 10 Jun 2003 04:00:00 UT", "2003-06-10 06:00:00"},
      {"Tue, 10 Jun 2003 04:00:00 UTC", "2003-06-10 06:00:00"},
      {"Tue, 10 Jun 2003 04:00:00 Z", "2003-06-10 06:00:00"},
      {"Tue, 10 Jun 2003 04:00:00 A", "2003-06-10 07:00:00"},
      {"Tue, 10 Jun 2003 04:00:00 GMT+0100", "2003-06-10 05:00:00"},
      {"Tue, 10 Jun 2003 04:00:00 gtm", "2003-06-10 06:00:00"},
      {"Tue, 10 Jun 2003 04:00 EST", "2003-06-10 06:00:00"},  // no seconds: the zone is read past the end
      {"Tue, 10 Jun 2003 04:00:07", "2003-06-10 06:00:07"},
      {"Thu,  5 Jun 2003 04:00:00 GMT", "2003-06-05 06:00:00"},
      {"Fri, 10 Jan 03 04:00:00 GMT", "0003-01-10 05:00:00"},  // no century added
      {"Sun, 30 Mar 2003 00:30:00 GMT", "2003-03-30 01:30:00"},  // before the spring change
      {"Sun, 30 Mar 2003 01:30:00 GMT", "2003-03-30 03:30:00"},  // after it
      {"10 Jun 2003 04:00:00 GMT", nullptr},
      {"Tue 10 Jun 2003 04:00:00 GMT", nullptr},
      {"tue, 10 Jun 2003 04:00:00 GMT", nullptr},
      {"Tue, 10 jun 2003 04:00:00 GMT", nullptr},
      {"Tue, 5 Jun 2003 04:00:00 GMT", nullptr},
      {"Tue, 10 Jun 2003 04:00:00 CET", nullptr},
      {"Tue, 31 Feb 2003 04:00:00 GMT", nullptr},
      {"Tue, 10 Jun 2003 24:00:00 GMT", nullptr},
      {"Tue, 10 Jun 2003 04:60:00 GMT", nullptr},
      {"Tue, 10 Jun 2003 04:00:00 +02", nullptr},
      {"Tue, 10 Jun 0000 04:00:00 GMT", nullptr},
      {"Tue, 10 Jun 2003", nullptr},
      {"Tue,", nullptr},
      {"", nullptr},
  };
  for (const TDateCase& c : cases) {
    if (c.Local == nullptr) {
      EXPECT_THROW(RFC822ToDateTime(c.Text), EConvertError) << c.Text;
    } else {
      EXPECT_EQ(FormatDateTimeText(RFC822ToDateTime(c.Text)), c.Local) << c.Text;
    }
  }
}

TEST_F(RFC822Test, ErrorMessageNamesTheText) {
  try {
    RFC822ToDateTime("Tue, 5 Jun 2003 04:00:00 GMT");
    FAIL() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "\"Tue, 5 Jun 2003 04:00:00 GMT\" is not valid RFC822 datetime");
  }
}

// ---- HTML to text ----

struct THtmlCase {
  const char* Name;
  const char* Html;
  const char* Text;
};

class HtmlToTextTest : public ::testing::TestWithParam<THtmlCase> {};

TEST_P(HtmlToTextTest, Convert) { EXPECT_EQ(HtmlToText(GetParam().Html), GetParam().Text); }

INSTANTIATE_TEST_SUITE_P(
    Fragments, HtmlToTextTest,
    ::testing::Values(THtmlCase{"ParagraphWithBreak", "<p>A<br/>B</p>", "A\r\nB"},
                      THtmlCase{"BreakUpperCase", "A<BR>B", "A\r\nB"},
                      THtmlCase{"BreakWithSpace", "A<br />B", "A\r\nB"},
                      THtmlCase{"TagsDropped", "<a href=\"x\">link</a> and <b>bold</b>", "link and bold"},
                      THtmlCase{"EscapedTagStaysVisible", "&lt;b&gt;bold&lt;/b&gt;", "<b>bold</b>"},
                      THtmlCase{"OneLevelOfEscapingOnly", "&amp;lt;", "&lt;"},
                      THtmlCase{"EntitiesIgnoreCase", "a&NBSP;b &AMP; c", "a b & c"},
                      THtmlCase{"OtherEntitiesKept", "&quot;x&quot; &#169;", "&quot;x&quot; &#169;"},
                      THtmlCase{"Trimmed", " \t\r\n <p> x </p>\r\n", "x"},
                      THtmlCase{"UnclosedLessThanKept", "a < b", "a < b"},
                      THtmlCase{"UnclosedAfterTag", "<i>x</i> < y", "x < y"},
                      THtmlCase{"NestedOpen", "<<a>b>", "b>"},
                      THtmlCase{"OnlyTags", "<p></p>", ""},
                      THtmlCase{"Empty", "", ""},
                      THtmlCase{"Utf8Kept", "<p>M\xC3\xBCnchen</p>", "M\xC3\xBCnchen"}),
    [](const auto& info) { return std::string(info.param.Name); });

// ---- loading over HTTP ----

TEST(LoadRSSFeedTest, FromLoopbackServer) {
  test::TTestHttpServer server;
  const std::string feed = Feed("", Item(kTitleLink + "<description>d</description>"));
  server.Route("/feed.xml", test::TTestReply::Ok(feed, "application/rss+xml"));
  test::TTestReply feedWith404 = test::TTestReply::NotFound(feed);
  server.Route("/feed-404.xml", feedWith404);
  server.Route("/page.html", test::TTestReply::Ok("<html><body>hello</body></html>", "text/html"));
  server.Route("/moved", test::TTestReply::Redirect("/feed.xml"));
  struct TLoadCase {
    const char* Target;
    bool Ok;
  };
  const TLoadCase cases[] = {{"/feed.xml", true},  {"/moved", true},    {"/feed-404.xml", true},
                             {"/page.html", false}, {"/missing", false}};
  for (const TLoadCase& c : cases) {
    TRSSData data;
    EXPECT_EQ(LoadRSSFeed(server.Url(c.Target), data), c.Ok) << c.Target;
    if (c.Ok) {
      ASSERT_EQ(data.Items.size(), 1u);
      EXPECT_EQ(data.Items[0].Title, "First");
    }
  }
  TRSSData data;
  data.Title = "stale";
  EXPECT_FALSE(LoadRSSFeed("http://127.0.0.1:1/feed.xml", data));
  EXPECT_TRUE(data.Title.empty());
}

}  // namespace
}  // namespace zentrix
