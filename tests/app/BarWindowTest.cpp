// The bar's own follow-up of its dialogs and windows, in the real window on a private X server.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextBlock>
#include <QTextCursor>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "app/GradientPanel.h"
#include "app/LocalizationController.h"
#include "app/MainWindow.h"
#include "core/VersionInfo.h"
#include "core/Clock.h"
#include "core/DateTime.h"
#include "core/LanguagePack.h"
#include "settings/DataFiles.h"
#include "settings/WindowPlacement.h"
#include "support/GuiFixture.h"
#include "tools/ToolWindow.h"
#include "tools/ToolWindows.h"

namespace zentrix::test {
extern bool GXvfbRunning;

namespace {

std::string FileBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

class BarWindowTest : public TGuiTest {
protected:
  void SetUp() override {
    TGuiTest::SetUp();
    if (!GXvfbRunning) GTEST_SKIP() << "no private X server (Xvfb)";
    FLangCtrl = std::make_unique<TLocalizationController>(TLanguagePack({ZENTRIX_RESOURCES}), FTexts);
    FLangCtrl->SetLanguage(QStringLiteral("en"));
  }
  void TearDown() override {
    FBar.reset();
    FLangCtrl.reset();
    TGuiTest::TearDown();
  }

  Twnd_zentrix_Main& StartBar(std::function<void(TToolWindows&)> registerTools = {}) {
    TMainWindowOptions options;
    // No tool window of the program's own unless the test brings one.
    options.RegisterTools = registerTools ? std::move(registerTools) : [](TToolWindows&) {};
    options.Version = BuildVersionInfo();
    options.ProgramFolder = ZENTRIX_RESOURCES;
    options.NoUpdateCheck = true;
    options.Clock = &FClock;
    FBar = std::make_unique<Twnd_zentrix_Main>(std::move(options), FTexts, *FLangCtrl);
    FBar->ShowBar();
    return *FBar;
  }
  QString DatePanel() const { return FBar->findChild<TGradientPanel*>(QStringLiteral("DatePanel"))->Caption(); }
  std::filesystem::path SettingsFile() const { return SettingsFilePath(FBar->FDataFolder); }
  std::filesystem::path NamesFile() const { return NamesFilePath(FBar->FDataFolder); }

  // 1 March of a common year: the day name on line 61, as in a leap year.
  TFixedClock FClock{EncodeDateTime(TDateParts{2027, 3, 1, 12, 0, 0, 0})};
  TInterfaceTexts FTexts;
  std::unique_ptr<TLocalizationController> FLangCtrl;
  std::unique_ptr<Twnd_zentrix_Main> FBar;
};

TEST_F(BarWindowTest, ADayNameEditedInThePreferencesShowsAtTheNextTickAndIsKept) {
  Twnd_zentrix_Main& bar = StartBar();
  // The first tick has drawn the date with the shipped name.
  ASSERT_TRUE(WaitFor([&] { return DatePanel().endsWith(QStringLiteral("1.3.2027")); }, 5000)) << DatePanel().toStdString();
  ASSERT_FALSE(DatePanel().contains(QStringLiteral("Founders' Day")));

  ExpectModal([](QDialog& dialog) {
    auto* memo = dialog.findChild<QPlainTextEdit*>(QStringLiteral("Memo"));
    ASSERT_NE(memo, nullptr);
    QTextCursor line(memo->document()->findBlockByNumber(60));
    line.select(QTextCursor::LineUnderCursor);
    line.insertText(QStringLiteral("61=Founders' Day"));
    dialog.findChild<QAbstractButton*>(QStringLiteral("bOK"))->click();
  });
  bar.acPrefsExecute();

  EXPECT_TRUE(WaitFor([&] { return DatePanel().startsWith(QStringLiteral("Founders' Day - ")); }, 3000))
      << DatePanel().toStdString();
  const std::vector<std::string> kept = LoadDayNames(NamesFile());
  ASSERT_GE(kept.size(), 61u);
  EXPECT_EQ(kept[60], "61=Founders' Day");
  EXPECT_TRUE(std::filesystem::exists(SettingsFile())) << "OK writes the settings file at once";
}

TEST_F(BarWindowTest, CancelledPreferencesLeaveTheSettingsAndDayNamesFilesAlone) {
  Twnd_zentrix_Main& bar = StartBar();
  bar.SaveBarSettingsNow();
  const std::string settings = FileBytes(SettingsFile());
  const std::string names = FileBytes(NamesFile());
  const auto settingsTime = std::filesystem::last_write_time(SettingsFile());
  const auto namesTime = std::filesystem::last_write_time(NamesFile());
  ASSERT_FALSE(names.empty());

  ExpectModal([](QDialog& dialog) {
    auto* memo = dialog.findChild<QPlainTextEdit*>(QStringLiteral("Memo"));
    memo->setPlainText(QStringLiteral("1=Changed and then cancelled"));
    dialog.findChild<QAbstractButton*>(QStringLiteral("bCancel"))->click();
  });
  bar.acPrefsExecute();
  QApplication::processEvents();

  EXPECT_EQ(FileBytes(SettingsFile()), settings);
  EXPECT_EQ(FileBytes(NamesFile()), names);
  EXPECT_EQ(std::filesystem::last_write_time(SettingsFile()), settingsTime);
  EXPECT_EQ(std::filesystem::last_write_time(NamesFile()), namesTime);
}

// Two tool windows of the frame alone, standing in for the calendar and the RSS reader.
void RegisterTwoWindows(TToolWindows& windows) {
  windows.Register(TToolKind::tkCalendar, [](QWidget* owner, TSettingsStore& store) {
    return new TToolWindow(owner, store, std::string(kCalendarStoragePath), QStringLiteral("Twnd_zentrix_Calendar"),
                           QStringLiteral("日历"), QSize(587, 445));
  });
  windows.Register(TToolKind::tkRSS, [](QWidget* owner, TSettingsStore& store) {
    return new TToolWindow(owner, store, std::string(kRSSStoragePath), QStringLiteral("Twnd_zentrix_RSS"),
                           QStringLiteral("RSS阅读器"), QSize(615, 487));
  });
}

QAction* Action(Twnd_zentrix_Main& bar, const char* name) {
  return bar.findChild<QAction*>(QString::fromLatin1(name));
}

TEST_F(BarWindowTest, OnlyTheToolWindowsTheProgramHasAreOfferedAndTheFirstRequestCreates) {
  Twnd_zentrix_Main& bar = StartBar(RegisterTwoWindows);
  struct TCase {
    const char* Action;
    bool Enabled;
  };
  for (const TCase& c : {TCase{"acCalendar", true}, TCase{"acRSS", true}, TCase{"acCalculator", false},
                         TCase{"acNotepad", false}, TCase{"acDeskExpOnOff", false}, TCase{"acPrefs", true}})
    EXPECT_EQ(Action(bar, c.Action)->isEnabled(), c.Enabled) << c.Action;

  Action(bar, "acCalendar")->trigger();
  TToolWindow* calendar = bar.ToolWindows().Window(TToolKind::tkCalendar);
  ASSERT_NE(calendar, nullptr);
  EXPECT_TRUE(WaitFor([&] { return calendar->isVisible(); }));
  EXPECT_EQ(calendar->parentWidget(), &bar);
  calendar->close();
  Action(bar, "acCalendar")->trigger();
  EXPECT_EQ(bar.ToolWindows().Window(TToolKind::tkCalendar), calendar) << "a second request shows the same window";
  EXPECT_TRUE(calendar->isVisible());
  EXPECT_EQ(bar.ToolWindows().Window(TToolKind::tkRSS), nullptr);
}

TEST_F(BarWindowTest, PanelClickBringsBackOpenWindowsOnlyAndDeactivationSavesThem) {
  Twnd_zentrix_Main& bar = StartBar(RegisterTwoWindows);
  Action(bar, "acCalendar")->trigger();
  Action(bar, "acRSS")->trigger();
  TToolWindow* calendar = bar.ToolWindows().Window(TToolKind::tkCalendar);
  TToolWindow* reader = bar.ToolWindows().Window(TToolKind::tkRSS);
  ASSERT_TRUE(WaitFor([&] { return calendar->isVisible() && reader->isVisible(); }));
  reader->close();
  calendar->showMinimized();
  ASSERT_TRUE(WaitFor([&] { return calendar->isMinimized(); }));

  bar.PanelClick();
  EXPECT_TRUE(WaitFor([&] { return !calendar->isMinimized(); })) << "an open window comes back";
  EXPECT_FALSE(reader->isVisible()) << "a closed window stays closed";

  calendar->move(40, 120);
  ASSERT_TRUE(WaitFor([&] { return calendar->pos() == QPoint(40, 120); }));
  bar.ApplicationEventsDeactivate();
  TSettingsStore file(SettingsFile());
  const std::optional<TWindowPlacement> placement = RestorePlacement(file, kCalendarStoragePath);
  ASSERT_TRUE(placement.has_value()) << "the calendar's placement is in the file at once";
  EXPECT_EQ(placement->Left, 40);
  EXPECT_EQ(placement->Top, 120);
}

TEST_F(BarWindowTest, ClosingTheBarDestroysTheToolWindowsItCreated) {
  Twnd_zentrix_Main& bar = StartBar(RegisterTwoWindows);
  Action(bar, "acCalendar")->trigger();
  QPointer<TToolWindow> calendar = bar.ToolWindows().Window(TToolKind::tkCalendar);
  ASSERT_TRUE(calendar);
  calendar->move(60, 140);
  ASSERT_TRUE(WaitFor([&] { return calendar->pos() == QPoint(60, 140); }));
  bar.close();
  EXPECT_TRUE(calendar.isNull());
  TSettingsStore file(SettingsFile());
  const std::optional<TWindowPlacement> placement = RestorePlacement(file, kCalendarStoragePath);
  ASSERT_TRUE(placement.has_value());
  EXPECT_EQ(placement->Left, 60) << "the place it had when the bar closed";
}

}  // namespace
}  // namespace zentrix::test
