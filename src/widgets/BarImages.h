#pragma once

#include <QPixmap>

namespace zentrix {

// The balloons' pictures. The values are the positions in the bar's image list, the numbers the
// balloon texts carry (TBalloonText::Icon).
enum TBalloonIcon : int {
  biProgram = 0,     // the about balloon: the program icon
  biDate = 3,        // a desk calendar page
  biTime = 7,        // a clock face
  biCpu = 10,        // a processor chip
  biSystem = 11,     // a computer with monitor
  biMemory = 12,     // a memory module
  biPower = 20,      // a battery
  biWeather = 23,    // sun and cloud
  biCountdown = 25,  // a stopwatch
};

QPixmap ProgramIcon(int size = 16);
QPixmap RssIcon();
QPixmap PauseIcon();
QPixmap PlayIcon();
// 16 x 16; an index that names no picture gives the program icon.
QPixmap BalloonIcon(TBalloonIcon icon);

}  // namespace zentrix
