// The bar's registry of tool windows: created at the first request, shown at every request,
// re-shown on a panel click in a fixed order, saved together, destroyed with the bar.
#include <QPointer>
#include <QTest>
#include <map>

#include "ToolWindowFixture.h"
#include "settings/BarSettings.h"
#include "settings/WindowPlacement.h"
#include "tools/ToolWindows.h"

namespace zentrix::test {
namespace {

// A tool window that notes each time it is raised, under its kind's name.
class TRaiseLoggingWindow : public TTestToolWindow {
 public:
  TRaiseLoggingWindow(QWidget* owner, TSettingsStore& store, std::string path, std::string name,
                      std::vector<std::string>& log)
      : TTestToolWindow(owner, store, std::move(path)), FName(std::move(name)), FLog(log) {}

 protected:
  bool event(QEvent* event) override {
    if (event->type() == QEvent::ZOrderChange) FLog.push_back(FName);
    return TTestToolWindow::event(event);
  }

 private:
  std::string FName;
  std::vector<std::string>& FLog;
};

class ToolWindowsTest : public TToolWindowTest {
 protected:
  void SetUp() override {
    TToolWindowTest::SetUp();
    FWindows = std::make_unique<TToolWindows>(Owner(), Store());
  }
  void TearDown() override {
    FWindows.reset();
    TToolWindowTest::TearDown();
  }

  // Registers kind with a factory that counts its calls.
  void Add(TToolKind kind, std::string name, std::string_view path) {
    FWindows->Register(kind, [this, name, path](QWidget* owner, TSettingsStore& store) -> TToolWindow* {
      ++Created[name];
      return new TRaiseLoggingWindow(owner, store, std::string(path), name, Raised);
    });
  }

  TToolWindows& Windows() { return *FWindows; }
  std::map<std::string, int> Created;
  std::vector<std::string> Raised;

 private:
  std::unique_ptr<TToolWindows> FWindows;
};

TEST_F(ToolWindowsTest, AKindWithoutFactoryIsNotAvailableAndOpensNothing) {
  Add(TToolKind::tkCalendar, "calendar", kCalendarStoragePath);
  EXPECT_TRUE(Windows().Available(TToolKind::tkCalendar));
  EXPECT_FALSE(Windows().Available(TToolKind::tkNotepad));
  EXPECT_EQ(Windows().Open(TToolKind::tkNotepad), nullptr);
  EXPECT_EQ(Windows().Window(TToolKind::tkNotepad), nullptr);
}

TEST_F(ToolWindowsTest, TheFirstRequestCreatesAndEveryRequestShowsTheSameWindow) {
  Add(TToolKind::tkCalculator, "calculator", kCalculatorStoragePath);
  EXPECT_EQ(Windows().Window(TToolKind::tkCalculator), nullptr);
  TToolWindow* first = Windows().Open(TToolKind::tkCalculator);
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(first->isVisible());
  EXPECT_EQ(first->parentWidget(), Owner());
  EXPECT_EQ(Windows().Window(TToolKind::tkCalculator), first);

  first->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(Windows().Window(TToolKind::tkCalculator), first);
  EXPECT_EQ(Windows().Open(TToolKind::tkCalculator), first);
  EXPECT_TRUE(first->isVisible());
  EXPECT_EQ(Created["calculator"], 1);
}

TEST_F(ToolWindowsTest, APanelClickReshowsTheVisibleWindowsInTheirOrder) {
  Add(TToolKind::tkSpreadsheet, "spreadsheet", "电子表格");
  Add(TToolKind::tkCalculator, "calculator", kCalculatorStoragePath);
  Add(TToolKind::tkNotepad, "notepad", kNotepadStoragePath);
  Add(TToolKind::tkRSS, "rss", kRSSStoragePath);
  Add(TToolKind::tkDeskExp, "deskexp", kDeskExpStoragePath);
  Add(TToolKind::tkCalendar, "calendar", kCalendarStoragePath);
  for (TToolKind kind : {TToolKind::tkSpreadsheet, TToolKind::tkNotepad, TToolKind::tkCalculator, TToolKind::tkRSS,
                         TToolKind::tkDeskExp})
    Windows().Open(kind);
  Windows().Window(TToolKind::tkCalculator)->close();
  Raised.clear();

  Windows().ShowVisible();
  EXPECT_EQ(Raised, (std::vector<std::string>{"deskexp", "rss", "notepad", "spreadsheet"}));
  EXPECT_FALSE(Windows().Window(TToolKind::tkCalculator)->isVisible());
  EXPECT_EQ(Windows().Window(TToolKind::tkCalendar), nullptr);
}

TEST_F(ToolWindowsTest, SaveAllStoresEveryCreatedWindowWithoutWritingTheFile) {
  Add(TToolKind::tkCalendar, "calendar", kCalendarStoragePath);
  Add(TToolKind::tkRSS, "rss", kRSSStoragePath);
  Add(TToolKind::tkNotepad, "notepad", kNotepadStoragePath);
  Windows().Open(TToolKind::tkCalendar);
  Windows().Open(TToolKind::tkRSS);
  Windows().Window(TToolKind::tkRSS)->close();
  const std::string written = SettingsText();
  // Moved since anything was written.
  Windows().Window(TToolKind::tkCalendar)->setGeometry(11, 12, 256, 386);
  Windows().Window(TToolKind::tkRSS)->setGeometry(21, 22, 256, 386);

  Windows().SaveAll();
  EXPECT_EQ(SettingsText(), written);
  EXPECT_TRUE(Store().Modified());
  EXPECT_EQ(Store().ReadString("日历\\NormPos", ""), "11,12,267,398");
  EXPECT_EQ(Store().ReadString("RSS\\NormPos", ""), "21,22,277,408");
  EXPECT_FALSE(Store().ValueExists("记事本\\NormPos"));
}

TEST_F(ToolWindowsTest, DestroyAllDeletesTheWindowsAndTheNextRequestCreatesAgain) {
  Add(TToolKind::tkCalendar, "calendar", kCalendarStoragePath);
  Add(TToolKind::tkRSS, "rss", kRSSStoragePath);
  QPointer<TToolWindow> calendar = Windows().Open(TToolKind::tkCalendar);
  QPointer<TToolWindow> rss = Windows().Open(TToolKind::tkRSS);
  rss->close();

  Windows().DestroyAll();
  EXPECT_TRUE(calendar.isNull());
  EXPECT_TRUE(rss.isNull());
  EXPECT_EQ(Windows().Window(TToolKind::tkCalendar), nullptr);
  EXPECT_NE(Windows().Open(TToolKind::tkCalendar), nullptr);
  EXPECT_EQ(Created["calendar"], 2);
}

TEST_F(ToolWindowsTest, TheWindowsGoWithTheRegistry) {
  QPointer<TToolWindow> w;
  {
    TToolWindows windows(Owner(), Store());
    windows.Register(TToolKind::tkCalendar, [](QWidget* owner, TSettingsStore& store) -> TToolWindow* {
      return new TTestToolWindow(owner, store, std::string(kCalendarStoragePath));
    });
    w = windows.Open(TToolKind::tkCalendar);
    ASSERT_FALSE(w.isNull());
  }
  EXPECT_TRUE(w.isNull());
}

TEST_F(ToolWindowsTest, ABarDeletedBeforeItsRegistryTakesTheWindowsAlong) {
  auto* bar = new QWidget;
  QPointer<TToolWindow> w;
  {
    TToolWindows windows(bar, Store());
    windows.Register(TToolKind::tkRSS, [](QWidget* owner, TSettingsStore& store) -> TToolWindow* {
      return new TTestToolWindow(owner, store, std::string(kRSSStoragePath));
    });
    w = windows.Open(TToolKind::tkRSS);
    delete bar;
    EXPECT_TRUE(w.isNull());
    EXPECT_EQ(windows.Window(TToolKind::tkRSS), nullptr);
  }  // and the registry does not delete them a second time
}

}  // namespace
}  // namespace zentrix::test
