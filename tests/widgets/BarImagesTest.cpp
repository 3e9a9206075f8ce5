// The bar's own pictures: the right size, drawn, and told apart.
#include <gtest/gtest.h>

#include <QImage>
#include <map>
#include <string>
#include <vector>

#include "widgets/BarImages.h"

namespace zentrix {
namespace {

struct TImageCase {
  const char* Name;
  QPixmap (*Make)();
};

int OpaquePixels(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(image.pixel(x, y)) > 128) ++count;
  return count;
}

const std::vector<TImageCase>& Images() {
  static const std::vector<TImageCase> images = {
      {"Program", [] { return ProgramIcon(); }},
      {"Rss", RssIcon},
      {"Pause", PauseIcon},
      {"Play", PlayIcon},
      {"Date", [] { return BalloonIcon(biDate); }},
      {"Time", [] { return BalloonIcon(biTime); }},
      {"Cpu", [] { return BalloonIcon(biCpu); }},
      {"System", [] { return BalloonIcon(biSystem); }},
      {"Memory", [] { return BalloonIcon(biMemory); }},
      {"Power", [] { return BalloonIcon(biPower); }},
      {"Weather", [] { return BalloonIcon(biWeather); }},
      {"Countdown", [] { return BalloonIcon(biCountdown); }},
  };
  return images;
}

TEST(BarImagesTest, EveryPictureIsSixteenSquareDrawnAndUnlikeTheOthers) {
  std::map<QByteArray, std::string> seen;
  for (const TImageCase& c : Images()) {
    SCOPED_TRACE(c.Name);
    const QImage image = c.Make().toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(image.size(), QSize(16, 16));
    EXPECT_GT(OpaquePixels(image), 40);
    const QByteArray bytes(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
    const auto [it, fresh] = seen.emplace(bytes, c.Name);
    EXPECT_TRUE(fresh) << "same picture as " << it->second;
  }
}

TEST(BarImagesTest, ProgramIconScales) {
  for (int size : {16, 32, 48}) {
    const QImage image = ProgramIcon(size).toImage();
    EXPECT_EQ(image.size(), QSize(size, size));
    EXPECT_GT(OpaquePixels(image), size * size / 2);
  }
}

TEST(BarImagesTest, AnIndexWithoutPictureGivesTheProgramIcon) {
  EXPECT_EQ(BalloonIcon(static_cast<TBalloonIcon>(26)).toImage(), ProgramIcon().toImage());
}

}  // namespace
}  // namespace zentrix
