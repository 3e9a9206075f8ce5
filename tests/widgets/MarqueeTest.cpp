// The marquee's operations on the plain painting path (the offscreen platform).
#include <gtest/gtest.h>

#include <QImage>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <string>
#include <vector>

#include "widgets/Marquee.h"

namespace zentrix {
namespace {

const QColor kTextColour(240, 202, 166);

template <typename T>
  requires requires(const T& row) { row.Name; }
void PrintTo(const T& row, std::ostream* os) {
  *os << row.Name;
}

class MarqueeTest : public ::testing::Test {
protected:
  void SetUp() override {
    FMarquee.resize(200, 18);
    FMarquee.SetTextColour(kTextColour);
    FMarquee.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&FMarquee));
  }

  // The leftmost and rightmost columns that show text, or -1 when none does.
  // On X11 the pixels are the server's: wait for the copy, then read them back from the window.
  std::pair<int, int> TextColumns() {
    QImage image;
    if (FMarquee.DrawsThroughX11()) {
      QTest::qWait(150);
      image = FMarquee.screen()->grabWindow(FMarquee.winId()).toImage();
    } else {
      image = FMarquee.grab().toImage();
    }
    int first = -1;
    int last = -1;
    for (int x = 0; x < image.width(); ++x)
      for (int y = 0; y < image.height(); ++y)
        if (image.pixelColor(x, y) != QColor(Qt::black)) {
          if (first < 0) first = x;
          last = x;
          break;
        }
    return {first, last};
  }

  TMarquee FMarquee;
};

TEST_F(MarqueeTest, TextEntersAtTheRightEdgeAndMovesOneStepAtATime) {
  FMarquee.AddLine(QStringLiteral("   .::.   Headline   .::."));
  ASSERT_GT(FMarquee.TextWidth(), 50);
  EXPECT_EQ(FMarquee.Offset(), 0);
  EXPECT_EQ(TextColumns().first, -1);  // nothing shown before the first step
  for (int i = 0; i < 60; ++i) FMarquee.Step();
  EXPECT_EQ(FMarquee.Offset(), 60 * TMarquee::StepWidth);
  const auto [first, last] = TextColumns();
  EXPECT_GE(first, 200 - 60);
  EXPECT_LT(first, 200 - 60 + 20);  // the leading blanks and the marker's first dot
  EXPECT_LE(last, 199);
}

TEST_F(MarqueeTest, WrapsOnceTheTextHasLeftAndStartsOver) {
  FMarquee.AddLine(QStringLiteral("Short"));
  QSignalSpy wrapped(&FMarquee, &TMarquee::Wrapped);
  const int steps = (FMarquee.TextWidth() + FMarquee.width()) / TMarquee::StepWidth;
  for (int i = 0; i < steps - 1; ++i) FMarquee.Step();
  EXPECT_EQ(wrapped.count(), 0);
  EXPECT_LE(TextColumns().second, 0);  // at most the text's last column is left, at the left edge
  FMarquee.Step();
  EXPECT_EQ(wrapped.count(), 1);
  EXPECT_EQ(FMarquee.Offset(), 0);
}

TEST_F(MarqueeTest, ResetStartsFromTheBeginning) {
  FMarquee.AddLine(QStringLiteral("Headline"));
  for (int i = 0; i < 30; ++i) FMarquee.Step();
  FMarquee.Reset();
  EXPECT_EQ(FMarquee.Offset(), 0);
  EXPECT_EQ(TextColumns().first, -1);
}

TEST_F(MarqueeTest, ContentChangesWaitForTheLastEndUpdate) {
  FMarquee.AddLine(QStringLiteral("Old"));
  const int oldWidth = FMarquee.TextWidth();
  FMarquee.BeginUpdate();
  FMarquee.BeginUpdate();
  FMarquee.ClearLines();
  FMarquee.AddLine(QStringLiteral("A much longer headline than before"));
  FMarquee.EndUpdate();
  EXPECT_EQ(FMarquee.TextWidth(), oldWidth);
  FMarquee.EndUpdate();
  EXPECT_GT(FMarquee.TextWidth(), oldWidth);
  FMarquee.EndUpdate();  // one too many does no harm
  EXPECT_EQ(FMarquee.Lines(), QStringList{QStringLiteral("A much longer headline than before")});
}

TEST_F(MarqueeTest, PlainTextShowsMarkupAsWritten) {
  FMarquee.AddLine(QStringLiteral("<b>x</b>"));
  TMarquee plain;
  plain.setFont(FMarquee.font());
  plain.AddLine(QStringLiteral("x"));
  EXPECT_GT(FMarquee.TextWidth(), 3 * plain.TextWidth());
}

// When the scrolling timer runs: only active, with text, shown and outside an update.
struct TTimerCase {
  const char* Name;
  bool Active;
  bool WithText;
  bool Shown;
  bool InUpdate;
  bool Scrolling;
};

class MarqueeTimerTest : public ::testing::TestWithParam<TTimerCase> {};

TEST_P(MarqueeTimerTest, ScrollsOnlyWhenThereIsSomethingToSee) {
  const TTimerCase& c = GetParam();
  TMarquee marquee;
  marquee.resize(100, 18);
  if (c.WithText) marquee.AddLine(QStringLiteral("News"));
  if (c.Shown) marquee.show();
  if (c.InUpdate) marquee.BeginUpdate();
  marquee.SetActive(c.Active);
  EXPECT_EQ(marquee.Scrolling(), c.Scrolling);
  if (c.InUpdate) {
    marquee.EndUpdate();
    EXPECT_EQ(marquee.Scrolling(), c.Active && c.WithText && c.Shown);
  }
}

INSTANTIATE_TEST_SUITE_P(States, MarqueeTimerTest,
                         ::testing::Values(TTimerCase{"ActiveShownWithText", true, true, true, false, true},
                                           TTimerCase{"Inactive", false, true, true, false, false},
                                           TTimerCase{"Empty", true, false, true, false, false},
                                           TTimerCase{"Hidden", true, true, false, false, false},
                                           TTimerCase{"DuringUpdate", true, true, true, true, false}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(MarqueeTest, TimerStepsAtTheInterval) {
  FMarquee.AddLine(QStringLiteral("Headline"));
  FMarquee.SetInterval(20);
  EXPECT_EQ(FMarquee.Interval(), 20);
  FMarquee.SetActive(true);
  QTest::qWait(300);
  FMarquee.SetActive(false);
  const int steps = FMarquee.Offset();
  EXPECT_GE(steps, 5);
  EXPECT_LE(steps, 16);
  QTest::qWait(60);
  EXPECT_EQ(FMarquee.Offset(), steps);  // paused stays put
}

TEST_F(MarqueeTest, IntervalBelowOneIsOne) {
  FMarquee.SetInterval(0);
  EXPECT_EQ(FMarquee.Interval(), 1);
  FMarquee.SetInterval(-20);
  EXPECT_EQ(FMarquee.Interval(), 1);
}

}  // namespace
}  // namespace zentrix
