#include <gtest/gtest.h>

#include "feeds/WebUpdate.h"
#include "support/TestHttpServer.h"

namespace zentrix {
namespace {

// Table rows print as their names in test listings.
template <typename T>
  requires requires(const T& row) { row.Name; }
void PrintTo(const T& row, std::ostream* os) {
  *os << row.Name;
}

using test::TTestReply;

std::string Meta(std::string_view name, const std::string& value, const char* content = "CONTENT") {
  return "<META NAME=\"" + std::string(name) + "\" " + content + "=\"" + value + "\">\n";
}

std::string Page(const std::string& metas) {
  return "<HTML>\n<HEAD>\n<TITLE>Update</TITLE>\n" + metas + "</HEAD>\n<BODY>Zentrix</BODY>\n</HTML>\n";
}

// ---- the page ----

struct TPageCase {
  const char* Name;
  std::string Html;
  const char* Product;
  const char* Version;
  const char* Redirection;
};

class ParseUpdatePageTest : public ::testing::TestWithParam<TPageCase> {};

TEST_P(ParseUpdatePageTest, Tags) {
  const TPageCase& c = GetParam();
  const TUpdatePage page = ParseUpdatePage(c.Html);
  EXPECT_EQ(page.ProductName, c.Product);
  EXPECT_EQ(page.Version, c.Version);
  EXPECT_EQ(page.Redirection, c.Redirection);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, ParseUpdatePageTest,
    ::testing::Values(
        TPageCase{"AllTags",
                  Page(Meta(kProductNameTag, "Zentrix") + Meta(kVersionTag, "1.8.0.0") +
                       Meta(kRedirectionTag, "http://example.com/next.html")),
                  "Zentrix", "1.8.0.0", "http://example.com/next.html"},
        TPageCase{"ContentInAnyCase", Page(Meta(kVersionTag, "2.0", "content")), "", "2.0", ""},
        TPageCase{"LowerCaseMetaNameIgnored", "<meta name=\"Zentrix\xE7\x89\x88\xE6\x9C\xAC\" CONTENT=\"2.0\">\n", "",
                  "", ""},
        TPageCase{"TagNameCaseMatters", Page(Meta("zentrix\xE7\x89\x88\xE6\x9C\xAC", "2.0")), "", "", ""},
        TPageCase{"UnknownTagsIgnored", Page(Meta("Author", "someone") + Meta(kVersionTag, "1.2")), "", "1.2", ""},
        TPageCase{"UnclosedQuoteIgnored", "<META NAME=\"Zentrix\xE7\x89\x88\xE6\x9C\xAC\" CONTENT=\"2.0>\n", "", "",
                  ""},
        TPageCase{"NoContentIgnored", "<META NAME=\"Zentrix\xE7\x89\x88\xE6\x9C\xAC\">\n", "", "", ""},
        TPageCase{"CrLfLines", "<META NAME=\"Zentrix\xE5\x90\x8D\xE7\xA7\xB0\" CONTENT=\"Z\">\r\n" + Meta(kVersionTag, "3"),
                  "Z", "3", ""},
        TPageCase{"Utf8Mark", "\xEF\xBB\xBF" + Meta(kVersionTag, "4"), "", "4", ""},
        TPageCase{"ShortLine", "META NAME", "", "", ""},
        TPageCase{"Empty", "", "", "", ""}),
    [](const auto& info) { return std::string(info.param.Name); });

// ---- versions ----

struct TVersionCase {
  const char* Published;
  const char* Current;
  bool Newer;
};

TEST(IsNewerVersionTest, NumbersNotText) {
  const TVersionCase cases[] = {
      {"1.8.0.0", "1.8.0.0", false}, {"1.10.0.0", "1.9.0.0", true}, {"1.9.0.0", "1.10.0.0", false},
      {"1.8", "1.8.0.0", false},     {"1.8.0.0", "1.8", false},      {"1.8.0.1", "1.8", true},
      {"2", "1.99.99", true},        {"1.x", "1.0", false},          {"1.x", "1.1", false},
      {"1..2", "1.0.1", true},       {"", "0", false},               {"99999999999999999999", "1", false},
  };
  for (const TVersionCase& c : cases) {
    EXPECT_EQ(IsNewerVersion(c.Published, c.Current), c.Newer) << c.Published << " vs " << c.Current;
  }
}

// ---- the whole check against the loopback server ----

struct TCheckCase {
  const char* Name;
  const char* Start;
  const char* Current;
  TUpdateOutcome Outcome;
  const char* NewVersion;
};

class CheckForUpdateTest : public ::testing::TestWithParam<TCheckCase> {
protected:
  void SetUp() override {
    const std::string both = Meta(kProductNameTag, "Zentrix");
    FServer.Route("/same.html", TTestReply::Ok(Page(both + Meta(kVersionTag, "1.8.0.0"))));
    FServer.Route("/newer.html", TTestReply::Ok(Page(both + Meta(kVersionTag, "1.10.0.0"))));
    FServer.Route("/short.html", TTestReply::Ok(Page(both + Meta(kVersionTag, "1.8"))));
    FServer.Route("/noname.html", TTestReply::Ok(Page(Meta(kVersionTag, "9.0"))));
    FServer.Route("/noversion.html", TTestReply::Ok(Page(both)));
    FServer.Route("/empty.html", TTestReply::Ok(""));
    FServer.Route("/first.html",
                  TTestReply::Ok(Page(both + Meta(kVersionTag, "1.0") + Meta(kRedirectionTag, FServer.Url("/newer.html")))));
    // A redirection without a scheme gets "http://".
    FServer.Route("/bare.html", TTestReply::Ok(Page(Meta(kRedirectionTag, FServer.HostPort() + "/newer.html"))));
    FServer.Route("/tobroken.html", TTestReply::Ok(Page(Meta(kRedirectionTag, "http://127.0.0.1:1/x"))));
    FServer.Route("/loop.html", TTestReply::Ok(Page(Meta(kRedirectionTag, FServer.Url("/loop.html")))));
    // /hop1 -> ... -> /hop5 -> /newer.html: five redirections; /hop0 adds a sixth.
    for (int i = 0; i <= 5; ++i) {
      const std::string next = i == 5 ? "/newer.html" : "/hop" + std::to_string(i + 1) + ".html";
      FServer.Route("/hop" + std::to_string(i) + ".html", TTestReply::Ok(Page(Meta(kRedirectionTag, FServer.Url(next)))));
    }
    FServer.Route("/http-moved", TTestReply::Redirect("/newer.html"));
  }

  test::TTestHttpServer FServer;
};

TEST_P(CheckForUpdateTest, Outcome) {
  const TCheckCase& c = GetParam();
  const TUpdateCheck check = CheckForUpdate(FServer.HostPort() + c.Start, c.Current);
  EXPECT_EQ(check.Outcome, c.Outcome);
  EXPECT_EQ(check.NewVersion, c.NewVersion);
  if (std::string(c.Name) == "RedirectionLoopEnds") {
    EXPECT_EQ(FServer.RequestCount("/loop.html"), kMaxUpdateRedirections + 1);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Pages, CheckForUpdateTest,
    ::testing::Values(
        TCheckCase{"EqualVersions", "/same.html", "1.8.0.0", TUpdateOutcome::uoNoUpdate, "1.8.0.0"},
        TCheckCase{"NumericComparison", "/newer.html", "1.9.0.0", TUpdateOutcome::uoUpdateAvailable, "1.10.0.0"},
        TCheckCase{"ShorterPublished", "/short.html", "1.8.0.0", TUpdateOutcome::uoNoUpdate, "1.8"},
        TCheckCase{"OlderPublished", "/same.html", "2.0", TUpdateOutcome::uoNoUpdate, "1.8.0.0"},
        TCheckCase{"MissingProductName", "/noname.html", "1.0", TUpdateOutcome::uoDownloadError, ""},
        TCheckCase{"MissingVersion", "/noversion.html", "1.0", TUpdateOutcome::uoDownloadError, ""},
        TCheckCase{"EmptyPage", "/empty.html", "1.0", TUpdateOutcome::uoDownloadError, ""},
        TCheckCase{"NotFoundPage", "/nowhere.html", "1.0", TUpdateOutcome::uoDownloadError, ""},
        TCheckCase{"RedirectionUsesSecondPage", "/first.html", "1.9.0.0", TUpdateOutcome::uoUpdateAvailable,
                   "1.10.0.0"},
        TCheckCase{"RedirectionWithoutScheme", "/bare.html", "1.9", TUpdateOutcome::uoUpdateAvailable, "1.10.0.0"},
        TCheckCase{"RedirectionToDeadHost", "/tobroken.html", "1.0", TUpdateOutcome::uoDownloadError, ""},
        TCheckCase{"FiveRedirections", "/hop1.html", "1.9", TUpdateOutcome::uoUpdateAvailable, "1.10.0.0"},
        TCheckCase{"SixRedirectionsRefused", "/hop0.html", "1.9", TUpdateOutcome::uoDownloadError, ""},
        TCheckCase{"RedirectionLoopEnds", "/loop.html", "1.0", TUpdateOutcome::uoDownloadError, ""},
        TCheckCase{"HttpRedirectFollowed", "/http-moved", "1.9", TUpdateOutcome::uoUpdateAvailable, "1.10.0.0"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(CheckForUpdateSchemeTest, NoServer) {
  EXPECT_EQ(CheckForUpdate("127.0.0.1:1/webupdate.html", "1.0").Outcome, TUpdateOutcome::uoDownloadError);
  EXPECT_EQ(CheckForUpdate("ftp://127.0.0.1/webupdate.html", "1.0").Outcome, TUpdateOutcome::uoDownloadError);
}

}  // namespace
}  // namespace zentrix
