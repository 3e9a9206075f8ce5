// A bar-sized window with a scrolling ticker and nothing else, for measuring what scrolling costs:
//   marquee_probe [step ms] [seconds] [pause after seconds]   (0 seconds: until killed)
#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

#include "widgets/Marquee.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const int stepMs = argc > 1 ? std::atoi(argv[1]) : 10;
  const int seconds = argc > 2 ? std::atoi(argv[2]) : 0;
  // Laid out as in the bar: a black window of two rows, the marquee in the second.
  QWidget bar;
  bar.setWindowFlags(Qt::FramelessWindowHint);
  bar.setStyleSheet(QStringLiteral("background: black"));
  bar.setGeometry(0, 0, 1280, 37);
  zentrix::TMarquee marquee(&bar);
  QFont font;
  font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")});
  font.setPixelSize(11);
  font.setBold(true);
  marquee.setFont(font);
  marquee.setGeometry(18, 19, 1280 - 36, 18);
  QString line;
  for (int i = 0; i < 40; ++i) line += QStringLiteral("   .::.   Headline number %1 of a long world news feed").arg(i);
  line += QStringLiteral("   .::.");
  marquee.AddLine(line);
  marquee.SetInterval(stepMs);
  bar.show();
  marquee.SetActive(true);
  std::fprintf(stderr, "marquee_probe: %s\n", marquee.DrawsThroughX11() ? "xcb copies" : "Qt painting");
  QObject::connect(&marquee, &zentrix::TMarquee::Wrapped, &marquee, &zentrix::TMarquee::Reset);
  if (argc > 3) QTimer::singleShot(std::atoi(argv[3]) * 1000, &marquee, [&marquee] { marquee.SetActive(false); });
  if (seconds > 0) QTimer::singleShot(seconds * 1000, &app, &QApplication::quit);
  return app.exec();
}
