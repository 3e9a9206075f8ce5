// The bar's own follow-up of its dialogs and windows, in the real window on a private X server.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QPlainTextEdit>
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
#include "support/GuiFixture.h"

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

  Twnd_zentrix_Main& StartBar() {
    TMainWindowOptions options;
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

}  // namespace
}  // namespace zentrix::test
