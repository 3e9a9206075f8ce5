#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/AppBarShell.h"
#include "platform/Geometry.h"

namespace zentrix {

enum class TAppBarTimer { attCheck, attReaction };

// The window a TAppBar docks, as the bar needs it: its geometry and frame, its activation, the
// two timers it drives and the user's answers. The Qt window implements it; tests fake it.
class TAppBarWindow {
public:
  virtual ~TAppBarWindow() = default;

  // The native window the desktop knows.
  virtual TNativeWindow Handle() const = 0;

  // The window rectangle in screen coordinates, frame included.
  virtual TRect Bounds() const = 0;
  // Moves and sizes the window without activating or restacking it.
  virtual void SetBounds(const TRect& bounds) = 0;

  // A caption and a window menu (floating) or neither (docked); setting it redraws the frame.
  virtual bool Framed() const = 0;
  virtual void SetFramed(bool framed) = 0;

  virtual bool IsActive() const = 0;
  // False until the window is on the screen: a slide there would only delay the first show.
  virtual bool IsShown() const = 0;
  // The desktop setting that shows window contents while they are dragged.
  virtual bool DragFullWindows() const = 0;

  // A millisecond counter for the slide animation, and the pause between two of its frames
  // (paint the window at once, then let a frame's time pass).
  virtual std::int64_t TickMs() const = 0;
  virtual void SlideFrameShown() = 0;

  // Starts, re-times or stops one of the bar's timers; when it fires the owner calls
  // TAppBar::CheckTimerFired or ReactionTimerFired.
  virtual void SetTimer(TAppBarTimer timer, std::int32_t intervalMs, bool enabled) = 0;

  // Runs a task once the event loop is back, after the current handler.
  virtual void Post(std::function<void()> task) = 0;

  // A message with an information icon and an OK button.
  virtual void ShowInformation(const std::string& text) = 0;
};

}  // namespace zentrix
