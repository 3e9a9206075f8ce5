// The frame every tool window shares: where it appears, how it is kept on screen, what it stores
// and when, and how Escape closes it.
#include <QApplication>
#include <QScreen>
#include <QTest>

#include "ToolWindowFixture.h"
#include "settings/BarSettings.h"
#include "settings/WindowPlacement.h"
#include "settings/BarSettings.h"

namespace zentrix::test {
namespace {

// Long enough for a move to count as finished.
constexpr int kSettleMs = 500;

void Deactivate(QWidget& window) {
  QEvent deactivate(QEvent::WindowDeactivate);
  QApplication::sendEvent(&window, &deactivate);
}

void Pause(int ms) { QTest::qWait(ms); }

class ToolWindowFrameTest : public TToolWindowTest {
 protected:
  void SetUp() override {
    TToolWindowTest::SetUp();
    // The offscreen platform's one screen; the expected positions below are on it.
    ASSERT_EQ(QGuiApplication::primaryScreen()->geometry(), QRect(0, 0, 800, 800));
  }
  TTestToolWindow* Make(std::string_view path, QSize size = {256, 386}) {
    return new TTestToolWindow(Owner(), Store(), std::string(path), size);
  }
};

TEST_F(ToolWindowFrameTest, TheFirstShowCentresTheWindowOnThePrimaryScreen) {
  TTestToolWindow* w = Make(kCalendarStoragePath, {587, 445});
  w->ShowWindow();
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(w->geometry(), QRect(106, 177, 587, 445));
  EXPECT_EQ(w->objectName(), QStringLiteral("Twnd_zentrix_Test"));
  EXPECT_EQ(w->windowTitle(), QStringLiteral("测试"));
  EXPECT_TRUE(w->isWindow());
  EXPECT_EQ(w->parentWidget(), Owner());
}

TEST_F(ToolWindowFrameTest, TheStoredPlacementIsRestoredAtTheFirstShowOnly) {
  TWindowPlacement stored;
  stored.Left = 100;
  stored.Top = 50;
  stored.Right = 400;
  stored.Bottom = 350;
  SavePlacement(Store(), kCalendarStoragePath, stored);
  TTestToolWindow* w = Make(kCalendarStoragePath);
  w->ShowWindow();
  EXPECT_EQ(w->geometry(), QRect(100, 50, 300, 300));

  // From then on the window itself is the truth, not the store.
  w->setGeometry(200, 150, 300, 300);
  w->close();
  w->ShowWindow();
  EXPECT_EQ(w->geometry(), QRect(200, 150, 300, 300));
}

TEST_F(ToolWindowFrameTest, ARequestBringsAMinimisedWindowBack) {
  TTestToolWindow* w = Make(kCalendarStoragePath);
  w->ShowWindow();
  w->setWindowState(Qt::WindowMinimized);
  ASSERT_TRUE(w->isMinimized());
  w->ShowWindow();
  EXPECT_FALSE(w->isMinimized());
  EXPECT_TRUE(w->isVisible());
}

struct TBadPlacementCase {
  const char* Name;
  const char* NormPos;
};

class BadPlacementTest : public ToolWindowFrameTest, public ::testing::WithParamInterface<TBadPlacementCase> {};

TEST_P(BadPlacementTest, IsCentredInstead) {
  Store().WriteString("日历\\NormPos", GetParam().NormPos);
  TTestToolWindow* w = Make(kCalendarStoragePath, {587, 445});
  w->ShowWindow();
  EXPECT_EQ(w->geometry(), QRect(106, 177, 587, 445));
}

INSTANTIATE_TEST_SUITE_P(Placements, BadPlacementTest,
                         ::testing::Values(TBadPlacementCase{"Empty", "0,0,0,0"},
                                           TBadPlacementCase{"Inverted", "300,300,100,100"},
                                           TBadPlacementCase{"TooLarge", "0,0,100000,400"},
                                           TBadPlacementCase{"FarAway", "-90000,0,-89000,400"},
                                           TBadPlacementCase{"NotNumbers", "a,b,c,d"},
                                           TBadPlacementCase{"ThreeValues", "1,2,3"}),
                         [](const auto& info) { return std::string(info.param.Name); });

struct TScreenCheckCase {
  const char* Name;
  // Frame positions; the offscreen platform's frame is 2 pixels on each side, so the framed
  // 256 x 386 window is 260 x 390.
  QPoint MovedTo;    // where the window was when it closed
  bool CheckOnShow;  // false: the weather window
  QPoint ShownAt;    // where the next show puts it
};

class ScreenCheckAtShowTest : public ToolWindowFrameTest, public ::testing::WithParamInterface<TScreenCheckCase> {};

TEST_P(ScreenCheckAtShowTest, PullsTheWindowBackWhenItShowsAgain) {
  const TScreenCheckCase& c = GetParam();
  TTestToolWindow* w = Make(c.CheckOnShow ? kCalculatorStoragePath : kWeatherStoragePath);
  w->SetScreenCheckOnShow(c.CheckOnShow);
  w->ShowWindow();
  w->move(c.MovedTo);
  w->close();
  w->ShowWindow();
  EXPECT_EQ(w->frameGeometry().topLeft(), c.ShownAt);
  EXPECT_EQ(w->size(), QSize(256, 386));
}

INSTANTIATE_TEST_SUITE_P(Shows, ScreenCheckAtShowTest,
                         ::testing::Values(TScreenCheckCase{"HalfOffTheRight", {670, 100}, true, {540, 100}},
                                           TScreenCheckCase{"OffTheLeft", {-100, 100}, true, {0, 100}},
                                           TScreenCheckCase{"AboveTheTop", {100, -40}, true, {100, 0}},
                                           TScreenCheckCase{"OffTheRightAndTop", {700, -40}, true, {540, 0}},
                                           TScreenCheckCase{"BelowTheBottomStays", {100, 600}, true, {100, 600}},
                                           TScreenCheckCase{"WeatherStaysOffTheRight", {670, 100}, false, {670, 100}}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(ToolWindowFrameTest, DeactivationWritesThePlacementToTheFileAtOnce) {
  TTestToolWindow* w = Make(kCalendarStoragePath, {587, 445});
  w->ShowWindow();
  w->setGeometry(123, 45, 587, 445);
  ASSERT_EQ(SettingsText(), "");
  Deactivate(*w);
  EXPECT_EQ(FileValue("日历", "NormPos"), "123,45,710,490");
  EXPECT_EQ(FileValue("日历", "ShowCmd"), "1");
  EXPECT_EQ(FileValue("日历", "FormVersion"), "0");
  EXPECT_NE(FileValue("日历", "PixelsPerInch"), "");
}

TEST_F(ToolWindowFrameTest, ClosingSavesAndKeepsTheWindow) {
  TTestToolWindow* w = Make(kCalendarStoragePath, {587, 445});
  QPointer<TTestToolWindow> alive(w);
  w->ShowWindow();
  w->setGeometry(30, 40, 587, 445);
  w->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_FALSE(alive.isNull());
  EXPECT_FALSE(w->isVisible());
  EXPECT_EQ(FileValue("日历", "NormPos"), "30,40,617,485");
}

TEST_F(ToolWindowFrameTest, AWindowNeverShownLeavesTheStoredPlacementAlone) {
  TWindowPlacement stored;
  stored.Left = 10;
  stored.Top = 20;
  stored.Right = 300;
  stored.Bottom = 400;
  SavePlacement(Store(), kCalendarStoragePath, stored);
  TTestToolWindow* w = Make(kCalendarStoragePath);
  w->SaveSettings();
  EXPECT_EQ(RestorePlacement(Store(), kCalendarStoragePath), stored);
}

TEST_F(ToolWindowFrameTest, TwoWindowsKeepTheirPlacementsApart) {
  {
    TTestToolWindow* rss = Make(kRSSStoragePath, {615, 487});
    TTestToolWindow* sheet = Make(kSpreadsheetStoragePath, {615, 412});
    rss->ShowWindow();
    sheet->ShowWindow();
    rss->setGeometry(40, 60, 615, 487);
    sheet->setGeometry(120, 150, 615, 412);
    Deactivate(*rss);
    Deactivate(*sheet);
    delete rss;
    delete sheet;
  }
  // A later run reads them back from the file.
  TSettingsStore reread(SettingsFile());
  TTestToolWindow rss(Owner(), reread, std::string(kRSSStoragePath), {615, 487});
  TTestToolWindow sheet(Owner(), reread, std::string(kSpreadsheetStoragePath), {615, 412});
  rss.ShowWindow();
  sheet.ShowWindow();
  EXPECT_EQ(rss.geometry(), QRect(40, 60, 615, 487));
  EXPECT_EQ(sheet.geometry(), QRect(120, 150, 615, 412));
}

TEST_F(ToolWindowFrameTest, AnUnwritableFileShowsNoMessageAndKeepsThePlacementInMemory) {
  std::ofstream(Home() / "file") << "not a folder";
  TSettingsStore store(Home() / "file" / "Zentrix.ini");
  auto* w = new TTestToolWindow(Owner(), store, std::string(kCalendarStoragePath), {587, 445});
  w->ShowWindow();
  w->setGeometry(50, 60, 587, 445);
  Deactivate(*w);
  w->close();
  EXPECT_TRUE(store.Modified());
  EXPECT_EQ(store.ReadString("日历\\NormPos", ""), "50,60,637,505");
  delete w;
}

// ---- Escape

struct TEscapeCase {
  const char* Name;
  Qt::KeyboardModifiers Modifiers;
  bool WithEdit;  // a focused line edit, or a window with no control
  bool Closes;
};

class EscapeTest : public ToolWindowFrameTest, public ::testing::WithParamInterface<TEscapeCase> {};

TEST_P(EscapeTest, ClosesOnlyWithoutModifiers) {
  const TEscapeCase& c = GetParam();
  auto* w = new TTestToolWindow(Owner(), Store(), std::string(kCalendarStoragePath), {256, 386}, c.WithEdit);
  w->ShowWindow();
  QWidget* target = w;
  if (c.WithEdit) {
    w->Edit->setFocus();
    target = w->Edit;
  }
  QTest::keyClick(target, Qt::Key_Escape, c.Modifiers);
  EXPECT_EQ(w->isVisible(), !c.Closes);
  if (c.WithEdit) {
    // The window sees the key first: a plain Escape never reaches the control, one with a
    // modifier does (the modifier keys' own presses aside).
    std::vector<QKeyCombination> escapes;
    for (QKeyCombination k : w->Edit->Keys)
      if (k.key() == Qt::Key_Escape) escapes.push_back(k);
    const std::vector<QKeyCombination> expected =
        c.Closes ? std::vector<QKeyCombination>{}
                 : std::vector<QKeyCombination>{QKeyCombination(c.Modifiers, Qt::Key_Escape)};
    EXPECT_EQ(escapes, expected);
  }
}

INSTANTIATE_TEST_SUITE_P(Keys, EscapeTest,
                         ::testing::Values(TEscapeCase{"PlainInWindow", Qt::NoModifier, false, true},
                                           TEscapeCase{"PlainInEdit", Qt::NoModifier, true, true},
                                           TEscapeCase{"KeypadInEdit", Qt::KeypadModifier, true, true},
                                           TEscapeCase{"ShiftInWindow", Qt::ShiftModifier, false, false},
                                           TEscapeCase{"ShiftInEdit", Qt::ShiftModifier, true, false},
                                           TEscapeCase{"CtrlInEdit", Qt::ControlModifier, true, false},
                                           TEscapeCase{"AltInEdit", Qt::AltModifier, true, false},
                                           TEscapeCase{"CtrlInWindow", Qt::ControlModifier, false, false}),
                         [](const auto& info) { return std::string(info.param.Name); });

// The notepad and the spreadsheet run their own close action on Escape.
class TOwnEscapeWindow : public TTestToolWindow {
 public:
  using TTestToolWindow::TTestToolWindow;
  int Escapes = 0;

 protected:
  void EscapePressed() override { ++Escapes; }
};

TEST_F(ToolWindowFrameTest, EscapeRunsTheWindowsOwnAction) {
  auto* w = new TOwnEscapeWindow(Owner(), Store(), std::string(kNotepadStoragePath));
  w->ShowWindow();
  w->Edit->setFocus();
  QTest::keyClick(w->Edit, Qt::Key_Escape);
  EXPECT_EQ(w->Escapes, 1);
  EXPECT_TRUE(w->isVisible());
  EXPECT_TRUE(w->Edit->Keys.empty());
}

TEST_F(ToolWindowFrameTest, OtherKeysReachTheFocusedControlOnce) {
  TTestToolWindow* w = Make(kCalendarStoragePath);
  w->ShowWindow();
  w->Edit->setFocus();
  QTest::keyClicks(w->Edit, QStringLiteral("ab"));
  EXPECT_EQ(w->Edit->text(), QStringLiteral("ab"));
  EXPECT_TRUE(w->isVisible());
}

// ---- Snapping

TEST_F(ToolWindowFrameTest, AMoveByTheUserSnapsToTheNearEdges) {
  TTestToolWindow* w = Make(kCalendarStoragePath);
  w->ShowWindow();
  // Frame positions, as the window manager reports the end of a drag (framed: 260 x 390).
  w->move(7, 300);
  EXPECT_TRUE(WaitFor([&] { return w->pos() == QPoint(0, 300); }));
  w->move(800 - 260 - 9, 800 - 390 + 8);
  EXPECT_TRUE(WaitFor([&] { return w->pos() == QPoint(540, 410); }));
  w->move(300, 200);
  Pause(kSettleMs);
  EXPECT_EQ(w->pos(), QPoint(300, 200));
}

TEST_F(ToolWindowFrameTest, ARestoredPlacementNearAnEdgeIsNotSnapped) {
  TWindowPlacement stored;
  stored.Left = 5;
  stored.Top = 8;
  stored.Right = 261;
  stored.Bottom = 394;
  SavePlacement(Store(), kCalendarStoragePath, stored);
  TTestToolWindow* w = Make(kCalendarStoragePath);
  w->ShowWindow();
  Pause(kSettleMs);
  EXPECT_EQ(w->geometry().topLeft(), QPoint(5, 8));
}

}  // namespace
}  // namespace zentrix::test
