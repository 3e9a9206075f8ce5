#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "platform/OpenAddress.h"
#include "support/TempDir.h"

namespace zentrix {
namespace {

struct TAddressCase {
  const char* Name;
  const char* Url;
  bool Openable;
};

class OpenableAddress : public ::testing::TestWithParam<TAddressCase> {};

TEST_P(OpenableAddress, OnlyWebMailAndFileAddresses) {
  EXPECT_EQ(IsOpenableAddress(GetParam().Url), GetParam().Openable);
  // Refused addresses are never handed to a handler.
  if (!GetParam().Openable) {
    EXPECT_FALSE(OpenAddress(GetParam().Url));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, OpenableAddress,
    ::testing::Values(TAddressCase{"Https", "https://zentrix.invalid/", true},
                      TAddressCase{"HttpUpperCase", "HTTP://zentrix.invalid/", true},
                      TAddressCase{"Mailto", "mailto:someone@zentrix.invalid", true},
                      TAddressCase{"File", "file:///tmp/x.html", true}, TAddressCase{"Empty", "", false},
                      TAddressCase{"SchemeOnly", "https://", false},
                      TAddressCase{"OptionLike", "--help", false},
                      TAddressCase{"OtherScheme", "javascript:alert(1)", false},
                      TAddressCase{"PlainPath", "/etc/passwd", false},
                      TAddressCase{"ControlCharacter", "https://a/\nb", false}),
    [](const auto& info) { return std::string(info.param.Name); });

// A stand-in xdg-open first on PATH records the arguments it was given.
class OpenAddressHandler : public ::testing::Test {
protected:
  void SetUp() override {
    const std::filesystem::path script = FDir.Path() / "xdg-open";
    std::ofstream(script) << "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > \"" << (FDir.Path() / "args.tmp").string()
                          << "\"\nmv \"" << (FDir.Path() / "args.tmp").string() << "\" \"" << Record().string() << "\"\n";
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    const char* path = std::getenv("PATH");
    FOldPath = path ? path : "";
    setenv("PATH", (FDir.Path().string() + ":" + FOldPath).c_str(), 1);
  }
  void TearDown() override { setenv("PATH", FOldPath.c_str(), 1); }

  std::filesystem::path Record() const { return FDir.Path() / "args"; }
  // The handler runs on its own; wait until it has written its record.
  std::string WaitForRecord() {
    for (int i = 0; i < 300 && !std::filesystem::exists(Record()); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::ifstream in(Record());
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  test::TTempDir FDir;
  std::string FOldPath;
};

TEST_F(OpenAddressHandler, GetsTheAddressAsOneArgumentUntouchedByAShell) {
  const std::string url = "https://zentrix.invalid/a b?x=1&y=$(touch pwned);echo `id` 'q\"";
  ASSERT_TRUE(OpenAddress(url));
  EXPECT_EQ(WaitForRecord(), "1\n" + url + "\n");
  EXPECT_FALSE(std::filesystem::exists("pwned"));
}

}  // namespace
}  // namespace zentrix
