#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "appbar/AppBar.h"
#include "appbar/FakeAppBar.h"
#include "support/TempDir.h"

namespace zentrix {
namespace {

using test::TFakeAppBarShell;
using test::TFakeAppBarWindow;

constexpr TRect kScreen{0, 0, 1024, 768};

void Print(std::ostream& os, const TRect& r) { os << '(' << r.Left << ',' << r.Top << ',' << r.Right << ',' << r.Bottom << ')'; }

// A window with its bar, set up before creation the way an owner does it.
struct TBarUnderTest {
  TFakeAppBarWindow Window;
  TAppBar Bar;

  TBarUnderTest(TFakeAppBarShell& shell, TNativeWindow handle, const std::function<void(TAppBarSettings&)>& setup = {},
                const TInterfaceTexts& texts = EnglishTexts())
      : Window(handle), Bar(shell, Window, texts) {
    Bar.ABS().bSlideEffect = false;
    if (setup) setup(Bar.ABS());
  }

  void Create() {
    Bar.Create();
    Window.RunPosted();
  }
};

}  // namespace

void PrintTo(const TRect& r, std::ostream* os) { Print(*os, r); }

// Failing cases show by name.
template <class TCase>
  requires requires(const TCase& c) { c.Name; }
void PrintTo(const TCase& c, std::ostream* os) {
  *os << c.Name;
}

namespace {

// --- Where a docked bar goes -------------------------------------------------------------------

struct TDockCase {
  const char* Name;
  TAppBarEdge Edge;
  TSize DockSize;
  std::optional<std::pair<TAppBarEdge, TRect>> Foreign;  // another program's bar
  TRect Expected;
};

class AppBarDocking : public testing::TestWithParam<TDockCase> {};

TEST_P(AppBarDocking, TakesItsStripAndReservesIt) {
  const TDockCase& c = GetParam();
  TFakeAppBarShell shell(kScreen);
  if (c.Foreign) shell.AddForeignBar(99, c.Foreign->first, c.Foreign->second);
  TBarUnderTest bar(shell, 1, [&](TAppBarSettings& s) {
    s.abEdge = c.Edge;
    s.szDockSize = c.DockSize;
  });
  bar.Create();

  EXPECT_EQ(bar.Window.Bounds(), c.Expected);
  EXPECT_EQ(shell.Reserved(1), c.Expected);
  EXPECT_EQ(bar.Bar.ABS().szDockSize, c.DockSize) << "the start-up move records the size it docked with";
  EXPECT_FALSE(bar.Window.Framed());
  EXPECT_EQ(shell.FZOrder[1], TAppBarZOrder::azTopmost);
  EXPECT_FALSE(shell.FTaskbarButton[1]) << "no taskbar button while docked";
}

INSTANTIATE_TEST_SUITE_P(
    Edges, AppBarDocking,
    testing::Values(
        TDockCase{"Top37", abeTop, {19, 37}, std::nullopt, {0, 0, 1024, 37}},
        TDockCase{"Bottom19", abeBottom, {19, 19}, std::nullopt, {0, 749, 1024, 768}},
        TDockCase{"Left60", abeLeft, {60, 19}, std::nullopt, {0, 0, 60, 768}},
        TDockCase{"Right60", abeRight, {60, 19}, std::nullopt, {964, 0, 1024, 768}},
        TDockCase{"TopBelowAnotherTopBar", abeTop, {19, 37}, {{abeTop, {0, 0, 1024, 25}}}, {0, 25, 1024, 62}},
        TDockCase{"TopBesideALeftPanel", abeTop, {19, 37}, {{abeLeft, {0, 0, 50, 768}}}, {50, 0, 1024, 37}},
        TDockCase{"BottomAboveAnotherBottomBar", abeBottom, {19, 19}, {{abeBottom, {0, 738, 1024, 768}}},
                  {0, 719, 1024, 738}}),
    [](const auto& info) { return info.param.Name; });

// --- Auto hide ---------------------------------------------------------------------------------

struct TAutoHideCase {
  const char* Name;
  TAppBarEdge Edge;
  TRect Hidden;
  TRect Shown;
};

class AppBarAutoHide : public testing::TestWithParam<TAutoHideCase> {
protected:
  TFakeAppBarShell FShell{kScreen};
  TBarUnderTest FBar{FShell, 1, [](TAppBarSettings& s) {
                       s.abEdge = abeTop;
                       s.bAutohide = true;
                       s.szDockSize = {19, 19};
                     }};

  void SetUp() override {
    FBar.Bar.ABS().abEdge = GetParam().Edge;
    FBar.Bar.SetReactionTime(100);
    FBar.Create();
  }
};

TEST_P(AppBarAutoHide, HidesAsATwoPixelSliverAndReservesNothing) {
  const TAutoHideCase& c = GetParam();
  EXPECT_EQ(FBar.Window.Bounds(), c.Hidden);
  const TRect onScreen = FBar.Window.Bounds().Intersected(kScreen);
  EXPECT_EQ(IsDockedEdge(c.Edge) && (c.Edge == abeTop || c.Edge == abeBottom) ? onScreen.Height() : onScreen.Width(), 2);
  EXPECT_TRUE(FShell.Reserved(1).IsEmpty());
  EXPECT_EQ(FShell.FAutoHide[c.Edge], 1u);
  EXPECT_FALSE(FBar.Bar.AutoHideIsVisible());
}

TEST_P(AppBarAutoHide, SlidesInAfterTheReactionTimeAndOutOnceLeft) {
  const TAutoHideCase& c = GetParam();
  FBar.Bar.NcMouseMove();
  EXPECT_TRUE(FBar.Window.FTimers[TAppBarTimer::attReaction].Enabled);
  EXPECT_EQ(FBar.Window.FTimers[TAppBarTimer::attReaction].Interval, 100);
  FBar.Bar.ReactionTimerFired();
  EXPECT_FALSE(FBar.Window.FTimers[TAppBarTimer::attReaction].Enabled);
  EXPECT_EQ(FBar.Window.Bounds(), c.Shown);

  FBar.Bar.NcMouseMove();
  EXPECT_FALSE(FBar.Window.FTimers[TAppBarTimer::attReaction].Enabled) << "a shown bar needs no reaction";

  const TPoint nearby{c.Shown.Right + 7, c.Shown.Bottom + 7};  // within twice the double-click area
  const TPoint away{512, 384};
  FBar.Bar.CheckTimerFired(nearby);
  EXPECT_EQ(FBar.Window.Bounds(), c.Shown) << "the pointer is still near";
  FBar.Window.FActive = true;
  FBar.Bar.CheckTimerFired(away);
  EXPECT_EQ(FBar.Window.Bounds(), c.Shown) << "an active bar stays";
  FBar.Window.FActive = false;
  FBar.Bar.CheckTimerFired(away);
  EXPECT_EQ(FBar.Window.Bounds(), c.Hidden);

  FBar.Bar.ReactionTimerFired();
  FBar.Bar.Activated(false);
  EXPECT_EQ(FBar.Window.Bounds(), c.Hidden) << "losing activation hides it";
}

INSTANTIATE_TEST_SUITE_P(Edges, AppBarAutoHide,
                         testing::Values(TAutoHideCase{"Top", abeTop, {0, -17, 1024, 2}, {0, 0, 1024, 19}},
                                         TAutoHideCase{"Bottom", abeBottom, {0, 766, 1024, 785}, {0, 749, 1024, 768}},
                                         TAutoHideCase{"Left", abeLeft, {-17, 0, 2, 768}, {0, 0, 19, 768}},
                                         TAutoHideCase{"Right", abeRight, {1022, 0, 1041, 768}, {1005, 0, 1024, 768}}),
                         [](const auto& info) { return info.param.Name; });

TEST(AppBarAutoHideOff, TimersLeaveADockedBarWhereItIs) {
  TFakeAppBarShell shell(kScreen);
  TBarUnderTest bar(shell, 1);
  bar.Create();
  const TRect docked = bar.Window.Bounds();
  bar.Bar.CheckTimerFired({500, 500});
  bar.Bar.NcMouseMove();
  bar.Bar.ReactionTimerFired();
  bar.Bar.Activated(false);
  EXPECT_EQ(bar.Window.Bounds(), docked);
  EXPECT_EQ(shell.Reserved(1), docked);
}

// --- Sliding -----------------------------------------------------------------------------------

struct TSlideCase {
  const char* Name;
  std::int32_t SlideTime;
  std::int64_t FrameMs;
  std::vector<std::int32_t> Tops;  // top of every position set, the last one the target
  bool Shown = true;
};

class AppBarSlide : public testing::TestWithParam<TSlideCase> {};

TEST_P(AppBarSlide, StepsTowardsTheTargetOverTheSlideTime) {
  const TSlideCase& c = GetParam();
  TFakeAppBarShell shell(kScreen);
  TFakeAppBarWindow window(1, {0, -17, 1024, 2});
  TAppBar bar(shell, window, EnglishTexts());
  bar.ABS().nTimerInterval = c.SlideTime;
  window.FFrameMs = c.FrameMs;
  window.FShown = c.Shown;
  bar.SlideTo({0, 0, 1024, 19});
  std::vector<std::int32_t> tops;
  for (const TRect& r : window.FBoundsSet) {
    EXPECT_EQ(r.Height(), 19);
    tops.push_back(r.Top);
  }
  EXPECT_EQ(tops, c.Tops);
}

INSTANTIATE_TEST_SUITE_P(Times, AppBarSlide,
                         testing::Values(TSlideCase{"FourFrames", 400, 100, {-17, -13, -9, -5, 0}},
                                         TSlideCase{"LateFrameEndsAtTheTarget", 400, 300, {-17, -5, 0}},
                                         TSlideCase{"NoSlideTime", 0, 100, {0}},
                                         // Docking before the first show must not hold it up.
                                         TSlideCase{"NotShownYet", 400, 100, {0}, false}),
                         [](const auto& info) { return info.param.Name; });

// --- One auto-hide bar per edge ----------------------------------------------------------------

struct TRefusalCase {
  const char* Name;
  TAppBarEdge FirstEdge;
  TAppBarEdge SecondEdge;
  bool Refused;
};

class AppBarAutoHideRefusal : public testing::TestWithParam<TRefusalCase> {};

TEST_P(AppBarAutoHideRefusal, SecondBarOnTheSameEdgeIsToldAndReservesItsStrip) {
  const TRefusalCase& c = GetParam();
  TFakeAppBarShell shell(kScreen);
  const auto autoHideAt = [](TAppBarEdge edge) {
    return [edge](TAppBarSettings& s) {
      s.abEdge = edge;
      s.bAutohide = true;
    };
  };
  TBarUnderTest first(shell, 1, autoHideAt(c.FirstEdge));
  TBarUnderTest second(shell, 2, autoHideAt(c.SecondEdge));
  first.Create();
  second.Create();

  EXPECT_TRUE(first.Window.FMessages.empty());
  EXPECT_TRUE(first.Bar.ABS().bAutohide);
  if (!c.Refused) {
    EXPECT_TRUE(second.Window.FMessages.empty());
    EXPECT_TRUE(second.Bar.ABS().bAutohide);
    EXPECT_TRUE(shell.Reserved(2).IsEmpty());
    return;
  }
  ASSERT_EQ(second.Window.FMessages.size(), 1u) << "told once, not again on the second docking";
  EXPECT_EQ(second.Window.FMessages[0],
            "There is already an auto hidden window on this edge.\n\r"
            "Only one auto hidden window is allowed on each edge.");
  EXPECT_FALSE(second.Bar.ABS().bAutohide);
  EXPECT_EQ(shell.Reserved(2), second.Window.Bounds());
  EXPECT_FALSE(shell.Reserved(2).IsEmpty());

  // Once the first bar is gone the edge is free again.
  first.Bar.Destroy();
  second.Bar.ABS().bAutohide = true;
  second.Bar.UpdateBar();
  EXPECT_EQ(second.Window.FMessages.size(), 1u);
  EXPECT_EQ(shell.FAutoHide[c.SecondEdge], 2u);
  EXPECT_TRUE(shell.Reserved(2).IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Edges, AppBarAutoHideRefusal,
                         testing::Values(TRefusalCase{"SameTopEdge", abeTop, abeTop, true},
                                         TRefusalCase{"SameRightEdge", abeRight, abeRight, true},
                                         TRefusalCase{"TopAndBottom", abeTop, abeBottom, false},
                                         TRefusalCase{"LeftAndTop", abeLeft, abeTop, false}),
                         [](const auto& info) { return info.param.Name; });

TEST(AppBarAutoHideRefusalText, ComesFromTheInterfaceLanguage) {
  TInterfaceTexts czech;
  czech.Apply({{"lc_AutoHideRefused", "Na této hraně už je automaticky skrytý panel."}});
  TFakeAppBarShell shell(kScreen);
  TBarUnderTest first(shell, 1, [](TAppBarSettings& s) { s.bAutohide = true; });
  TBarUnderTest second(shell, 2, [](TAppBarSettings& s) { s.bAutohide = true; }, czech);
  first.Create();
  second.Create();
  EXPECT_EQ(second.Window.FMessages, std::vector<std::string>{"Na této hraně už je automaticky skrytý panel."});
}

// --- Full-screen programs ----------------------------------------------------------------------

struct TFullScreenCase {
  const char* Name;
  bool AlwaysOnTop;
  bool AutoHide;
  TAppBarZOrder WhileFullScreen;
  TAppBarZOrder Afterwards;
};

class AppBarFullScreen : public testing::TestWithParam<TFullScreenCase> {};

TEST_P(AppBarFullScreen, DropsToTheBottomWhileOneIsOpen) {
  const TFullScreenCase& c = GetParam();
  TFakeAppBarShell shell(kScreen);
  TBarUnderTest bar(shell, 1, [&](TAppBarSettings& s) {
    s.bAlwaysOnTop = c.AlwaysOnTop;
    s.bAutohide = c.AutoHide;
  });
  bar.Create();
  const TRect docked = bar.Window.Bounds();

  shell.Notify(TAppBarNotification::abnFullScreenApp, 1);
  EXPECT_TRUE(bar.Bar.FullScreenAppOpen());
  EXPECT_EQ(shell.FZOrder[1], c.WhileFullScreen);
  shell.Notify(TAppBarNotification::abnFullScreenApp, 0);
  EXPECT_EQ(shell.FZOrder[1], c.Afterwards);
  EXPECT_EQ(bar.Window.Bounds(), docked) << "the bar stays where it was";
}

INSTANTIATE_TEST_SUITE_P(
    Stacking, AppBarFullScreen,
    testing::Values(
        TFullScreenCase{"OnTop", true, false, TAppBarZOrder::azBottom, TAppBarZOrder::azTopmost},
        TFullScreenCase{"OnTopAutoHiding", true, true, TAppBarZOrder::azBottom, TAppBarZOrder::azTopmost},
        TFullScreenCase{"NotOnTop", false, false, TAppBarZOrder::azNoTopmost, TAppBarZOrder::azNoTopmost}),
    [](const auto& info) { return info.param.Name; });

TEST(AppBarNotifications, OtherBarsMovingReDocksUnlessFloatingOrAutoHiding) {
  TFakeAppBarShell shell(kScreen);
  TBarUnderTest docked(shell, 1, [](TAppBarSettings& s) { s.szDockSize = {19, 37}; });
  docked.Create();
  shell.AddForeignBar(99, abeTop, {0, 0, 1024, 20});
  shell.Notify(TAppBarNotification::abnPosChanged, 0);
  EXPECT_EQ(docked.Window.Bounds(), (TRect{0, 20, 1024, 57}));

  const std::size_t sent = shell.FSent.size();
  docked.Bar.ABS().bAutohide = true;
  shell.Notify(TAppBarNotification::abnPosChanged, 0);
  shell.Notify(TAppBarNotification::abnStateChange, 0);
  shell.Notify(TAppBarNotification::abnWindowArrange, 1);
  EXPECT_EQ(shell.FSent.size(), sent) << "an auto-hiding bar ignores them";
}

// --- The record on exit ------------------------------------------------------------------------

enum class TStored { stNothing, stRecord, stGarbage };

struct TExitCase {
  const char* Name;
  TStored Stored;
  bool SaveOnExit;
  bool ExpectStoredBytes;  // else the bar's record at exit
};

class AppBarExit : public testing::TestWithParam<TExitCase> {};

TEST_P(AppBarExit, LeavesAnEightyFourByteRecord) {
  const TExitCase& c = GetParam();
  test::TTempDir dir;
  const auto file = dir.Path() / "Software" / "AppBar" / "default";

  TAppBarSettings stored = DefaultAppBarSettings({1024, 768});
  stored.szDockSize = {55, 66};
  stored.bAutohide = true;
  stored.bSaveSettings = true;
  stored.Pad9 = {1, 2, 3};
  TAppBarSettingsBytes storedBytes = AppBarSettingsToBytes(stored);
  if (c.Stored == TStored::stRecord) {
    ASSERT_TRUE(WriteAppBarSettingsFile(file, stored));
  }
  if (c.Stored == TStored::stGarbage) dir.Write("Software/AppBar/default", "not a record");

  TFakeAppBarShell shell(kScreen);
  TBarUnderTest bar(shell, 1, [&](TAppBarSettings& s) {
    s.szDockSize = {19, 37};
    s.bSaveSettings = c.SaveOnExit;
  });
  bar.Bar.SetSettingsFile(file);
  bar.Create();
  const TAppBarSettingsBytes atExit = AppBarSettingsToBytes(bar.Bar.ABS());
  bar.Bar.Destroy();

  const std::string written = test::TTempDir::Read(file);
  ASSERT_EQ(written.size(), 84u);
  TAppBarSettingsBytes expected = c.ExpectStoredBytes ? storedBytes : atExit;
  if (!c.SaveOnExit) expected[82] = 0;
  EXPECT_EQ(written, std::string(expected.begin(), expected.end()));
  EXPECT_FALSE(shell.IsRegistered(1));
  EXPECT_TRUE(shell.Reserved(1).IsEmpty());
  EXPECT_FALSE(bar.Window.FTimers[TAppBarTimer::attCheck].Enabled);
}

INSTANTIATE_TEST_SUITE_P(Runs, AppBarExit,
                         testing::Values(TExitCase{"StoredRecordKeptWithSaveFlagCleared", TStored::stRecord, false, true},
                                         TExitCase{"NothingStoredWritesTheCurrentRecord", TStored::stNothing, false, false},
                                         TExitCase{"GarbageStoredIsReplaced", TStored::stGarbage, false, false},
                                         TExitCase{"SavingOnWritesTheCurrentRecord", TStored::stRecord, true, false}),
                         [](const auto& info) { return info.param.Name; });

TEST(AppBarLoad, TakesAValidRecordAndKeepsItsOwnOtherwise) {
  test::TTempDir dir;
  TFakeAppBarShell shell(kScreen);
  TBarUnderTest bar(shell, 1);
  const TAppBarSettings before = bar.Bar.ABS();
  EXPECT_FALSE(bar.Bar.LoadSettings()) << "no file named";
  bar.Bar.SetSettingsFile(dir.Write("bad", std::string(84, '\x7f')));
  EXPECT_FALSE(bar.Bar.LoadSettings());
  EXPECT_EQ(bar.Bar.ABS(), before);

  TAppBarSettings stored = before;
  stored.abEdge = abeBottom;
  ASSERT_TRUE(WriteAppBarSettingsFile(dir.Path() / "good", stored));
  bar.Bar.SetSettingsFile(dir.Path() / "good");
  EXPECT_TRUE(bar.Bar.LoadSettings());
  EXPECT_EQ(bar.Bar.ABS(), stored);
}

// --- Dragging ----------------------------------------------------------------------------------

struct TEdgeCase {
  const char* Name;
  std::uint8_t Flags;
  TPoint Point;
  TAppBarEdge Expected;
};

class AppBarEdgeFromPoint : public testing::TestWithParam<TEdgeCase> {};

TEST_P(AppBarEdgeFromPoint, PicksTheEdgeTowardsThePoint) {
  const TEdgeCase& c = GetParam();
  TFakeAppBarShell shell(kScreen);
  TFakeAppBarWindow window(1);
  TAppBar bar(shell, window, EnglishTexts());
  bar.ABS().abEdge = abeTop;
  EXPECT_EQ(bar.EdgeFromPoint(c.Flags, c.Point), c.Expected);
}

constexpr std::uint8_t kAll = kAppBarAllFlags, kEdges = kAppBarAllEdgeFlags;
constexpr std::uint8_t kTopFloat = abfAllowTop | abfAllowFloat;

INSTANTIATE_TEST_SUITE_P(
    Points, AppBarEdgeFromPoint,
    testing::Values(TEdgeCase{"CentreFloats", kAll, {512, 384}, abeFloat},
                    TEdgeCase{"NearLeft", kAll, {5, 384}, abeLeft},
                    TEdgeCase{"NearRight", kAll, {1020, 400}, abeRight},
                    TEdgeCase{"NearTop", kAll, {500, 3}, abeTop},
                    TEdgeCase{"NearBottom", kAll, {500, 765}, abeBottom},
                    TEdgeCase{"JustInsideTheFloatingArea", kAll, {17, 17}, abeFloat},
                    TEdgeCase{"CornerOnTheDiagonalGoesSideways", kAll, {0, 0}, abeLeft},
                    TEdgeCase{"TopLeftCornerSteeperThanTheDiagonal", kAll, {2, 2}, abeLeft},
                    TEdgeCase{"CentreWithoutFloating", kEdges, {512, 300}, abeTop},
                    TEdgeCase{"EdgeNotAllowedFloats", kTopFloat, {1020, 400}, abeFloat},
                    TEdgeCase{"EdgeNotAllowedNoFloatStays", abfAllowTop, {1020, 400}, abeTop},
                    TEdgeCase{"OnlyFloatingAllowed", abfAllowFloat, {5, 384}, abeFloat},
                    TEdgeCase{"NothingAllowedStays", 0, {5, 384}, abeTop}),
    [](const auto& info) { return info.param.Name; });

struct TDragCase {
  const char* Name;
  std::uint8_t Flags;
  TPoint End;
  bool Ctrl;
  TAppBarEdge Edge;
  TRect Bounds;
};

class AppBarDrag : public testing::TestWithParam<TDragCase> {};

TEST_P(AppBarDrag, DocksOrFloatsWhereTheDragEnds) {
  const TDragCase& c = GetParam();
  TFakeAppBarShell shell(kScreen);
  TBarUnderTest bar(shell, 1, [&](TAppBarSettings& s) {
    s.abFlags = c.Flags;
    s.szDockSize = {30, 37};
    s.rcFloat = {0, 0, 300, 100};
  });
  bar.Create();

  bar.Bar.EnterSizeMove();
  TRect drag = bar.Window.Bounds();
  bar.Bar.Moving({500, 10}, false, drag);  // along the top first
  bar.Bar.Moving(c.End, c.Ctrl, drag);
  EXPECT_EQ(bar.Bar.Edge(), c.Edge) << "the proposal shows while dragging";
  bar.Window.SetBounds(drag);  // the window follows the drag rectangle
  bar.Bar.ExitSizeMove();

  EXPECT_EQ(bar.Bar.ABS().abEdge, c.Edge);
  EXPECT_EQ(bar.Window.Bounds(), c.Bounds);
  EXPECT_EQ(bar.Window.Framed(), c.Edge == abeFloat);
  EXPECT_EQ(shell.Reserved(1), c.Edge == abeFloat ? TRect{} : c.Bounds);
  EXPECT_EQ(shell.FTaskbarButton[1], c.Edge == abeFloat);
}

INSTANTIATE_TEST_SUITE_P(
    Drags, AppBarDrag,
    testing::Values(
        TDragCase{"CentreFloatsWithItsFloatingSize", kAll, {512, 384}, false, abeFloat, {362, 384, 662, 484}},
        TDragCase{"CentreWithoutFloatingStaysAtTheTop", abfAllowTop, {512, 384}, false, abeTop, {0, 0, 1024, 37}},
        TDragCase{"RightEdgeDocksThere", kAll, {1015, 384}, false, abeRight, {994, 0, 1024, 768}},
        TDragCase{"CtrlFloatsEvenAtAnEdge", kAll, {500, 3}, true, abeFloat, {350, 3, 650, 103}},
        TDragCase{"CtrlWithoutFloatingDocks", abfAllowTop | abfAllowBottom, {500, 760}, true, abeBottom,
                  {0, 731, 1024, 768}}),
    [](const auto& info) { return info.param.Name; });

TEST(AppBarDragBack, AFloatingBarRemembersWhereItFloatedAndDocksWithItsSize) {
  TFakeAppBarShell shell(kScreen);
  TBarUnderTest bar(shell, 1, [](TAppBarSettings& s) {
    s.szDockSize = {30, 37};
    s.rcFloat = {0, 0, 300, 100};
  });
  bar.Create();
  bar.Bar.SetEdge(abeFloat);
  bar.Bar.EnterSizeMove();
  bar.Window.SetBounds({40, 50, 340, 150});  // moved while floating
  bar.Bar.ExitSizeMove();
  EXPECT_EQ(bar.Bar.ABS().rcFloat, (TRect{40, 50, 340, 150}));

  bar.Bar.EnterSizeMove();
  TRect drag = bar.Window.Bounds();
  bar.Bar.Moving({500, 2}, false, drag);
  EXPECT_EQ(drag, (TRect{0, 0, 1024, 37}));
  bar.Window.SetBounds(drag);
  bar.Bar.ExitSizeMove();
  EXPECT_EQ(bar.Window.Bounds(), (TRect{0, 0, 1024, 37}));
  EXPECT_EQ(bar.Bar.ABS().rcFloat, (TRect{40, 50, 340, 150}));
}

TEST(AppBarDragBack, AWindowLeftAtFullWidthFloatsWithItsOldFloatingSize) {
  TFakeAppBarShell shell(kScreen);
  TBarUnderTest bar(shell, 1, [](TAppBarSettings& s) {
    s.szDockSize = {30, 37};
    s.rcFloat = {0, 0, 300, 100};
  });
  bar.Create();
  bar.Bar.EnterSizeMove();
  TRect drag = bar.Window.Bounds();
  bar.Bar.Moving({512, 384}, false, drag);
  bar.Window.SetBounds({0, 200, 1024, 237});  // contents not dragged: the window kept its width
  bar.Bar.ExitSizeMove();
  EXPECT_EQ(bar.Window.Bounds(), (TRect{0, 200, 300, 300}));
}

// --- Sizing rules ------------------------------------------------------------------------------

struct TSizingCase {
  const char* Name;
  TAppBarEdge Edge;
  TSize Step;
  TSizingSide Side;
  TRect Dragged;
  TRect Expected;
};

class AppBarSizing : public testing::TestWithParam<TSizingCase> {};

TEST_P(AppBarSizing, RoundsToTheNearestStepAboveTheMinimum) {
  const TSizingCase& c = GetParam();
  TFakeAppBarShell shell(kScreen);
  TFakeAppBarWindow window(1);
  TAppBar bar(shell, window, EnglishTexts());
  bar.ABS().abEdge = c.Edge;
  bar.ABS().szSizeInc = c.Step;
  bar.ABS().szMinDockSize = {15, 19};
  bar.ABS().nMinWidth = 50;
  bar.ABS().nMinHeight = 30;
  TRect rect = c.Dragged;
  bar.Sizing(c.Side, rect);
  EXPECT_EQ(rect, c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, AppBarSizing,
    testing::Values(
        TSizingCase{"DockedTopDownToTheStepBelow", abeTop, {1, 10}, TSizingSide::szsBottom, {0, 0, 1024, 43}, {0, 0, 1024, 39}},
        TSizingCase{"DockedTopUpToTheStepAbove", abeTop, {1, 10}, TSizingSide::szsBottom, {0, 0, 1024, 44}, {0, 0, 1024, 49}},
        TSizingCase{"DockedBottomMovesItsTop", abeBottom, {1, 10}, TSizingSide::szsTop, {0, 700, 1024, 768}, {0, 699, 1024, 768}},
        TSizingCase{"FloatingLeftSideMoves", abeFloat, {8, 0}, TSizingSide::szsLeft, {100, 100, 223, 177}, {101, 100, 223, 177}},
        TSizingCase{"FloatingCornerBothWays", abeFloat, {8, 5}, TSizingSide::szsBottomRight, {10, 10, 71, 43}, {10, 10, 68, 45}},
        TSizingCase{"FloatingTopLeftCorner", abeFloat, {8, 5}, TSizingSide::szsTopLeft, {10, 10, 71, 43}, {13, 8, 71, 43}},
        TSizingCase{"ZeroStepKeepsTheDraggedSize", abeFloat, {0, 0}, TSizingSide::szsBottomRight, {0, 0, 77, 33}, {0, 0, 77, 33}}),
    [](const auto& info) { return info.param.Name; });

struct THitCase {
  const char* Name;
  TAppBarEdge Edge;
  TSize Step;
  THitTest Default;
  TPoint Cursor;
  bool ButtonDown;
  bool Child;
  THitTest Expected;
};

class AppBarHitTest : public testing::TestWithParam<THitCase> {};

TEST_P(AppBarHitTest, LetsTheBarBeDraggedAndSizedOnlyWhereAllowed) {
  const THitCase& c = GetParam();
  TFakeAppBarShell shell(kScreen);
  TFakeAppBarWindow window(1);
  TAppBar bar(shell, window, EnglishTexts());
  bar.ABS().abEdge = c.Edge;
  bar.ABS().szSizeInc = c.Step;
  const TRect client{100, 100, 300, 140};
  EXPECT_EQ(bar.NcHitTest(c.Default, c.Cursor, client, c.ButtonDown, c.Child), c.Expected);
}

using H = THitTest;
INSTANTIATE_TEST_SUITE_P(
    Answers, AppBarHitTest,
    testing::Values(
        THitCase{"BackgroundDragsTheBar", abeTop, {1, 1}, H::htClient, {150, 120}, true, false, H::htCaption},
        THitCase{"ChildKeepsTheClick", abeTop, {1, 1}, H::htClient, {150, 120}, true, true, H::htClient},
        THitCase{"NoButtonNoDrag", abeTop, {1, 1}, H::htClient, {150, 120}, false, false, H::htClient},
        THitCase{"DockedTopInnerSide", abeTop, {1, 1}, H::htBottom, {150, 141}, false, false, H::htBottom},
        THitCase{"DockedTopInnerCornerIsTheInnerSide", abeTop, {1, 1}, H::htBottomRight, {301, 141}, false, false, H::htBottom},
        THitCase{"DockedTopOuterSide", abeTop, {1, 1}, H::htTop, {150, 99}, false, false, H::htBorder},
        THitCase{"DockedTopNoVerticalStep", abeTop, {1, 0}, H::htBottom, {150, 141}, false, false, H::htBorder},
        THitCase{"DockedLeftInnerSide", abeLeft, {1, 1}, H::htRight, {300, 120}, false, false, H::htRight},
        THitCase{"DockedRightInnerSide", abeRight, {1, 1}, H::htLeft, {99, 120}, false, false, H::htLeft},
        THitCase{"DockedBottomInnerSide", abeBottom, {1, 1}, H::htTop, {150, 99}, false, false, H::htTop},
        THitCase{"FloatingSideWithStep", abeFloat, {1, 1}, H::htRight, {301, 120}, false, false, H::htRight},
        THitCase{"FloatingSideWithoutStep", abeFloat, {0, 1}, H::htRight, {301, 120}, false, false, H::htBorder},
        THitCase{"FloatingCornerOnlyVertical", abeFloat, {0, 1}, H::htTopLeft, {99, 99}, false, false, H::htTop},
        THitCase{"FloatingCornerOnlyHorizontal", abeFloat, {1, 0}, H::htBottomLeft, {99, 141}, false, false, H::htLeft},
        THitCase{"FloatingCornerNoStep", abeFloat, {0, 0}, H::htTopRight, {301, 99}, false, false, H::htBorder},
        THitCase{"CaptionUntouched", abeFloat, {0, 0}, H::htCaption, {150, 95}, false, false, H::htCaption}),
    [](const auto& info) { return info.param.Name; });

struct TMinMaxCase {
  const char* Name;
  TAppBarEdge Edge;
  TMinMaxInfo Expected;
};

class AppBarMinMax : public testing::TestWithParam<TMinMaxCase> {};

TEST_P(AppBarMinMax, LimitsTheTrackingSize) {
  TFakeAppBarShell shell(kScreen);
  TFakeAppBarWindow window(1);
  TAppBar bar(shell, window, EnglishTexts());
  bar.ABS().abEdge = GetParam().Edge;
  bar.ABS().szMinDockSize = {20, 19};
  bar.ABS().nMinWidth = 50;
  bar.ABS().nMinHeight = 30;
  EXPECT_EQ(bar.GetMinMaxInfo(), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(States, AppBarMinMax,
                         testing::Values(TMinMaxCase{"Top", abeTop, {{20, 19}, {1024, 384}}},
                                         TMinMaxCase{"Left", abeLeft, {{20, 19}, {512, 768}}},
                                         TMinMaxCase{"Floating", abeFloat, {{50, 30}, {1024, 768}}}),
                         [](const auto& info) { return info.param.Name; });

}  // namespace
}  // namespace zentrix
