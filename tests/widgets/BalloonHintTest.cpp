// The balloon: what it shows, where it points and how long it stays.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>

#include "widgets/BalloonHint.h"
#include "widgets/BarImages.h"

namespace zentrix {
namespace {

class BalloonHintTest : public ::testing::Test {
protected:
  void SetUp() override {
    FBar.setGeometry(0, 0, 800, 19);
    FAnchor = new QLabel(QStringLiteral("CPU"), &FBar);
    FAnchor->setGeometry(300, 0, 60, 19);
    FBar.show();
  }

  QWidget FBar;
  QLabel* FAnchor = nullptr;
  TBalloonHint FBalloon{&FBar};
};

TEST_F(BalloonHintTest, ShowsHeaderAndTextBelowTheAnchorAndClosesAfterItsTime) {
  FBalloon.ShowAt(FAnchor, QStringLiteral("CPU Information"), QStringLiteral("1 x Cpu - 2000 Mhz\r\n\r\nCore Count: 2"),
                  BalloonIcon(biCpu), 300);
  EXPECT_TRUE(FBalloon.isVisible());
  EXPECT_EQ(FBalloon.Header(), QStringLiteral("CPU Information"));
  EXPECT_EQ(FBalloon.TimeoutMs(), 300);
  // Below the bar, pointing at the anchor's middle.
  const QRect anchor(FAnchor->mapToGlobal(QPoint(0, 0)), FAnchor->size());
  EXPECT_EQ(FBalloon.TailTip(), QPoint(anchor.center().x(), anchor.bottom() + 1));
  EXPECT_GE(FBalloon.geometry().top(), anchor.bottom());
  // Three lines of text make it taller than a balloon of one.
  const int tall = FBalloon.height();
  QTest::qWait(100);
  EXPECT_TRUE(FBalloon.isVisible());
  QTRY_VERIFY_WITH_TIMEOUT(!FBalloon.isVisible(), 1000);

  FBalloon.ShowAt(FAnchor, QStringLiteral("CPU Information"), QStringLiteral("one line"), BalloonIcon(biCpu), 300);
  EXPECT_LT(FBalloon.height(), tall);
}

TEST_F(BalloonHintTest, ShowingAgainReplacesTheTextAndRestartsTheTime) {
  FBalloon.ShowAt(FAnchor, QStringLiteral("First"), QStringLiteral("a"), QPixmap(), 300);
  QTest::qWait(200);
  FBalloon.ShowAt(FAnchor, QStringLiteral("Second"), QStringLiteral("b"), QPixmap(), 300);
  EXPECT_EQ(FBalloon.Header(), QStringLiteral("Second"));
  EXPECT_EQ(FBalloon.Text(), QStringLiteral("b"));
  QTest::qWait(200);
  EXPECT_TRUE(FBalloon.isVisible());  // 400 ms after the first, 200 after the second
  QTRY_VERIFY_WITH_TIMEOUT(!FBalloon.isVisible(), 1000);
}

TEST_F(BalloonHintTest, AClickClosesIt) {
  FBalloon.ShowAt(FAnchor, QStringLiteral("Header"), QStringLiteral("text"), BalloonIcon(biTime));
  EXPECT_EQ(FBalloon.TimeoutMs(), 5000);
  QTest::mouseClick(&FBalloon, Qt::LeftButton, {}, QPoint(20, 20));
  EXPECT_FALSE(FBalloon.isVisible());
}

TEST_F(BalloonHintTest, StaysOnTheScreenAtItsRightEdge) {
  const QRect screen = FBar.screen()->geometry();
  FBar.setGeometry(screen.left(), screen.top(), screen.width(), 19);
  FAnchor->setGeometry(screen.width() - 20, 0, 20, 19);
  FBalloon.ShowAt(FAnchor, QStringLiteral("A rather long header for a balloon"), QStringLiteral("text"), QPixmap());
  EXPECT_LE(FBalloon.geometry().right(), screen.right());
  EXPECT_EQ(FBalloon.TailTip().x(), FAnchor->mapToGlobal(FAnchor->rect().center()).x());
}

}  // namespace
}  // namespace zentrix
