#pragma once

#include <sys/types.h>

#include <string>

namespace zentrix::test {

// A private X server (Xvfb on a display it picks itself) with openbox managing it, for tests of
// real desktop behaviour. Both are stopped when the session ends.
class TXvfbSession {
public:
  TXvfbSession() = default;
  ~TXvfbSession();
  TXvfbSession(const TXvfbSession&) = delete;
  TXvfbSession& operator=(const TXvfbSession&) = delete;

  static bool XvfbInstalled();

  // Starts both and waits, at most timeoutSeconds each, until the server answers and the window
  // manager has announced itself. False, with Error() set, when either does not come up.
  bool Start(int width, int height, int timeoutSeconds = 15);
  void Stop();

  const std::string& Display() const { return FDisplay; }
  const std::string& Error() const { return FError; }

private:
  pid_t FXvfb = -1;
  pid_t FOpenbox = -1;
  std::string FDisplay;
  std::string FError;
};

}  // namespace zentrix::test
