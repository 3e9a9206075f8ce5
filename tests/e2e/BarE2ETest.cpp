// The real program under its own Xvfb and openbox: docking, the single instance, the clock,
// hot keys another client holds, and closing from the menu.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "appbar/XvfbSession.h"
#include "core/Clock.h"
#include "core/VersionInfo.h"
#include "settings/BarSettings.h"
#include "settings/DataFiles.h"
#include "settings/SettingsStore.h"
#include "support/RunProcess.h"
#include "support/TempDir.h"
#include "support/TestHttpServer.h"

extern char** environ;

namespace zentrix::test {
namespace {

using namespace std::chrono_literals;

// A running program with its own environment; killed when the test leaves it running.
class TChild {
public:
  TChild(const std::string& program, const std::vector<std::string>& args, const std::map<std::string, std::string>& env) {
    std::vector<std::string> envStrings;
    for (char** e = environ; *e; ++e) {
      const std::string entry = *e;
      if (!env.count(entry.substr(0, entry.find('=')))) envStrings.push_back(entry);
    }
    for (const auto& [k, v] : env) envStrings.push_back(k + "=" + v);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& e : envStrings) envp.push_back(e.data());
    envp.push_back(nullptr);
    if (posix_spawn(&FPid, program.c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0) FPid = -1;
  }
  ~TChild() {
    if (FPid > 0 && !FExited) {
      kill(FPid, SIGKILL);
      waitpid(FPid, nullptr, 0);
    }
  }
  pid_t Pid() const { return FPid; }
  // The exit status once the program ended within the time; nothing while it still runs.
  std::optional<int> WaitExit(std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    do {
      int status = 0;
      if (waitpid(FPid, &status, WNOHANG) == FPid) {
        FExited = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      std::this_thread::sleep_for(20ms);
    } while (std::chrono::steady_clock::now() < end);
    return std::nullopt;
  }
  bool Running() {
    int status = 0;
    if (FExited) return false;
    if (waitpid(FPid, &status, WNOHANG) == FPid) FExited = true;
    return !FExited;
  }

private:
  pid_t FPid = -1;
  bool FExited = false;
};

// Reads what the test needs from the X server.
class TX {
public:
  explicit TX(const std::string& display) {
    FConn = xcb_connect(display.c_str(), nullptr);
    FRoot = xcb_setup_roots_iterator(xcb_get_setup(FConn)).data->root;
  }
  ~TX() { xcb_disconnect(FConn); }
  xcb_connection_t* Conn() const { return FConn; }
  xcb_window_t Root() const { return FRoot; }
  xcb_atom_t Atom(const char* name) {
    xcb_intern_atom_reply_t* r =
        xcb_intern_atom_reply(FConn, xcb_intern_atom(FConn, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = r ? r->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    free(r);
    return atom;
  }
  std::vector<std::uint32_t> Cardinals(xcb_window_t w, const char* property) {
    std::vector<std::uint32_t> values;
    xcb_get_property_reply_t* r = xcb_get_property_reply(
        FConn, xcb_get_property(FConn, 0, w, Atom(property), XCB_GET_PROPERTY_TYPE_ANY, 0, 64), nullptr);
    if (r && r->format == 32) {
      const auto* data = static_cast<const std::uint32_t*>(xcb_get_property_value(r));
      values.assign(data, data + xcb_get_property_value_length(r) / 4);
    }
    free(r);
    return values;
  }
  std::string Name(xcb_window_t w) {
    std::string name;
    xcb_get_property_reply_t* r =
        xcb_get_property_reply(FConn, xcb_get_property(FConn, 0, w, Atom("_NET_WM_NAME"), XCB_GET_PROPERTY_TYPE_ANY, 0, 64), nullptr);
    if (r) name.assign(static_cast<const char*>(xcb_get_property_value(r)), static_cast<std::size_t>(xcb_get_property_value_length(r)));
    free(r);
    return name;
  }
  // The bar's top-level window: named after the application, of the dock type.
  xcb_window_t FindBar() { return Find(FRoot); }
  // Top of the work area of desktop 0.
  std::optional<std::uint32_t> WorkAreaTop() {
    const auto area = Cardinals(FRoot, "_NET_WORKAREA");
    if (area.size() < 4) return std::nullopt;
    return area[1];
  }

private:
  xcb_window_t Find(xcb_window_t parent) {
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(FConn, xcb_query_tree(FConn, parent), nullptr);
    if (!tree) return XCB_WINDOW_NONE;
    const xcb_window_t* children = xcb_query_tree_children(tree);
    const int count = xcb_query_tree_children_length(tree);
    xcb_window_t found = XCB_WINDOW_NONE;
    for (int i = 0; i < count && found == XCB_WINDOW_NONE; ++i) {
      if (Name(children[i]) == kApplicationTitle) {
        const auto types = Cardinals(children[i], "_NET_WM_WINDOW_TYPE");
        if (!types.empty() && types[0] == Atom("_NET_WM_WINDOW_TYPE_DOCK")) found = children[i];
      }
      if (found == XCB_WINDOW_NONE) found = Find(children[i]);
    }
    free(tree);
    return found;
  }
  xcb_connection_t* FConn;
  xcb_window_t FRoot;
};

template <typename F>
bool WaitFor(F condition, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < end) {
    if (condition()) return true;
    std::this_thread::sleep_for(50ms);
  }
  return condition();
}

std::map<std::string, std::string> ReadPanels(const std::filesystem::path& file) {
  std::map<std::string, std::string> panels;
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    const auto eq = line.find('=');
    if (eq != std::string::npos) panels[line.substr(0, eq)] = line.substr(eq + 1);
  }
  return panels;
}

class BarE2ETest : public testing::Test {
protected:
  void SetUp() override {
    if (!TXvfbSession::XvfbInstalled()) GTEST_SKIP() << "Xvfb is not installed";
    ASSERT_TRUE(FSession.Start(1024, 768)) << FSession.Error();
    FX.emplace(FSession.Display());
    std::filesystem::create_directories(FHome.Path() / "runtime");
    std::filesystem::permissions(FHome.Path() / "runtime", std::filesystem::perms::owner_all);
    FEnv = {{"DISPLAY", FSession.Display()},
            {"HOME", FHome.Path().string()},
            {"XDG_CONFIG_HOME", (FHome.Path() / "config").string()},
            {"XDG_DATA_HOME", (FHome.Path() / "data").string()},
            {"XDG_RUNTIME_DIR", (FHome.Path() / "runtime").string()},
            {"ZENTRIX_PANEL_DUMP", Dump().string()},
            {"QT_QPA_PLATFORM", "xcb"},
            {"LANG", "C.UTF-8"}};
  }

  std::filesystem::path Dump() const { return FHome.Path() / "panels.txt"; }
  std::filesystem::path SettingsFile() const {
    return SettingsFilePath(DataFolderPath(FHome.Path() / "data", BuildVersionInfo()));
  }
  // Settings written before the start; the feed points at a port nobody listens on.
  void WriteSettings(bool dt, const std::string& feed = "http://127.0.0.1:9/feed.xml", TDateTime event = 0) {
    TSettingsStore store(SettingsFile());
    TBarSettings s;
    s.DT = dt;
    s.RSS = feed;
    s.EC = event != 0;
    s.EN = "Launch";
    s.EDT = event;
    s.WRI = 0;
    std::filesystem::create_directories(SettingsFile().parent_path());
    SaveBarSettings(store, s);
    store.Flush();
  }
  std::unique_ptr<TChild> StartBar(std::vector<std::string> args = {}) {
    return std::make_unique<TChild>(ZENTRIX_PROGRAM, args, FEnv);
  }
  bool WaitDocked(std::uint32_t strut) {
    return WaitFor(
        [&] {
          const xcb_window_t bar = FX->FindBar();
          if (bar == XCB_WINDOW_NONE) return false;
          const auto partial = FX->Cardinals(bar, "_NET_WM_STRUT_PARTIAL");
          return partial.size() == 12 && partial[2] == strut && FX->WorkAreaTop() == strut;
        },
        15s);
  }
  void Screenshot(const std::string& name) {
    std::filesystem::create_directories(ZENTRIX_ARTIFACTS);
    const std::string file = std::string(ZENTRIX_ARTIFACTS) + "/" + name + ".png";
    const TProcessResult r = RunProcess("/usr/bin/import", {"-display", FSession.Display(), "-window", "root", file});
    EXPECT_EQ(r.ExitCode, 0) << r.Err;
  }
  // Opens the icon's menu and chooses an entry with the keyboard: "Up" is the last, Exit;
  // "Down" the first, auto hide.
  void ChooseFromMenu(const std::string& key, int times = 1) {
    const std::map<std::string, std::string> env = {{"DISPLAY", FSession.Display()}};
    RunProcess("/usr/bin/xdotool", {"mousemove", "8", "8", "click", "1"}, {}, env);
    std::this_thread::sleep_for(700ms);
    std::vector<std::string> keys = {"key"};
    for (int i = 0; i < times; ++i) keys.push_back(key);
    keys.push_back("Return");
    RunProcess("/usr/bin/xdotool", keys, {}, env);
  }
  void ExitFromMenu() { ChooseFromMenu("Up"); }

  TXvfbSession FSession;
  std::optional<TX> FX;
  TTempDir FHome;
  std::map<std::string, std::string> FEnv;
};

TEST_F(BarE2ETest, DocksAtTheTopAndReservesItsStrip) {
  struct TCase {
    const char* Name;
    bool DT;
    std::uint32_t Strut;
  };
  for (const TCase& c : {TCase{"ticker_on", true, 37}, TCase{"ticker_off", false, 19}}) {
    SCOPED_TRACE(c.Name);
    WriteSettings(c.DT);
    auto bar = StartBar();
    ASSERT_TRUE(WaitDocked(c.Strut)) << "strut " << c.Strut << ", work area top "
                                     << FX->WorkAreaTop().value_or(9999);
    const xcb_window_t window = FX->FindBar();
    const auto strut = FX->Cardinals(window, "_NET_WM_STRUT");
    ASSERT_EQ(strut.size(), 4u);
    EXPECT_EQ(strut[2], c.Strut);
    // The panels are filled by then.
    ASSERT_TRUE(WaitFor([&] { return ReadPanels(Dump()).count("TimePanel"); }, 5s));
    std::this_thread::sleep_for(1500ms);
    Screenshot(std::string("bar-docked-") + c.Name);
    bar.reset();
    ASSERT_TRUE(WaitFor([&] { return FX->WorkAreaTop() == 0u; }, 10s));
  }
}

TEST_F(BarE2ETest, SecondStartEndsAtOnceAndLeavesTheFirstRunning) {
  WriteSettings(false);
  auto first = StartBar();
  ASSERT_TRUE(WaitDocked(19));
  const auto started = std::chrono::steady_clock::now();
  auto second = StartBar();
  const std::optional<int> status = second->WaitExit(5s);
  ASSERT_TRUE(status.has_value()) << "the second start still runs";
  EXPECT_EQ(*status, 0);
  EXPECT_LT(std::chrono::steady_clock::now() - started, 3s);
  std::this_thread::sleep_for(500ms);
  EXPECT_TRUE(first->Running());
  EXPECT_EQ(FX->WorkAreaTop(), 19u);
}

TEST_F(BarE2ETest, TimePanelTurnsEverySecond) {
  // A countdown to two days and three hours from now.
  WriteSettings(false, "http://127.0.0.1:9/feed.xml", SystemClock().NowLocal() + 2.125);
  auto bar = StartBar();
  ASSERT_TRUE(WaitDocked(19));
  std::vector<std::string> seen;
  const auto end = std::chrono::steady_clock::now() + 4500ms;
  while (std::chrono::steady_clock::now() < end) {
    const std::string time = ReadPanels(Dump())["TimePanel"];
    if (!time.empty() && (seen.empty() || seen.back() != time)) seen.push_back(time);
    std::this_thread::sleep_for(100ms);
  }
  ASSERT_GE(seen.size(), 4u);
  const auto seconds = [](const std::string& t) {
    return std::stoi(t.substr(0, 2)) * 3600 + std::stoi(t.substr(3, 2)) * 60 + std::stoi(t.substr(6, 2));
  };
  for (std::size_t i = 1; i < seen.size(); ++i)
    EXPECT_EQ((seconds(seen[i]) - seconds(seen[i - 1]) + 86400) % 86400, 1) << seen[i - 1] << " -> " << seen[i];
  const auto panels = ReadPanels(Dump());
  for (const char* panel : {"SystemPanel", "CPUPanel", "MemPanel", "APMPanel", "DatePanel"}) {
    EXPECT_NE(panels.at(panel), "?") << panel;
    EXPECT_FALSE(panels.at(panel).empty()) << panel;
  }
  EXPECT_EQ(panels.at("CPUPanel").rfind("CPU: ", 0), 0u);
  const std::string countdown = panels.at("ECPanel");
  EXPECT_TRUE(countdown.rfind("Launch: 00.00.02 02:59:", 0) == 0 || countdown.rfind("Launch: 00.00.02 03:00:00", 0) == 0)
      << countdown;
  EXPECT_EQ(panels.at("MemPanel").rfind("Mem: ", 0), 0u);
}

TEST_F(BarE2ETest, TickerShowsTheFeedServedOnLoopback) {
  TTestHttpServer server;
  server.Route("/world.xml", TTestReply::Ok("<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>World</title>"
                                            "<link>http://example.org/</link><description>News</description>"
                                            "<item><title>First &amp; foremost</title><link>http://example.org/1</link>"
                                            "<description>One</description></item>"
                                            "<item><title>Second</title><link>http://example.org/2</link>"
                                            "<description>Two</description></item></channel></rss>",
                                            "application/rss+xml"));
  server.Route("/broken.xml", TTestReply::NotFound("<html><body>gone</body></html>"));
  struct TCase {
    const char* Name;
    std::string Target;
    std::string Line;
    std::string Hint;
  };
  for (const TCase& c : {TCase{"valid", "/world.xml", "   .::.   First & foremost   .::.   Second   .::.", "World"},
                         TCase{"failing", "/broken.xml", "", "This URL is not valid RSS feed."}}) {
    SCOPED_TRACE(c.Name);
    std::filesystem::remove(Dump());
    WriteSettings(true, server.Url(c.Target));
    auto bar = StartBar();
    ASSERT_TRUE(WaitDocked(37));
    EXPECT_TRUE(WaitFor([&] { return ReadPanels(Dump())["TickerHint"] == c.Hint; }, 10s))
        << ReadPanels(Dump())["TickerHint"];
    EXPECT_EQ(ReadPanels(Dump())["Ticker"], c.Line);
    EXPECT_GE(server.RequestCount(c.Target), 1);
    if (c.Line.size()) Screenshot("bar-ticker");
    bar.reset();
    ASSERT_TRUE(WaitFor([&] { return FX->WorkAreaTop() == 0u; }, 10s));
  }
}

TEST_F(BarE2ETest, AutoHideFromTheMenuReservesNothingAndIsSaved) {
  WriteSettings(false);
  auto bar = StartBar();
  ASSERT_TRUE(WaitDocked(19));
  ChooseFromMenu("Down");
  EXPECT_TRUE(WaitFor([&] { return FX->WorkAreaTop() == 0u; }, 5s)) << FX->WorkAreaTop().value_or(9999);
  EXPECT_TRUE(bar->Running());
  EXPECT_TRUE(WaitFor([&] { return TSettingsStore(SettingsFile()).ReadBoolean(BarPath("AH"), false); }, 5s));
}

TEST_F(BarE2ETest, PreferencesTurnTheTickerOffAndTheStripShrinks) {
  WriteSettings(true);
  auto bar = StartBar();
  ASSERT_TRUE(WaitDocked(37));
  // Above Exit and its separator: the preferences.
  ChooseFromMenu("Up", 2);
  const std::map<std::string, std::string> env = {{"DISPLAY", FSession.Display()}};
  std::this_thread::sleep_for(1500ms);
  Screenshot("preferences-open");
  // The first category button has the focus: down to the RSS page, into its controls, the
  // ticker's check box off, and OK as the default button.
  RunProcess("/usr/bin/xdotool", {"key", "Down", "Down", "Down", "Down", "Tab", "Tab"}, {}, env);
  std::this_thread::sleep_for(300ms);
  Screenshot("preferences-rss");
  RunProcess("/usr/bin/xdotool", {"key", "space", "Return"}, {}, env);
  ASSERT_TRUE(WaitDocked(19)) << "work area top " << FX->WorkAreaTop().value_or(9999);
  EXPECT_EQ(FX->Cardinals(FX->FindBar(), "_NET_WM_STRUT").at(2), 19u);
  // The strip shrinks as the settings are applied, a moment before they are written.
  EXPECT_TRUE(WaitFor([&] { return !TSettingsStore(SettingsFile()).ReadBoolean(BarPath("DT"), true); }, 5s));
  EXPECT_TRUE(bar->Running());
  Screenshot("preferences-ticker-off");

  // The choice outlives the run.
  ExitFromMenu();
  ASSERT_TRUE(bar->WaitExit(20s).has_value());
  auto again = StartBar();
  EXPECT_TRUE(WaitDocked(19)) << "work area top " << FX->WorkAreaTop().value_or(9999);
}

// The keycode of a Latin letter in the server's keyboard map.
xcb_keycode_t KeycodeOf(xcb_connection_t* c, std::uint32_t keysym) {
  const xcb_setup_t* setup = xcb_get_setup(c);
  const int count = setup->max_keycode - setup->min_keycode + 1;
  xcb_get_keyboard_mapping_reply_t* map =
      xcb_get_keyboard_mapping_reply(c, xcb_get_keyboard_mapping(c, setup->min_keycode, static_cast<std::uint8_t>(count)), nullptr);
  xcb_keycode_t found = 0;
  if (map) {
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map);
    for (int k = 0; k < count && !found; ++k)
      for (int i = 0; i < map->keysyms_per_keycode; ++i)
        if (syms[k * map->keysyms_per_keycode + i] == keysym) found = static_cast<xcb_keycode_t>(setup->min_keycode + k);
    free(map);
  }
  return found;
}

TEST_F(BarE2ETest, ClosingFromTheMenuSavesAndGivesTheStripBack) {
  // Another client holds Ctrl+Alt+K before the bar starts.
  const xcb_keycode_t k = KeycodeOf(FX->Conn(), 'k');
  ASSERT_NE(k, 0);
  xcb_generic_error_t* error = xcb_request_check(
      FX->Conn(), xcb_grab_key_checked(FX->Conn(), 1, FX->Root(), XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1, k,
                                       XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
  ASSERT_EQ(error, nullptr);

  auto bar = StartBar();
  ASSERT_TRUE(WaitDocked(37));
  ASSERT_TRUE(WaitFor([&] { return ReadPanels(Dump()).count("TimePanel"); }, 5s));
  ExitFromMenu();
  const std::optional<int> status = bar->WaitExit(20s);
  ASSERT_TRUE(status.has_value()) << "the bar did not close from its menu";
  EXPECT_EQ(*status, 0);
  EXPECT_TRUE(WaitFor([&] { return FX->WorkAreaTop() == 0u; }, 5s));

  ASSERT_TRUE(std::filesystem::exists(SettingsFile()));
  TSettingsStore store(SettingsFile());
  struct TKey {
    const char* Key;
    std::string Expected;
  };
  for (const TKey& key : {TKey{"acCalculator_ShortCut", "0"}, TKey{"acCalendar_ShortCut", "49234"},
                          TKey{"acDeskExp_ShortCut", "49228"}, TKey{"WL", "Prague,CZ"}, TKey{"RRI", "15"}})
    EXPECT_EQ(store.ReadString(BarPath(key.Key), "(missing)"), key.Expected) << key.Key;
  EXPECT_TRUE(store.ReadBoolean(BarPath("DT"), false));
  EXPECT_TRUE(store.ValueExists(std::string(kBarSection) + "\\NormPos"));
}

}  // namespace
}  // namespace zentrix::test
