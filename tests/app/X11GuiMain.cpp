// Runs window tests that need a real X server (the bar docks and grabs keys) on a private Xvfb
// with openbox. Without Xvfb the tests skip themselves.
#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "appbar/XvfbSession.h"

namespace zentrix::test {
bool GXvfbRunning = false;
}

int main(int argc, char** argv) {
  using zentrix::test::TXvfbSession;
  ::testing::InitGoogleTest(&argc, argv);
  bool listing = false;
  for (int i = 1; i < argc; ++i) listing = listing || std::strcmp(argv[i], "--gtest_list_tests") == 0;
  auto session = std::make_unique<TXvfbSession>();
  if (!listing && TXvfbSession::XvfbInstalled() && session->Start(1024, 768)) {
    setenv("DISPLAY", session->Display().c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    zentrix::test::GXvfbRunning = true;
  } else {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  int result = 0;
  {
    QApplication app(argc, argv);
    result = RUN_ALL_TESTS();
  }
  session.reset();
  return result;
}
