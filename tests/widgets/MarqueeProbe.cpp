// A bar-sized window with a scrolling ticker and nothing else, for measuring what scrolling costs:
//   marquee_probe [step ms] [seconds]   (0 seconds: until killed)
#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

#include "widgets/Marquee.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const int stepMs = argc > 1 ? std::atoi(argv[1]) : 10;
  const int seconds = argc > 2 ? std::atoi(argv[2]) : 0;
  zentrix::TMarquee marquee;
  marquee.setWindowFlags(Qt::FramelessWindowHint);
  QFont font;
  font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")});
  font.setPixelSize(11);
  font.setBold(true);
  marquee.setFont(font);
  marquee.setGeometry(0, 19, 1280, 18);
  QString line;
  for (int i = 0; i < 40; ++i) line += QStringLiteral("   .::.   Headline number %1 of a long world news feed").arg(i);
  line += QStringLiteral("   .::.");
  marquee.AddLine(line);
  marquee.SetInterval(stepMs);
  marquee.show();
  marquee.SetActive(true);
  std::fprintf(stderr, "marquee_probe: %s\n", marquee.DrawsThroughX11() ? "xcb copies" : "Qt painting");
  QObject::connect(&marquee, &zentrix::TMarquee::Wrapped, &marquee, &zentrix::TMarquee::Reset);
  if (seconds > 0) QTimer::singleShot(seconds * 1000, &app, &QApplication::quit);
  return app.exec();
}
