// The tool window frame on a real X server with a window manager (Xvfb and openbox): no taskbar
// entry, no minimise or maximise, and snapping after a drag with the mouse.
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QApplication>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "../appbar/XvfbSession.h"
#include "settings/WindowPlacement.h"
#include "support/RunProcess.h"
#include "support/TempDir.h"
#include "tools/ToolWindow.h"

namespace zentrix::test {
namespace {

constexpr int kWidth = 1024, kHeight = 768;
constexpr std::uint32_t kFuncResize = 2, kFuncMinimize = 8, kFuncMaximize = 16, kFuncClose = 32;
constexpr std::uint32_t kDecorTitle = 8, kDecorMinimize = 32, kDecorMaximize = 64;

// The test's own view of the display, apart from Qt's.
class TObserver {
 public:
  explicit TObserver(const std::string& display) : FConnection(xcb_connect(display.c_str(), nullptr)) {}
  ~TObserver() { xcb_disconnect(FConnection); }
  TObserver(const TObserver&) = delete;
  TObserver& operator=(const TObserver&) = delete;

  xcb_atom_t Atom(const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        FConnection, xcb_intern_atom(FConnection, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
  }
  std::vector<std::uint32_t> Property(xcb_window_t w, const char* name, xcb_atom_t type) {
    std::vector<std::uint32_t> values;
    xcb_get_property_reply_t* reply =
        xcb_get_property_reply(FConnection, xcb_get_property(FConnection, 0, w, Atom(name), type, 0, 1024), nullptr);
    if (reply && reply->format == 32) {
      const auto* v = static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
      values.assign(v, v + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
    return values;
  }
  bool HasAtom(xcb_window_t w, const char* property, const char* atom) {
    const auto atoms = Property(w, property, XCB_ATOM_ATOM);
    return std::find(atoms.begin(), atoms.end(), Atom(atom)) != atoms.end();
  }
  bool Viewable(xcb_window_t w) {
    xcb_get_window_attributes_reply_t* a =
        xcb_get_window_attributes_reply(FConnection, xcb_get_window_attributes(FConnection, w), nullptr);
    const bool viewable = a && a->map_state == XCB_MAP_STATE_VIEWABLE;
    std::free(a);
    return viewable;
  }
  // The left and top of the window manager's frame around client w, in root coordinates.
  QPoint FrameTopLeft(xcb_window_t w) {
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(FConnection)).data->root;
    xcb_translate_coordinates_reply_t* at =
        xcb_translate_coordinates_reply(FConnection, xcb_translate_coordinates(FConnection, w, root, 0, 0), nullptr);
    QPoint p(at ? at->dst_x : 0, at ? at->dst_y : 0);
    std::free(at);
    const auto extents = Property(w, "_NET_FRAME_EXTENTS", XCB_ATOM_CARDINAL);  // left, right, top, bottom
    if (extents.size() == 4) p -= QPoint(static_cast<int>(extents[0]), static_cast<int>(extents[2]));
    return p;
  }

 private:
  xcb_connection_t* FConnection;
};

class ToolWindowX11Test : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    FSession = new TXvfbSession;
    if (!TXvfbSession::XvfbInstalled() || !FSession->Start(kWidth, kHeight)) return;
    setenv("DISPLAY", FSession->Display().c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    static int argc = 1;
    static char name[] = "test_tools_x11";
    static char* argv[] = {name, nullptr};
    FApp = new QApplication(argc, argv);
  }
  static void TearDownTestSuite() {
    delete FApp;
    FApp = nullptr;
    delete FSession;
    FSession = nullptr;
  }

  void SetUp() override {
    if (FApp == nullptr) GTEST_SKIP() << "no Xvfb with openbox: " << FSession->Error();
    FStore = std::make_unique<TSettingsStore>(FHome.Path() / "Zentrix.ini");
    FOwner = std::make_unique<QWidget>();
    FObserver = std::make_unique<TObserver>(FSession->Display());
  }
  void TearDown() override {
    FOwner.reset();
    QTest::qWait(50);
  }

  TToolWindow* Make() {
    return new TToolWindow(FOwner.get(), *FStore, "日历", QStringLiteral("Twnd_zentrix_Calendar"),
                           QStringLiteral("日历"), QSize(587, 445));
  }
  // Waits until the window manager has framed w, shows it and has given it the focus (Qt asks
  // for the activation only once the window is mapped; a late request would undo what a test
  // asks of the window manager next).
  bool Managed(TToolWindow& w) {
    return QTest::qWaitFor(
        [&] {
          return w.isActiveWindow() && FObserver->Viewable(static_cast<xcb_window_t>(w.winId())) &&
                 FObserver->Property(static_cast<xcb_window_t>(w.winId()), "_NET_FRAME_EXTENTS", XCB_ATOM_CARDINAL)
                         .size() == 4 &&
                 !FObserver->Property(static_cast<xcb_window_t>(w.winId()), "_NET_WM_ALLOWED_ACTIONS", XCB_ATOM_ATOM)
                      .empty();
        },
        5000);
  }
  static int Xdotool(const std::vector<std::string>& args) {
    return RunProcess(kXdotool, args, {}, {{"DISPLAY", FSession->Display()}}, 10).ExitCode;
  }
  static constexpr const char* kXdotool = "/usr/bin/xdotool";

  static inline TXvfbSession* FSession = nullptr;
  static inline QApplication* FApp = nullptr;
  TTempDir FHome;
  std::unique_ptr<TSettingsStore> FStore;
  std::unique_ptr<QWidget> FOwner;
  std::unique_ptr<TObserver> FObserver;
};

TEST_F(ToolWindowX11Test, HasNoTaskbarEntryAtEveryShowAndNoMinimiseOrMaximise) {
  TToolWindow* w = Make();
  for (int show = 1; show <= 2; ++show) {
    SCOPED_TRACE(show);
    w->ShowWindow();
    ASSERT_TRUE(Managed(*w));
    const auto window = static_cast<xcb_window_t>(w->winId());
    EXPECT_TRUE(FObserver->HasAtom(window, "_NET_WM_STATE", "_NET_WM_STATE_SKIP_TASKBAR"));
    EXPECT_TRUE(FObserver->HasAtom(window, "_NET_WM_STATE", "_NET_WM_STATE_SKIP_PAGER"));
    EXPECT_TRUE(FObserver->HasAtom(window, "_NET_WM_ALLOWED_ACTIONS", "_NET_WM_ACTION_RESIZE"));
    EXPECT_TRUE(FObserver->HasAtom(window, "_NET_WM_ALLOWED_ACTIONS", "_NET_WM_ACTION_CLOSE"));
    // Motif hints: flags, functions, decorations. Resizable and closable; no minimise or
    // maximise, neither as a function nor as a caption button.
    const auto motif = FObserver->Property(window, "_MOTIF_WM_HINTS", FObserver->Atom("_MOTIF_WM_HINTS"));
    ASSERT_GE(motif.size(), 3u);
    EXPECT_EQ(motif[1] & (kFuncResize | kFuncClose | kFuncMinimize | kFuncMaximize), kFuncResize | kFuncClose);
    EXPECT_EQ(motif[2] & (kDecorTitle | kDecorMinimize | kDecorMaximize), kDecorTitle);
    w->close();
    // Withdrawn: the window manager has let go of it.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return FObserver->Property(window, "_NET_WM_ALLOWED_ACTIONS", XCB_ATOM_ATOM).empty(); }, 5000));
  }
}

TEST_F(ToolWindowX11Test, ARequestBringsBackAWindowMinimisedFromItsCaption) {
  // openbox keeps the minimise button of any tool window, whatever its hints say.
  if (!std::filesystem::exists(kXdotool)) GTEST_SKIP() << "no xdotool";
  TToolWindow* w = Make();
  w->ShowWindow();
  ASSERT_TRUE(Managed(*w));
  const auto window = static_cast<xcb_window_t>(w->winId());
  ASSERT_EQ(Xdotool({"windowminimize", std::to_string(window)}), 0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !FObserver->Viewable(window); }, 5000));
  w->ShowWindow();
  EXPECT_TRUE(QTest::qWaitFor([&] { return FObserver->Viewable(window); }, 5000));
}

TEST_F(ToolWindowX11Test, TheFirstShowCentresAndTheCheckCountsTheFrame) {
  TToolWindow* w = Make();
  w->ShowWindow();
  ASSERT_TRUE(Managed(*w));
  QTest::qWait(500);
  EXPECT_EQ(w->geometry().topLeft(), QPoint((kWidth - 587) / 2, (kHeight - 445) / 2));

  w->move(800, 300);
  ASSERT_TRUE(QTest::qWaitFor([&] { return w->frameGeometry().left() == 800; }, 5000));
  w->close();
  w->ShowWindow();
  const auto window = static_cast<xcb_window_t>(w->winId());
  // The frame's right edge on the screen's right edge, as the window manager sees it.
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return FObserver->FrameTopLeft(window).x() + w->frameGeometry().width() == kWidth; }, 5000))
      << FObserver->FrameTopLeft(window).x() << " + " << w->frameGeometry().width();
}

TEST_F(ToolWindowX11Test, AStoredPlacementIsNotSnappedButItsFrameIsPulledOnScreen) {
  // The client areas: one touching the right edge (its frame goes beyond), one 5 pixels from
  // the left edge (near enough to snap, were it dragged there).
  struct TCase {
    const char* Path;
    TWindowPlacement Stored;
  };
  const TCase cases[] = {{"日历", {1, 0, 96, -1, -1, -1, -1, kWidth - 587, 100, kWidth, 545}},
                         {"RSS", {1, 0, 96, -1, -1, -1, -1, 5, 300, 592, 745}}};
  for (const TCase& c : cases) SavePlacement(*FStore, c.Path, c.Stored);
  auto* right = new TToolWindow(FOwner.get(), *FStore, cases[0].Path, QStringLiteral("Twnd_zentrix_Calendar"),
                                QStringLiteral("日历"), QSize(587, 445));
  auto* left = new TToolWindow(FOwner.get(), *FStore, cases[1].Path, QStringLiteral("Twnd_zentrix_RSS"),
                               QStringLiteral("RSS"), QSize(587, 445));
  right->ShowWindow();
  ASSERT_TRUE(Managed(*right));
  left->ShowWindow();
  ASSERT_TRUE(Managed(*left));
  const auto rightWindow = static_cast<xcb_window_t>(right->winId());
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return FObserver->FrameTopLeft(rightWindow).x() + right->frameGeometry().width() == kWidth; }, 5000))
      << FObserver->FrameTopLeft(rightWindow).x() << " + " << right->frameGeometry().width();
  QTest::qWait(500);
  EXPECT_EQ(left->geometry().topLeft(), QPoint(5, 300));
}

TEST_F(ToolWindowX11Test, ADragSnapsOnlyWhenTheButtonIsReleased) {
  if (!std::filesystem::exists(kXdotool)) GTEST_SKIP() << "no xdotool";
  TToolWindow* w = Make();
  w->ShowWindow();
  ASSERT_TRUE(Managed(*w));
  QTest::qWait(500);
  const auto window = static_cast<xcb_window_t>(w->winId());
  const QPoint frame = FObserver->FrameTopLeft(window);
  // Grab the caption and drag the frame to 6 pixels from the left edge.
  const QPoint grab(w->geometry().center().x(), frame.y() + (w->geometry().top() - frame.y()) / 2);
  // Pauses between the steps, as a hand would make: the window manager reads the pointer's
  // context from the motion before the press.
  ASSERT_EQ(Xdotool({"mousemove", std::to_string(grab.x()), std::to_string(grab.y()), "sleep", "0.2", "mousedown", "1",
                     "sleep", "0.2"}),
            0);
  ASSERT_EQ(Xdotool({"mousemove_relative", "--", "-40", "10", "sleep", "0.2", "mousemove",
                     std::to_string(grab.x() - frame.x() + 6), std::to_string(grab.y() + 20)}),
            0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return FObserver->FrameTopLeft(window).x() == 6; }, 5000))
      << FObserver->FrameTopLeft(window).x();
  QTest::qWait(600);  // held still, longer than a move takes to settle
  EXPECT_EQ(FObserver->FrameTopLeft(window).x(), 6);
  ASSERT_EQ(Xdotool({"mouseup", "1"}), 0);
  EXPECT_TRUE(QTest::qWaitFor([&] { return FObserver->FrameTopLeft(window).x() == 0; }, 5000))
      << FObserver->FrameTopLeft(window).x();
}

}  // namespace
}  // namespace zentrix::test
