// The ticker row against feeds served on loopback: the line and hint it shows, its refresh timer,
// one load at a time, and what the mouse does on it.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>
#include <string>
#include <vector>

#include "core/DateTime.h"
#include "core/InterfaceTexts.h"
#include "support/TestHttpServer.h"
#include "widgets/Marquee.h"
#include "widgets/TickerRow.h"

namespace zentrix {
namespace {

using test::TTestHttpServer;
using test::TTestReply;

template <typename T>
  requires requires(const T& row) { row.Name; }
void PrintTo(const T& row, std::ostream* os) {
  *os << row.Name;
}

std::string Rss(const std::string& channelExtra, const std::vector<std::string>& titles) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<rss version=\"2.0\"><channel>"
                    "<title>World &amp; News</title><link>http://example.com/</link><description>d</description>" +
                    channelExtra;
  for (const std::string& title : titles)
    xml += "<item><title>" + title + "</title><link>http://example.com/i</link><description>x</description></item>";
  return xml + "</channel></rss>";
}

class TickerRowTest : public ::testing::Test {
protected:
  void SetUp() override {
    FRow.resize(600, TTickerRow::RowHeight);
    FRow.show();
  }

  void Apply(const std::string& target, int minutes = 15, int stepMs = 10) {
    FRow.ApplySettings({FServer->Url(target), minutes, stepMs, QColor(240, 202, 166)});
  }

  // Refreshes and waits for the load to end; the load's result.
  bool RefreshAndWait() {
    QSignalSpy loaded(&FRow, &TTickerRow::FeedLoaded);
    FRow.RefreshFeed();
    if (!loaded.wait(15000)) return false;
    return loaded.takeFirst().at(0).toBool();
  }

  std::unique_ptr<TTestHttpServer> FServer = std::make_unique<TTestHttpServer>();
  TTickerRow FRow{EnglishTexts()};
};

// ---- feeds ----

struct TFeedCase {
  const char* Name;
  TTestReply Reply;
  bool Ok;
  std::string Line;
  std::string Hint;
};

class TickerRowFeedTest : public TickerRowTest, public ::testing::WithParamInterface<TFeedCase> {};

TEST_P(TickerRowFeedTest, FillsTheLineAndHintAsTheFeedAllows) {
  const TFeedCase& c = GetParam();
  FServer->Route("/feed", c.Reply);
  Apply("/feed");
  EXPECT_EQ(RefreshAndWait(), c.Ok);
  EXPECT_EQ(FRow.Line().toStdString(), c.Line);
  EXPECT_EQ(FRow.HintText().toStdString(), c.Hint);
  EXPECT_EQ(FRow.Ticker()->Active(), c.Ok);
  EXPECT_EQ(FRow.Ticker()->Offset(), 0);
}

const std::string kFailed = "This URL is not valid RSS feed.";

INSTANTIATE_TEST_SUITE_P(
    Feeds, TickerRowFeedTest,
    ::testing::Values(
        TFeedCase{"TwoItems", TTestReply::Ok(Rss("", {"A", "B"}), "application/rss+xml"), true,
                  "   .::.   A   .::.   B   .::.", "World & News"},
        TFeedCase{"NoItems", TTestReply::Ok(Rss("", {})), true, "   .::.", "World & News"},
        TFeedCase{"UnreadableDate", TTestReply::Ok(Rss("<pubDate>someday</pubDate>", {"A"})), true,
                  "   .::.   A   .::.", "World & News"},
        TFeedCase{"EntitiesAndMarkupInTitles",
                  TTestReply::Ok(Rss("", {"Tom &amp; Jerry", "&lt;b&gt;5 &gt; 3&lt;/b&gt;", "  100% %s  "})), true,
                  "   .::.   Tom & Jerry   .::.   <b>5 > 3</b>   .::.     100% %s     .::.", "World & News"},
        TFeedCase{"NotFound", TTestReply::NotFound("<html>gone</html>"), false, "", kFailed},
        TFeedCase{"NotAFeed", TTestReply::Ok("<html><body>hello</body></html>", "text/html"), false, "", kFailed},
        TFeedCase{"Atom", TTestReply::Ok("<feed xmlns=\"http://www.w3.org/2005/Atom\"><title>t</title></feed>"), false,
                  "", kFailed},
        TFeedCase{"CutShort", TTestReply::Short(Rss("", {"A"}).substr(0, 60), 400), false, "", kFailed}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(TickerRowTest, DatedFeedShowsDateSpacedHyphenAndTitle) {
  FServer->Route("/feed", TTestReply::Ok(Rss("<pubDate>Tue, 10 Jun 2003 12:00:00 +0000</pubDate>", {"A"})));
  Apply("/feed");
  TDateTime seen = 0;
  FRow.SetDateTimeText([&seen](TDateTime value) {
    seen = value;
    return std::string("10.6.2003 14:00");
  });
  ASSERT_TRUE(RefreshAndWait());
  EXPECT_EQ(FRow.HintText(), QStringLiteral("10.6.2003 14:00 - World & News"));
  // The feed's instant, in local time.
  EXPECT_DOUBLE_EQ(seen, UtcToLocal(EncodeDate(2003, 6, 10) + EncodeTime(12, 0, 0, 0)));
}

TEST_F(TickerRowTest, UnreachableAddressFailsLikeABadFeed) {
  FRow.ApplySettings({"http://127.0.0.1:1/feed", 15, 10, Qt::white});
  EXPECT_FALSE(RefreshAndWait());
  EXPECT_EQ(FRow.HintText().toStdString(), kFailed);
  EXPECT_TRUE(FRow.Line().isEmpty());
}

TEST_F(TickerRowTest, AFailedRefreshEmptiesAFilledTicker) {
  FServer->Route("/good", TTestReply::Ok(Rss("", {"A"})));
  Apply("/good");
  ASSERT_TRUE(RefreshAndWait());
  Apply("/missing");
  EXPECT_FALSE(RefreshAndWait());
  EXPECT_TRUE(FRow.Line().isEmpty());
  EXPECT_FALSE(FRow.Ticker()->Active());
  EXPECT_EQ(FRow.HintText().toStdString(), kFailed);
}

TEST_F(TickerRowTest, LocalizedFailureHint) {
  TInterfaceTexts texts;
  texts.Apply({{"lc_NoValidRSS", "Kein RSS."}});
  TTickerRow row(texts);
  row.ApplySettings({FServer->Url("/missing"), 15, 10, Qt::white});
  QSignalSpy loaded(&row, &TTickerRow::FeedLoaded);
  row.RefreshFeed();
  ASSERT_TRUE(loaded.wait(15000));
  EXPECT_EQ(row.HintText(), QStringLiteral("Kein RSS."));
}

// ---- one load at a time, and the bar keeps running meanwhile ----

TEST_F(TickerRowTest, RequestsDuringALoadWaitAndRunOnceAfterIt) {
  FServer->Route("/slow", TTestReply::Silent());
  Apply("/slow");
  QSignalSpy loaded(&FRow, &TTickerRow::FeedLoaded);
  FRow.RefreshFeed();
  EXPECT_TRUE(FRow.Loading());
  // The UI thread goes on: a 20 ms timer fires many times while the feed does not answer.
  int ticks = 0;
  QTimer clock;
  QObject::connect(&clock, &QTimer::timeout, [&ticks] { ++ticks; });
  clock.start(20);
  FRow.RefreshFeed();
  FRow.RefreshFeed();
  QTest::qWait(400);
  EXPECT_GE(ticks, 10);
  EXPECT_EQ(FServer->RequestCount("/slow"), 1);
  EXPECT_EQ(loaded.count(), 0);
  // Stopping the server ends the first load; the two waiting requests make one more load.
  FServer.reset();
  QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 2, 15000);
  QTest::qWait(200);
  EXPECT_EQ(loaded.count(), 2);
  EXPECT_FALSE(FRow.Loading());
}

TEST(TickerRowLifetimeTest, ClosingDuringALoadIsSafe) {
  TTestHttpServer server;
  server.Route("/slow", TTestReply::Silent());
  {
    TTickerRow row(EnglishTexts());
    row.ApplySettings({server.Url("/slow"), 15, 10, Qt::white});
    row.RefreshFeed();
    QTRY_COMPARE_WITH_TIMEOUT(server.RequestCount("/slow"), 1, 5000);
  }
  // The server's destructor ends the orphaned load; its result must go nowhere.
}

// ---- the refresh timer ----

struct TTimerCase {
  const char* Name;
  int Minutes;
  bool Active;
  int IntervalMs;
};

class TickerRowTimerTest : public TickerRowTest, public ::testing::WithParamInterface<TTimerCase> {};

TEST_P(TickerRowTimerTest, RefreshesEveryRRIMinutesWhileShown) {
  const TTimerCase& c = GetParam();
  Apply("/feed", c.Minutes);
  FRow.SetActive(c.Active);
  EXPECT_EQ(FRow.RefreshIntervalMs(), c.IntervalMs);
  EXPECT_EQ(FRow.RefreshTimerRunning(), c.IntervalMs > 0);
}

INSTANTIATE_TEST_SUITE_P(Settings, TickerRowTimerTest,
                         ::testing::Values(TTimerCase{"Default", 15, true, 900000},
                                           TTimerCase{"OneMinute", 1, true, 60000},
                                           TTimerCase{"Zero", 0, true, 0},
                                           TTimerCase{"TickerOff", 15, false, 0},
                                           TTimerCase{"Negative", -3, true, 0},
                                           // Beyond what a timer can count: the longest it can.
                                           TTimerCase{"Huge", 1000000, true, 35791 * 60000}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(TickerRowTest, SwitchingTheTickerOnAgainRestartsItsTimer) {
  Apply("/feed", 5);
  FRow.SetActive(false);
  EXPECT_FALSE(FRow.RefreshTimerRunning());
  FRow.SetActive(true);
  EXPECT_TRUE(FRow.RefreshTimerRunning());
}

TEST_F(TickerRowTest, StepIntervalReachesTheMarquee) {
  Apply("/feed", 15, 25);
  EXPECT_EQ(FRow.Ticker()->Interval(), 25);
}

// ---- the mouse ----

enum TAction { taPressTicker, taReleaseTicker, taClickIcon };

struct TMouseCase {
  const char* Name;
  std::vector<TAction> Actions;
  bool Active;
};

class TickerRowMouseTest : public TickerRowTest, public ::testing::WithParamInterface<TMouseCase> {};

TEST_P(TickerRowMouseTest, PausesAndResumes) {
  FServer->Route("/feed", TTestReply::Ok(Rss("", {"A", "B"})));
  Apply("/feed");
  ASSERT_TRUE(RefreshAndWait());
  const QPoint middle = FRow.Ticker()->rect().center();
  for (TAction action : GetParam().Actions) {
    switch (action) {
      case taPressTicker: QTest::mousePress(FRow.Ticker(), Qt::LeftButton, {}, middle); break;
      case taReleaseTicker: QTest::mouseRelease(FRow.Ticker(), Qt::LeftButton, {}, middle); break;
      case taClickIcon: QTest::mouseClick(FRow.SSRIcon(), Qt::LeftButton, {}, QPoint(8, 8)); break;
    }
  }
  EXPECT_EQ(FRow.Ticker()->Active(), GetParam().Active);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, TickerRowMouseTest,
    ::testing::Values(TMouseCase{"HeldDown", {taPressTicker}, false},
                      TMouseCase{"Released", {taPressTicker, taReleaseTicker}, true},
                      TMouseCase{"IconPauses", {taClickIcon}, false},
                      TMouseCase{"IconResumes", {taClickIcon, taClickIcon}, true},
                      TMouseCase{"ReleaseResumesAfterIconPause", {taClickIcon, taPressTicker, taReleaseTicker}, true}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(TickerRowTest, DoubleClicksOpenTheReader) {
  QSignalSpy reader(&FRow, &TTickerRow::OpenReaderRequested);
  QTest::mouseDClick(FRow.RSSImage(), Qt::LeftButton, {}, QPoint(8, 8));
  QTest::mouseDClick(FRow.SSRIcon(), Qt::LeftButton, {}, QPoint(8, 8));
  QTest::mouseDClick(FRow.Ticker(), Qt::LeftButton, {}, QPoint(20, 8));
  EXPECT_EQ(reader.count(), 3);
}

TEST_F(TickerRowTest, ClicksOnTheRssPictureAskForTheMenu) {
  QSignalSpy left(&FRow, &TTickerRow::IconClicked);
  QSignalSpy right(&FRow, &TTickerRow::MenuRequested);
  QTest::mouseClick(FRow.RSSImage(), Qt::LeftButton, {}, QPoint(8, 8));
  ASSERT_EQ(left.count(), 1);
  EXPECT_EQ(left.at(0).at(0).toPoint(), FRow.RSSImage()->mapToGlobal(QPoint(0, FRow.RSSImage()->height())));
  QTest::mouseClick(FRow.RSSImage(), Qt::RightButton, {}, QPoint(5, 6));
  ASSERT_EQ(right.count(), 1);
  EXPECT_EQ(right.at(0).at(0).toPoint(), FRow.RSSImage()->mapToGlobal(QPoint(5, 6)));
}

TEST_F(TickerRowTest, MouseMovesAreReported) {
  QSignalSpy moved(&FRow, &TTickerRow::MouseMovedOver);
  QTest::mouseMove(FRow.Ticker(), QPoint(30, 8));
  QTest::mouseMove(FRow.SSRIcon(), QPoint(4, 4));
  EXPECT_GE(moved.count(), 1);
}

TEST_F(TickerRowTest, RowLayout) {
  EXPECT_EQ(FRow.height(), 18);
  EXPECT_EQ(FRow.RSSImage()->geometry(), QRect(1, 1, 16, 16));
  EXPECT_EQ(FRow.SSRIcon()->geometry(), QRect(600 - 17, 1, 16, 16));
  EXPECT_EQ(FRow.Ticker()->geometry(), QRect(18, 0, 600 - 36, 18));
}

}  // namespace
}  // namespace zentrix
