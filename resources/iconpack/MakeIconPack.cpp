// Paints the weather symbols and packs them into the icon pack, a zip archive of PNG files
// named as the weather service names its icons. Runs at build time: MakeIconPack OUTPUT.
#include <minizip/zip.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QtMath>

#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kSize = 64;

enum class TSky { skNone, skSun, skMoon };
enum class TCloud { clNone, clWhite, clGrey, clDark };
enum class TFall { faNone, faLightRain, faHeavyRain, faLightSnow, faHeavySnow, faSleet, faThunderRain };

struct TSymbol {
  const char* Name;
  TSky Sky;
  TCloud Cloud;
  TFall Fall;
  int Haze;  // lines of mist or fog, 0 for none
};

const std::vector<TSymbol> kSymbols = {
    {"wsymbol_0001_sunny.png", TSky::skSun, TCloud::clNone, TFall::faNone, 0},
    {"wsymbol_0002_sunny_intervals.png", TSky::skSun, TCloud::clWhite, TFall::faNone, 0},
    {"wsymbol_0003_white_cloud.png", TSky::skNone, TCloud::clWhite, TFall::faNone, 0},
    {"wsymbol_0004_black_low_cloud.png", TSky::skNone, TCloud::clDark, TFall::faNone, 0},
    {"wsymbol_0006_mist.png", TSky::skNone, TCloud::clNone, TFall::faNone, 3},
    {"wsymbol_0007_fog.png", TSky::skNone, TCloud::clNone, TFall::faNone, 5},
    {"wsymbol_0008_clear_sky_night.png", TSky::skMoon, TCloud::clNone, TFall::faNone, 0},
    {"wsymbol_0009_light_rain_showers.png", TSky::skSun, TCloud::clWhite, TFall::faLightRain, 0},
    {"wsymbol_0010_heavy_rain_showers.png", TSky::skSun, TCloud::clGrey, TFall::faHeavyRain, 0},
    {"wsymbol_0011_light_snow_showers.png", TSky::skSun, TCloud::clWhite, TFall::faLightSnow, 0},
    {"wsymbol_0012_heavy_snow_showers.png", TSky::skSun, TCloud::clGrey, TFall::faHeavySnow, 0},
    {"wsymbol_0013_sleet_showers.png", TSky::skSun, TCloud::clGrey, TFall::faSleet, 0},
    {"wsymbol_0016_thundery_showers.png", TSky::skSun, TCloud::clGrey, TFall::faThunderRain, 0},
    {"wsymbol_0017_cloudy_with_light_rain.png", TSky::skNone, TCloud::clGrey, TFall::faLightRain, 0},
    {"wsymbol_0018_cloudy_with_heavy_rain.png", TSky::skNone, TCloud::clDark, TFall::faHeavyRain, 0},
    {"wsymbol_0019_cloudy_with_light_snow.png", TSky::skNone, TCloud::clGrey, TFall::faLightSnow, 0},
    {"wsymbol_0020_cloudy_with_heavy_snow.png", TSky::skNone, TCloud::clDark, TFall::faHeavySnow, 0},
    {"wsymbol_0021_cloudy_with_sleet.png", TSky::skNone, TCloud::clDark, TFall::faSleet, 0},
    {"wsymbol_0024_thunderstorms.png", TSky::skNone, TCloud::clDark, TFall::faThunderRain, 0},
};

void PaintSun(QPainter& p, QPointF centre, qreal radius) {
  p.setPen(QPen(QColor(255, 190, 0), 3, Qt::SolidLine, Qt::RoundCap));
  for (int i = 0; i < 8; ++i) {
    const qreal a = i * M_PI / 4;
    p.drawLine(centre + QPointF(std::cos(a), std::sin(a)) * (radius + 4),
               centre + QPointF(std::cos(a), std::sin(a)) * (radius + 10));
  }
  QRadialGradient fill(centre, radius);
  fill.setColorAt(0, QColor(255, 240, 120));
  fill.setColorAt(1, QColor(255, 180, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(fill);
  p.drawEllipse(centre, radius, radius);
}

void PaintMoon(QPainter& p) {
  QPainterPath disc;
  disc.addEllipse(QPointF(32, 30), 20, 20);
  QPainterPath bite;
  bite.addEllipse(QPointF(42, 22), 17, 17);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(250, 235, 160));
  p.drawPath(disc.subtracted(bite));
}

void PaintCloud(QPainter& p, TCloud kind, bool withSky, bool withFall) {
  QColor top, bottom;
  switch (kind) {
    case TCloud::clWhite: top = QColor(255, 255, 255), bottom = QColor(210, 220, 232); break;
    case TCloud::clGrey: top = QColor(200, 205, 212), bottom = QColor(140, 148, 160); break;
    case TCloud::clDark: top = QColor(120, 126, 136), bottom = QColor(62, 66, 76); break;
    case TCloud::clNone: return;
  }
  const qreal dx = withSky ? 6 : 0;
  const qreal dy = withFall ? -8 : 0;
  // Puffs united into one outline (added as subpaths they would cut holes into each other).
  QPainterPath cloud;
  const QRectF puffs[] = {{8 + dx, 28 + dy, 22, 20}, {18 + dx, 16 + dy, 28, 28}, {36 + dx, 26 + dy, 20, 22}};
  for (const QRectF& puff : puffs) {
    QPainterPath shape;
    shape.addEllipse(puff);
    cloud = cloud.united(shape);
  }
  QPainterPath base;
  base.addRoundedRect(QRectF(14 + dx, 34 + dy, 36, 14), 6, 6);
  cloud = cloud.united(base);
  QLinearGradient fill(0, 16 + dy, 0, 48 + dy);
  fill.setColorAt(0, top);
  fill.setColorAt(1, bottom);
  p.setPen(QPen(bottom.darker(130), 1));
  p.setBrush(fill);
  p.drawPath(cloud);
}

void PaintDrops(QPainter& p, int count) {
  p.setPen(QPen(QColor(60, 140, 230), 2.5, Qt::SolidLine, Qt::RoundCap));
  for (int i = 0; i < count; ++i) {
    const qreal x = 18 + i * (30.0 / std::max(1, count - 1));
    p.drawLine(QPointF(x, 46), QPointF(x - 4, 58));
  }
}

void PaintFlakes(QPainter& p, int count) {
  p.setPen(QPen(QColor(235, 245, 255), 1.8, Qt::SolidLine, Qt::RoundCap));
  for (int i = 0; i < count; ++i) {
    const QPointF c(18 + i * (30.0 / std::max(1, count - 1)), i % 2 ? 56 : 50);
    for (int k = 0; k < 3; ++k) {
      const qreal a = k * M_PI / 3;
      const QPointF d(std::cos(a) * 4, std::sin(a) * 4);
      p.drawLine(c - d, c + d);
    }
  }
}

void PaintBolt(QPainter& p) {
  const QPolygonF bolt({{34, 40}, {26, 52}, {32, 52}, {28, 63}, {40, 48}, {34, 48}, {38, 40}});
  p.setPen(QPen(QColor(200, 120, 0), 1));
  p.setBrush(QColor(255, 214, 0));
  p.drawPolygon(bolt);
}

void PaintHaze(QPainter& p, int lines) {
  p.setPen(QPen(QColor(170, 178, 190), 4, Qt::SolidLine, Qt::RoundCap));
  for (int i = 0; i < lines; ++i) {
    const qreal y = 14 + i * (40.0 / std::max(1, lines - 1));
    const qreal inset = (i % 2) ? 12 : 6;
    p.drawLine(QPointF(inset, y), QPointF(kSize - inset, y));
  }
}

QByteArray PaintSymbol(const TSymbol& s) {
  QImage image(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const bool withCloud = s.Cloud != TCloud::clNone;
    const bool withFall = s.Fall != TFall::faNone;
    if (s.Sky == TSky::skSun) {
      if (withCloud)
        PaintSun(p, QPointF(22, 20), 10);
      else
        PaintSun(p, QPointF(32, 32), 15);
    }
    if (s.Sky == TSky::skMoon) PaintMoon(p);
    PaintCloud(p, s.Cloud, s.Sky != TSky::skNone, withFall);
    switch (s.Fall) {
      case TFall::faLightRain: PaintDrops(p, 3); break;
      case TFall::faHeavyRain: PaintDrops(p, 5); break;
      case TFall::faLightSnow: PaintFlakes(p, 3); break;
      case TFall::faHeavySnow: PaintFlakes(p, 5); break;
      case TFall::faSleet: PaintDrops(p, 2), PaintFlakes(p, 2); break;
      case TFall::faThunderRain: PaintBolt(p), PaintDrops(p, 2); break;
      case TFall::faNone: break;
    }
    if (s.Haze > 0) PaintHaze(p, s.Haze);
  }
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) return {};
  return png;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: MakeIconPack OUTPUT.iml\n");
    return 2;
  }
  zipFile zip = zipOpen64(argv[1], APPEND_STATUS_CREATE);
  if (zip == nullptr) {
    std::fprintf(stderr, "MakeIconPack: cannot create %s\n", argv[1]);
    return 1;
  }
  int status = 0;
  for (const TSymbol& s : kSymbols) {
    const QByteArray png = PaintSymbol(s);
    // A fixed time stamp keeps the archive the same from build to build.
    zip_fileinfo info{};
    info.tmz_date = {0, 0, 0, 1, 0, 2026};
    if (png.isEmpty() ||
        zipOpenNewFileInZip(zip, s.Name, &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, Z_DEFAULT_COMPRESSION) !=
            ZIP_OK ||
        zipWriteInFileInZip(zip, png.constData(), static_cast<unsigned>(png.size())) != ZIP_OK ||
        zipCloseFileInZip(zip) != ZIP_OK) {
      std::fprintf(stderr, "MakeIconPack: cannot write %s\n", s.Name);
      status = 1;
      break;
    }
  }
  if (zipClose(zip, nullptr) != ZIP_OK) status = 1;
  return status;
}
