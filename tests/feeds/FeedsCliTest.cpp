#include <gtest/gtest.h>

#include "feeds/WebUpdate.h"
#include "support/RunProcess.h"
#include "support/TempDir.h"
#include "support/TestHttpServer.h"

namespace zentrix::test {
namespace {

const std::map<std::string, std::string> kCentralEurope = {{"TZ", "CET-1CEST,M3.5.0,M10.5.0/3"}};

class FeedsCliTest : public ::testing::Test {
protected:
  void SetUp() override {
    FServer.Route("/hello", TTestReply::Ok("hello"));
    FServer.Route("/nolength", TTestReply::NoLength("streamed"));
    FServer.Route("/feed.xml",
                  TTestReply::Ok("<rss version=\"2.0\"><channel><title>News</title><link>http://n/</link>"
                                 "<description>All</description><pubDate>Tue, 10 Jun 2003 04:00:00 GMT</pubDate>"
                                 "<item><title>Winter \"story\"</title><link>http://n/1</link>"
                                 "<description>&lt;p&gt;A&lt;br&gt;B&lt;/p&gt;</description>"
                                 "<pubDate>Fri, 10 Jan 2003 04:00:00 GMT</pubDate></item></channel></rss>"));
    FServer.Route("/page.html", TTestReply::Ok("<html><body>no feed</body></html>", "text/html"));
    FServer.Route("/free/v1/search.ashx?key=k&query=New+York&format=tab",
                  TTestReply::Ok("#c\nNew York\tUSA\tNew York\t40.714\t-74.006\t8107916\thttp://w/ny\n"));
    FServer.Route("/free/v1/weather.ashx?key=k&q=New+York&format=csv&num_of_days=5",
                  TTestReply::Ok("1:15 PM,18,113," + FServer.Url("/img/sun.png") +
                                 ",Sunny,9,15,250,NNE,0.0,55,10,1016,0\n"
                                 "2013-03-20,20,68,10,50,8,13,200,SSW,119," + FServer.Url("/img/cloud.png") +
                                 ",Cloudy,0.4\n"));
    FServer.Route("/img/sun.png", TTestReply::Ok("SUN", "image/png"));
    FServer.Route("/img/cloud.png", TTestReply::Ok("CLOUD", "image/png"));
    FServer.Route("/free/v1/weather.ashx?key=k&q=Nowhere&format=csv&num_of_days=5",
                  TTestReply::Ok("<?xml version=\"1.0\"?><data><error><msg>No matching location</msg></error></data>"));
    const std::string zentrix = "<META NAME=\"" + std::string(kProductNameTag) + "\" CONTENT=\"Zentrix\">\n";
    FServer.Route("/webupdate.html",
                  TTestReply::Ok(zentrix + "<META NAME=\"" + std::string(kVersionTag) + "\" CONTENT=\"1.10.0.0\">\n"));
  }

  TTestHttpServer FServer;
};

struct TCliCase {
  const char* Name;
  std::vector<std::string> Args;  // "@" is replaced by the server's host:port
  int ExitCode;
  std::vector<std::string> OutHas;
  const char* ErrHas;
};

TEST_F(FeedsCliTest, Commands) {
  const std::string hp = FServer.HostPort();
  const TCliCase cases[] = {
      {"Fetch", {"fetch", "http://@/hello"}, 0, {"hello"}, ""},
      {"FetchWithoutLength", {"fetch", "http://@/nolength"}, 0, {"streamed"}, ""},
      {"FetchExactWithoutLength", {"fetch", "--exact", "http://@/nolength"}, 1, {}, "fetch failed"},
      {"FetchRefused", {"fetch", "http://127.0.0.1:1/"}, 1, {}, "fetch failed"},
      {"FetchOtherScheme", {"fetch", "file:///etc/passwd"}, 1, {}, "not an http:// or https:// address"},
      {"Rss",
       {"rss", "http://@/feed.xml"},
       0,
       {"Title: News\n", "Date: 2003-06-10 06:00:00\n", "1. Winter \"story\"\n", "   Date: 2003-01-10 05:00:00\n",
        "   A\n   B\n"},
       ""},
      {"RssJson",
       {"rss", "@/feed.xml", "--json"},
       0,
       {"\"title\": \"News\"", "\"localDate\": \"2003-06-10 06:00:00\"", "\"title\": \"Winter \\\"story\\\"\"",
        "\"localDate\": \"2003-01-10 05:00:00\""},
       ""},
      {"RssNotAFeed", {"rss", "http://@/page.html"}, 1, {}, "This URL is not valid RSS feed."},
      {"WeatherSearch",
       {"weather", "search", "New York", "--host", "@", "--key", "k"},
       0,
       {"New York\tNew York\tUSA\t40.714\t-74.006\t8107916\thttp://w/ny\n"},
       ""},
      {"WeatherGet",
       {"weather", "get", "New York", "--host", "@", "--key", "k"},
       0,
       {"Condition: Clear/Sunny\n", "Temperature: 18 C\n", "Wind: 15 km/h NNE\n", "2013-03-20  20/10 C", "Cloudy"},
       ""},
      {"WeatherError", {"weather", "get", "Nowhere", "--host=@", "--key=k"}, 1, {}, "No matching location"},
      {"UpdateAvailable", {"update-check", "@/webupdate.html", "--current", "1.9.0.0"}, 0,
       {"update available: 1.10.0.0\n"}, ""},
      {"NoUpdate", {"update-check", "http://@/webupdate.html", "--current", "1.10"}, 0,
       {"no update (published 1.10.0.0)\n"}, ""},
      {"UpdateDownloadError", {"update-check", "http://@/missing.html", "--current", "1.0"}, 1, {}, "download error"},
      {"FetchNoUrl", {"fetch"}, 2, {}, "usage"},
      {"RssUnknownOption", {"rss", "--xml", "http://@/feed.xml"}, 2, {}, "unknown option"},
      {"WeatherBadVerb", {"weather", "show", "x"}, 2, {}, "expected search or get"},
      {"UpdateCheckWithoutCurrent", {"update-check", "http://@/webupdate.html"}, 2, {}, "--current"},
  };
  for (const TCliCase& c : cases) {
    std::vector<std::string> args = c.Args;
    for (std::string& a : args) {
      if (const std::size_t at = a.find('@'); at != std::string::npos) a.replace(at, 1, hp);
    }
    const TProcessResult r = RunCli(args, {}, kCentralEurope);
    EXPECT_EQ(r.ExitCode, c.ExitCode) << c.Name << "\n" << r.Err;
    for (const std::string& piece : c.OutHas) {
      EXPECT_NE(r.Out.find(piece), std::string::npos) << c.Name << "\n" << r.Out;
    }
    EXPECT_NE(r.Err.find(c.ErrHas), std::string::npos) << c.Name << "\n" << r.Err;
  }
}

TEST_F(FeedsCliTest, WeatherIconsGoToTheGivenFolder) {
  TTempDir dir;
  const TProcessResult r = RunCli({"weather", "get", "New York", "--host", FServer.HostPort(), "--key", "k",
                                   "--icons", dir.Path().string()});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(TTempDir::Read(dir.Path() / "sun.png"), "SUN");
  EXPECT_EQ(TTempDir::Read(dir.Path() / "cloud.png"), "CLOUD");
}

}  // namespace
}  // namespace zentrix::test
