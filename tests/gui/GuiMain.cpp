// Runs the Qt tests on the offscreen platform (unless one is set) with the XDG folders in a
// temporary folder, so no test sees or touches the user's own files.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "support/TempDir.h"

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  zentrix::test::TTempDir home;
  for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "XDG_CACHE_HOME"}) {
    const std::filesystem::path folder = home.Path() / name;
    std::filesystem::create_directories(folder);
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
    setenv(name, folder.c_str(), 1);
  }
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
