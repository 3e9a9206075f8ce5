// The X11 shell against a real X server (Xvfb) and window manager (openbox).
#include <gtest/gtest.h>

#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>
#include <xcb/xcb_icccm.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "XvfbSession.h"
#include "appbar/AppBar.h"
#include "platform/linux/X11AppBarShell.h"
#include "support/TempDir.h"

namespace zentrix {
namespace {

using namespace std::chrono_literals;

constexpr int kWidth = 1024, kHeight = 768;

// One X client: a connection with its EWMH atoms.
class TClient {
public:
  explicit TClient(const std::string& display) : FConnection(xcb_connect(display.c_str(), nullptr)) {
    if (xcb_connection_has_error(FConnection)) return;
    FRoot = xcb_setup_roots_iterator(xcb_get_setup(FConnection)).data->root;
    xcb_ewmh_init_atoms_replies(&FEwmh, xcb_ewmh_init_atoms(FConnection, &FEwmh), nullptr);
    FReady = true;
  }
  ~TClient() {
    if (FReady) xcb_ewmh_connection_wipe(&FEwmh);
    xcb_disconnect(FConnection);
  }
  TClient(const TClient&) = delete;
  TClient& operator=(const TClient&) = delete;

  bool Ready() const { return FReady; }
  xcb_connection_t* Connection() const { return FConnection; }
  xcb_window_t Root() const { return FRoot; }
  const xcb_ewmh_connection_t& Ewmh() const { return FEwmh; }

  xcb_window_t CreateWindow(TRect r) {
    const xcb_window_t w = xcb_generate_id(FConnection);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(FConnection)).data;
    const std::uint32_t values[] = {screen->black_pixel};
    xcb_create_window(FConnection, XCB_COPY_FROM_PARENT, w, FRoot, static_cast<std::int16_t>(r.Left),
                      static_cast<std::int16_t>(r.Top), static_cast<std::uint16_t>(r.Width()),
                      static_cast<std::uint16_t>(r.Height()), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                      XCB_CW_BACK_PIXEL, values);
    xcb_flush(FConnection);
    return w;
  }

  std::vector<std::uint32_t> Property(xcb_window_t w, xcb_atom_t property, xcb_atom_t type) const {
    xcb_get_property_reply_t* reply =
        xcb_get_property_reply(FConnection, xcb_get_property(FConnection, 0, w, property, type, 0, 64), nullptr);
    std::vector<std::uint32_t> values;
    if (reply && reply->type == type && reply->format == 32) {
      const auto* v = static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
      values.assign(v, v + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
    return values;
  }
  std::vector<std::uint32_t> Cardinals(xcb_window_t w, xcb_atom_t property) const {
    return Property(w, property, XCB_ATOM_CARDINAL);
  }
  bool HasState(xcb_window_t w, xcb_atom_t state) const {
    const auto states = Property(w, FEwmh._NET_WM_STATE, XCB_ATOM_ATOM);
    return std::find(states.begin(), states.end(), state) != states.end();
  }
  std::string AtomName(xcb_atom_t atom) const {
    xcb_get_atom_name_reply_t* reply =
        xcb_get_atom_name_reply(FConnection, xcb_get_atom_name(FConnection, atom), nullptr);
    std::string name = reply ? std::string(xcb_get_atom_name_name(reply), xcb_get_atom_name_name_length(reply)) : "?";
    std::free(reply);
    return name;
  }
  // The work area's top and height on the first desktop.
  std::pair<std::int64_t, std::int64_t> WorkAreaTopAndHeight() const {
    const auto wa = Cardinals(FRoot, FEwmh._NET_WORKAREA);
    if (wa.size() < 4) return {-1, -1};
    return {wa[1], wa[3]};
  }
  TRect Geometry(xcb_window_t w) const {
    xcb_get_geometry_reply_t* g = xcb_get_geometry_reply(FConnection, xcb_get_geometry(FConnection, w), nullptr);
    xcb_translate_coordinates_reply_t* t = xcb_translate_coordinates_reply(
        FConnection, xcb_translate_coordinates(FConnection, w, FRoot, 0, 0), nullptr);
    TRect r;
    if (g && t) r = {t->dst_x, t->dst_y, t->dst_x + g->width, t->dst_y + g->height};
    std::free(g);
    std::free(t);
    return r;
  }

private:
  xcb_connection_t* FConnection;
  xcb_window_t FRoot = XCB_WINDOW_NONE;
  xcb_ewmh_connection_t FEwmh{};
  bool FReady = false;
};

// A plain xcb window as the bar's window. Like a toolkit window it answers the geometry it last
// asked for: the window manager applies requests in its own time.
class TXcbBarWindow : public TAppBarWindow {
public:
  TXcbBarWindow(TClient& client, xcb_window_t window, TRect bounds)
      : FClient(client), FWindow(window), FBounds(bounds) {}

  TNativeWindow Handle() const override { return FWindow; }
  TRect Bounds() const override { return FBounds; }
  void SetBounds(const TRect& r) override {
    FBounds = r;
    // A position of the program's choosing: the window manager must not place the window itself.
    xcb_size_hints_t hints{};
    xcb_icccm_size_hints_set_position(&hints, 1, r.Left, r.Top);
    xcb_icccm_size_hints_set_size(&hints, 1, r.Width(), r.Height());
    xcb_icccm_set_wm_normal_hints(FClient.Connection(), FWindow, &hints);
    const std::uint32_t values[] = {static_cast<std::uint32_t>(r.Left), static_cast<std::uint32_t>(r.Top),
                                    static_cast<std::uint32_t>(std::max(r.Width(), 1)),
                                    static_cast<std::uint32_t>(std::max(r.Height(), 1))};
    xcb_configure_window(FClient.Connection(), FWindow,
                         XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                             XCB_CONFIG_WINDOW_HEIGHT,
                         values);
    xcb_flush(FClient.Connection());
  }
  bool Framed() const override { return FFramed; }
  void SetFramed(bool framed) override { FFramed = framed; }
  bool IsActive() const override { return false; }
  bool IsShown() const override { return true; }
  bool DragFullWindows() const override { return true; }
  std::int64_t TickMs() const override {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
  void SlideFrameShown() override { std::this_thread::sleep_for(10ms); }
  void SetTimer(TAppBarTimer, std::int32_t, bool) override {}
  void Post(std::function<void()> task) override { FPosted.push_back(std::move(task)); }
  void ShowInformation(const std::string& text) override { FMessages.push_back(text); }

  void RunPosted() {
    while (!FPosted.empty()) {
      auto task = std::move(FPosted.front());
      FPosted.pop_front();
      task();
    }
  }

  std::vector<std::string> FMessages;

private:
  TClient& FClient;
  xcb_window_t FWindow;
  TRect FBounds;
  bool FFramed = false;
  std::deque<std::function<void()>> FPosted;
};

// A program with one bar: its own connection, shell, window and TAppBar.
struct TBarProgram {
  TClient Client;
  std::unique_ptr<TX11AppBarShell> Shell;
  xcb_window_t Window = XCB_WINDOW_NONE;
  std::unique_ptr<TXcbBarWindow> BarWindow;
  std::unique_ptr<TAppBar> Bar;

  TBarProgram(const std::string& display, const std::function<void(TAppBarSettings&)>& setup) : Client(display) {
    if (!Client.Ready()) return;
    Shell = std::make_unique<TX11AppBarShell>(Client.Connection());
    const TRect start{100, 100, 300, 150};
    Window = Client.CreateWindow(start);
    BarWindow = std::make_unique<TXcbBarWindow>(Client, Window, start);
    Bar = std::make_unique<TAppBar>(*Shell, *BarWindow, EnglishTexts());
    TAppBarSettings& s = Bar->ABS();
    s.abFlags = abfAllowTop;
    s.szDockSize = {37, 37};
    s.szMinDockSize = {37, 37};
    s.abTaskEntry = abtHide;
    s.bSlideEffect = false;
    if (setup) setup(s);
    // As the bar's window does: docked before it is first shown.
    Bar->Create();
    xcb_map_window(Client.Connection(), Window);
    xcb_flush(Client.Connection());
    BarWindow->RunPosted();
  }

  void Pump() {
    while (xcb_generic_event_t* e = xcb_poll_for_event(Client.Connection())) {
      Shell->HandleEvent(e);
      std::free(e);
    }
  }
};

// Lets the programs handle their events until done() holds or 5 s have passed.
bool Eventually(const std::vector<TBarProgram*>& programs, const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  while (std::chrono::steady_clock::now() < deadline) {
    for (TBarProgram* p : programs) p->Pump();
    if (done()) return true;
    std::this_thread::sleep_for(10ms);
  }
  return false;
}

class X11AppBarShellTest : public testing::Test {
protected:
  static void SetUpTestSuite() {
    if (!test::TXvfbSession::XvfbInstalled()) return;
    FSession = new test::TXvfbSession;
    if (!FSession->Start(kWidth, kHeight)) FStartError = FSession->Error();
  }
  static void TearDownTestSuite() {
    delete FSession;
    FSession = nullptr;
  }
  void SetUp() override {
    if (!FSession) GTEST_SKIP() << "Xvfb is not installed";
    ASSERT_TRUE(FStartError.empty()) << FStartError;
    FObserver = std::make_unique<TClient>(FSession->Display());
    ASSERT_TRUE(FObserver->Ready());
  }

  const std::string& Display() const { return FSession->Display(); }
  TClient& Observer() { return *FObserver; }
  const xcb_ewmh_connection_t& Atoms() { return FObserver->Ewmh(); }

  static inline test::TXvfbSession* FSession = nullptr;
  static inline std::string FStartError;
  std::unique_ptr<TClient> FObserver;  // another client, looking at what the bars published
};

TEST_F(X11AppBarShellTest, DocksAtTheTopReservesItsStripAndGivesItBack) {
  test::TTempDir dir;
  TBarProgram program(Display(), {});
  ASSERT_TRUE(program.Bar);
  program.Bar->SetSettingsFile(dir.Path() / "Software" / "AppBar" / "default");
  const xcb_window_t w = program.Window;

  ASSERT_TRUE(Eventually({&program}, [&] { return Observer().WorkAreaTopAndHeight().first == 37; }))
      << "work area top " << Observer().WorkAreaTopAndHeight().first;
  EXPECT_EQ(Observer().WorkAreaTopAndHeight().second, kHeight - 37);
  EXPECT_EQ(Observer().Property(w, Atoms()._NET_WM_WINDOW_TYPE, XCB_ATOM_ATOM),
            std::vector<std::uint32_t>{Atoms()._NET_WM_WINDOW_TYPE_DOCK});
  EXPECT_EQ(Observer().Cardinals(w, Atoms()._NET_WM_STRUT), (std::vector<std::uint32_t>{0, 0, 37, 0}));
  EXPECT_EQ(Observer().Cardinals(w, Atoms()._NET_WM_STRUT_PARTIAL),
            (std::vector<std::uint32_t>{0, 0, 37, 0, 0, 0, 0, 0, 0, kWidth - 1, 0, 0}));
  EXPECT_EQ(Observer().Cardinals(w, Atoms()._NET_WM_DESKTOP), std::vector<std::uint32_t>{0xFFFFFFFF});
  // Sticky is asked for too, but openbox shows it only as the all-desktops value above.
  for (xcb_atom_t state : {Atoms()._NET_WM_STATE_ABOVE, Atoms()._NET_WM_STATE_SKIP_TASKBAR,
                           Atoms()._NET_WM_STATE_SKIP_PAGER})
    EXPECT_TRUE(Observer().HasState(w, state)) << "state " << Observer().AtomName(state);
  EXPECT_TRUE(Eventually({&program}, [&] { return Observer().Geometry(w) == TRect{0, 0, kWidth, 37}; }))
      << "at " << Observer().Geometry(w).Left << ',' << Observer().Geometry(w).Top;

  program.Bar->Destroy();
  EXPECT_TRUE(Eventually({&program}, [&] { return Observer().WorkAreaTopAndHeight().first == 0; }));
  EXPECT_EQ(Observer().WorkAreaTopAndHeight().second, kHeight);
  EXPECT_EQ(Observer().Cardinals(w, Atoms()._NET_WM_STRUT), (std::vector<std::uint32_t>{0, 0, 0, 0}));
  EXPECT_EQ(std::filesystem::file_size(program.Bar->SettingsFile()), 84u);
}

TEST_F(X11AppBarShellTest, ASecondBarBelowTheFirstSeesItsStrip) {
  TBarProgram first(Display(), {});
  ASSERT_TRUE(first.Bar);
  ASSERT_TRUE(Eventually({&first}, [&] { return Observer().WorkAreaTopAndHeight().first == 37; }));
  TBarProgram second(Display(), [](TAppBarSettings& s) { s.szDockSize = {19, 19}; });
  ASSERT_TRUE(second.Bar);
  EXPECT_TRUE(Eventually({&first, &second}, [&] { return Observer().WorkAreaTopAndHeight().first == 56; }))
      << "work area top " << Observer().WorkAreaTopAndHeight().first;
  EXPECT_TRUE(Eventually({&first, &second}, [&] { return Observer().Geometry(second.Window) == TRect{0, 37, kWidth, 56}; }));
  EXPECT_EQ(Observer().Cardinals(second.Window, Atoms()._NET_WM_STRUT), (std::vector<std::uint32_t>{0, 0, 56, 0}));

  // When the first leaves, the second moves up into its place.
  first.Bar->Destroy();
  EXPECT_TRUE(Eventually({&first, &second}, [&] { return Observer().Geometry(second.Window) == TRect{0, 0, kWidth, 19}; }));
  EXPECT_TRUE(Eventually({&first, &second}, [&] { return Observer().WorkAreaTopAndHeight().first == 19; }));
  second.Bar->Destroy();
}

TEST_F(X11AppBarShellTest, OneAutoHideBarPerEdgeAcrossPrograms) {
  auto autoHide = [](TAppBarSettings& s) { s.bAutohide = true; };
  auto first = std::make_unique<TBarProgram>(Display(), autoHide);
  ASSERT_TRUE(first->Bar);
  EXPECT_TRUE(first->Bar->ABS().bAutohide);
  EXPECT_EQ(Observer().Cardinals(first->Window, Atoms()._NET_WM_STRUT), (std::vector<std::uint32_t>{0, 0, 0, 0}))
      << "an auto-hiding bar reserves nothing";
  EXPECT_TRUE(Eventually({first.get()}, [&] { return Observer().Geometry(first->Window) == TRect{0, 2 - 37, kWidth, 2}; }))
      << "at " << Observer().Geometry(first->Window).Left << ',' << Observer().Geometry(first->Window).Top;

  TBarProgram second(Display(), autoHide);
  ASSERT_TRUE(second.Bar);
  ASSERT_EQ(second.BarWindow->FMessages.size(), 1u);
  EXPECT_EQ(second.BarWindow->FMessages[0], TAppBar::AutoHideRefusedText(EnglishTexts()));
  EXPECT_FALSE(second.Bar->ABS().bAutohide);
  EXPECT_TRUE(Eventually({first.get(), &second}, [&] { return Observer().WorkAreaTopAndHeight().first == 37; }));

  // A program that ends without letting go of its edge holds it no longer.
  first.reset();
  second.Bar->ABS().bAutohide = true;
  second.Bar->UpdateBar();
  EXPECT_EQ(second.BarWindow->FMessages.size(), 1u);
  EXPECT_TRUE(second.Bar->ABS().bAutohide);
  EXPECT_TRUE(Eventually({&second}, [&] { return Observer().WorkAreaTopAndHeight().first == 0; }));
  second.Bar->Destroy();
}

TEST_F(X11AppBarShellTest, AFullScreenWindowSendsTheBarBelowUntilItGoes) {
  TBarProgram program(Display(), {});
  ASSERT_TRUE(program.Bar);
  const xcb_window_t bar = program.Window;
  ASSERT_TRUE(Eventually({&program}, [&] { return Observer().HasState(bar, Atoms()._NET_WM_STATE_ABOVE); }));

  TClient game(Display());
  const xcb_window_t full = game.CreateWindow({0, 0, 640, 480});
  const xcb_atom_t fullscreen = game.Ewmh()._NET_WM_STATE_FULLSCREEN;
  xcb_change_property(game.Connection(), XCB_PROP_MODE_REPLACE, full, game.Ewmh()._NET_WM_STATE, XCB_ATOM_ATOM, 32, 1,
                      &fullscreen);
  xcb_map_window(game.Connection(), full);
  xcb_ewmh_request_change_active_window(const_cast<xcb_ewmh_connection_t*>(&game.Ewmh()), 0, full,
                                        XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER, XCB_CURRENT_TIME, XCB_WINDOW_NONE);
  xcb_flush(game.Connection());

  EXPECT_TRUE(Eventually({&program}, [&] { return program.Bar->FullScreenAppOpen(); }));
  EXPECT_TRUE(Eventually({&program}, [&] {
    return Observer().HasState(bar, Atoms()._NET_WM_STATE_BELOW) &&
           !Observer().HasState(bar, Atoms()._NET_WM_STATE_ABOVE);
  }));

  xcb_destroy_window(game.Connection(), full);
  xcb_flush(game.Connection());
  EXPECT_TRUE(Eventually({&program}, [&] { return !program.Bar->FullScreenAppOpen(); }));
  EXPECT_TRUE(Eventually({&program}, [&] {
    return Observer().HasState(bar, Atoms()._NET_WM_STATE_ABOVE) &&
           !Observer().HasState(bar, Atoms()._NET_WM_STATE_BELOW);
  }));
  program.Bar->Destroy();
}

}  // namespace
}  // namespace zentrix
