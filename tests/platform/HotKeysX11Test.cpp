// Hot keys against a private Xvfb with openbox; keys are typed with xdotool (XTEST).
#include <gtest/gtest.h>

#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "XvfbSession.h"
#include "platform/linux/X11HotKeys.h"
#include "support/RunProcess.h"

namespace zentrix {
namespace {

using test::TXvfbSession;

// RunProcess does not search PATH.
std::string Xdotool() {
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  for (std::size_t start = 0; start <= dirs.size();) {
    std::size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    const std::string candidate = dirs.substr(start, end - start) + "/xdotool";
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
    start = end + 1;
  }
  return "/usr/bin/xdotool";
}

constexpr std::uint16_t kCtrlAltK = 0xC04B;
constexpr std::uint16_t kCtrlAltL = 0xC04C;

class X11HotKeysTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    if (!TXvfbSession::XvfbInstalled()) return;
    FSession = new TXvfbSession;
    if (!FSession->Start(800, 600)) {
      FStartError = FSession->Error();
      delete FSession;
      FSession = nullptr;
    }
  }
  static void TearDownTestSuite() {
    delete FSession;
    FSession = nullptr;
  }

  void SetUp() override {
    if (!FSession) GTEST_SKIP() << "no Xvfb: " << FStartError;
    FConnection = xcb_connect(FSession->Display().c_str(), nullptr);
    ASSERT_EQ(xcb_connection_has_error(FConnection), 0);
    FRoot = xcb_setup_roots_iterator(xcb_get_setup(FConnection)).data->root;
    FHotKeys = std::make_unique<TX11HotKeys>(FConnection, FRoot);
    FHotKeys->OnHotKey = [this](int id) { FFired.push_back(id); };
  }
  void TearDown() override {
    FHotKeys.reset();
    if (FConnection) xcb_disconnect(FConnection);
  }

  void Type(const std::vector<std::string>& args) {
    const auto result = test::RunProcess(Xdotool(), args, {}, {{"DISPLAY", FSession->Display()}}, 20);
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
  }

  // Feeds our events to the hot keys until one fired or the time is up; the state of the last
  // key press seen is kept for the checks.
  std::optional<int> WaitForHotKey(std::chrono::milliseconds timeout = std::chrono::seconds(3)) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
      while (xcb_generic_event_t* event = xcb_poll_for_event(FConnection)) {
        if ((event->response_type & 0x7F) == XCB_KEY_PRESS)
          FLastState = reinterpret_cast<xcb_key_press_event_t*>(event)->state;
        FHotKeys->HandleEvent(event);
        std::free(event);
      }
      if (!FFired.empty()) {
        const int id = FFired.front();
        FFired.erase(FFired.begin());
        return id;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return std::nullopt;
  }

  static TXvfbSession* FSession;
  static std::string FStartError;
  xcb_connection_t* FConnection = nullptr;
  xcb_window_t FRoot = 0;
  std::unique_ptr<TX11HotKeys> FHotKeys;
  std::vector<int> FFired;
  std::uint16_t FLastState = 0;
};

TXvfbSession* X11HotKeysTest::FSession = nullptr;
std::string X11HotKeysTest::FStartError;

// Another X client that holds a grab of its own.
class TOtherClient {
public:
  explicit TOtherClient(const std::string& display) : FConnection(xcb_connect(display.c_str(), nullptr)) {
    FRoot = xcb_setup_roots_iterator(xcb_get_setup(FConnection)).data->root;
  }
  ~TOtherClient() { xcb_disconnect(FConnection); }
  xcb_connection_t* Connection() const { return FConnection; }
  xcb_window_t Root() const { return FRoot; }

private:
  xcb_connection_t* FConnection;
  xcb_window_t FRoot = 0;
};

TEST_F(X11HotKeysTest, ARegisteredCombinationFiresItsId) {
  ASSERT_TRUE(FHotKeys->Register(3, kCtrlAltK));
  ASSERT_TRUE(FHotKeys->Register(1, kCtrlAltL));
  Type({"key", "ctrl+alt+k"});
  EXPECT_EQ(WaitForHotKey(), 3);
  Type({"key", "ctrl+alt+l"});
  EXPECT_EQ(WaitForHotKey(), 1);
}

TEST_F(X11HotKeysTest, OtherModifiersDoNotFire) {
  ASSERT_TRUE(FHotKeys->Register(3, kCtrlAltK));
  // Ctrl+Shift+Alt+K is not ours: not grabbed, so no key press reaches us at all.
  Type({"key", "ctrl+shift+alt+k"});
  EXPECT_EQ(WaitForHotKey(std::chrono::milliseconds(500)), std::nullopt);
}

TEST_F(X11HotKeysTest, StillFiresWithNumLockAndCapsLockOn) {
  ASSERT_TRUE(FHotKeys->Register(3, kCtrlAltK));
  constexpr std::uint16_t kPlain = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;
  struct TLock {
    const char* Key;
    std::uint16_t Expected;  // lock bits the press must carry, 0 meaning "some other than Caps"
  };
  // Locks are toggled one after the other, so the last round has both on.
  for (const TLock& lock : {TLock{"Num_Lock", 0}, TLock{"Caps_Lock", XCB_MOD_MASK_LOCK}}) {
    Type({"key", lock.Key});
    Type({"key", "ctrl+alt+k"});
    EXPECT_EQ(WaitForHotKey(), 3) << lock.Key;
    const std::uint16_t locks = FLastState & ~kPlain;
    const std::uint16_t wanted = lock.Expected != 0 ? lock.Expected : static_cast<std::uint16_t>(~XCB_MOD_MASK_LOCK);
    EXPECT_NE(locks & wanted, 0) << lock.Key << " was not on";
  }
  Type({"key", "Num_Lock"});
  Type({"key", "Caps_Lock"});
}

TEST_F(X11HotKeysTest, ACombinationOwnedByAnotherClientIsRefusedWithoutEndingUs) {
  TOtherClient other(FSession->Display());
  TX11HotKeys owner(other.Connection(), other.Root());
  ASSERT_TRUE(owner.Register(7, kCtrlAltK));

  EXPECT_FALSE(FHotKeys->Register(3, kCtrlAltK));
  // The refusal did not break our connection, and other combinations still work.
  EXPECT_EQ(xcb_connection_has_error(FConnection), 0);
  ASSERT_TRUE(FHotKeys->Register(1, kCtrlAltL));
  Type({"key", "ctrl+alt+l"});
  EXPECT_EQ(WaitForHotKey(), 1);
}

TEST_F(X11HotKeysTest, UnregisterReleasesEveryLockVariant) {
  ASSERT_TRUE(FHotKeys->Register(3, kCtrlAltK));
  FHotKeys->Unregister(3);
  xcb_flush(FConnection);
  // Another client can now take all four variants, so none of ours was left behind.
  TOtherClient other(FSession->Display());
  TX11HotKeys taker(other.Connection(), other.Root());
  EXPECT_TRUE(taker.Register(7, kCtrlAltK));
  Type({"key", "ctrl+alt+k"});
  EXPECT_EQ(WaitForHotKey(std::chrono::milliseconds(500)), std::nullopt);
}

TEST_F(X11HotKeysTest, OneCombinationServesOneIdOnly) {
  ASSERT_TRUE(FHotKeys->Register(3, kCtrlAltK));
  EXPECT_FALSE(FHotKeys->Register(5, kCtrlAltK));
  // The refused second registration took nothing away from the first.
  Type({"key", "ctrl+alt+k"});
  EXPECT_EQ(WaitForHotKey(), 3);
  // Registering an id again replaces its combination.
  ASSERT_TRUE(FHotKeys->Register(3, kCtrlAltL));
  ASSERT_TRUE(FHotKeys->Register(5, kCtrlAltK));
  Type({"key", "ctrl+alt+k"});
  EXPECT_EQ(WaitForHotKey(), 5);
}

TEST_F(X11HotKeysTest, EmptyAndUnknownCodesAreRefused) {
  for (std::uint16_t code : {std::uint16_t{0}, std::uint16_t{0xC000}, std::uint16_t{0xC0FF}})
    EXPECT_FALSE(FHotKeys->Register(2, code)) << code;
}

}  // namespace
}  // namespace zentrix
