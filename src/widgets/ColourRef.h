#pragma once

#include <QColor>

namespace zentrix {

// Colours as the settings file stores them: 0x00BBGGRR.
inline QColor ColourFromRef(int colourRef) {
  return QColor(colourRef & 0xFF, (colourRef >> 8) & 0xFF, (colourRef >> 16) & 0xFF);
}
inline int RefFromColour(const QColor& colour) {
  return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

}  // namespace zentrix
