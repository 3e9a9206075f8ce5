#include <benchmark/benchmark.h>

#include <string>

#include "feeds/Valtri_RSS.h"
#ifdef ZENTRIX_BENCH_LOOPBACK
#include "support/TestHttpServer.h"
#endif

namespace {

// A feed of realistic items: about 5 MB for 10,000 of them.
std::string MakeFeed(int items) {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<rss version=\"2.0\" "
      "xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><channel><title>Bench News</title>"
      "<link>http://example.com/</link><description>Everything, all the time</description>"
      "<pubDate>Tue, 10 Jun 2003 04:00:00 GMT</pubDate>\n";
  const std::string body =
      "&lt;p&gt;Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod tempor incididunt ut labore "
      "et dolore magna aliqua. Ut enim ad minim veniam, quis nostrud exercitation ullamco laboris nisi ut aliquip ex "
      "ea commodo consequat.&lt;br/&gt;Duis aute irure dolor in reprehenderit.&lt;/p&gt;";
  for (int i = 0; i < items; ++i) {
    const std::string n = std::to_string(i);
    xml += "<item><guid>http://example.com/news/" + n + "</guid><title>Headline number " + n +
           " about something</title><link>http://example.com/news/" + n + "</link><description>" + body +
           "</description><category>World</category><dc:creator>Reporter " + n +
           "</dc:creator><pubDate>Tue, 10 Jun 2003 04:" + std::to_string(10 + i % 50) + ":00 GMT</pubDate></item>\n";
  }
  return xml + "</channel></rss>\n";
}

void BM_ParseRSSFeed10000Items(benchmark::State& state) {
  const std::string xml = MakeFeed(10000);
  zentrix::TRSSData data;
  for (auto _ : state) {
    if (!zentrix::ParseRSSFeed(xml, data) || data.Items.size() != 10000) state.SkipWithError("parse failed");
    benchmark::DoNotOptimize(data.Items.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(xml.size()));
  state.counters["MB"] = static_cast<double>(xml.size()) / 1e6;
}
BENCHMARK(BM_ParseRSSFeed10000Items)->Unit(benchmark::kMillisecond);

#ifdef ZENTRIX_BENCH_LOOPBACK
// From request to parsed record: a 200-item feed from a server on loopback.
void BM_LoadRSSFeed200ItemsLoopback(benchmark::State& state) {
  zentrix::test::TTestHttpServer server;
  server.Route("/feed.xml", zentrix::test::TTestReply::Ok(MakeFeed(200), "application/rss+xml"));
  const std::string url = server.Url("/feed.xml");
  zentrix::TRSSData data;
  for (auto _ : state) {
    if (!zentrix::LoadRSSFeed(url, data) || data.Items.size() != 200) state.SkipWithError("load failed");
  }
}
BENCHMARK(BM_LoadRSSFeed200ItemsLoopback)->Unit(benchmark::kMillisecond);
#endif

void BM_RFC822ToDateTime(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(zentrix::RFC822ToDateTime("Tue, 10 Jun 2003 04:00:00 +0200"));
}
BENCHMARK(BM_RFC822ToDateTime);

}  // namespace
