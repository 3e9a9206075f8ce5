// The window tests' base must catch what it promises to catch, or every window test is weaker.
#include <gtest/gtest-spi.h>

#include <QDialog>
#include <QMessageBox>

#include "app/FileDialogs.h"
#include "app/MessageBoxes.h"
#include "app/PresetAnswers.h"
#include "platform/Environment.h"
#include "support/GuiFixture.h"

namespace zentrix::test {
namespace {

class GuiFixtureTest : public TGuiTest {};

TEST_F(GuiFixtureTest, PresetAnswersStandInForBoxesAndFileDialogs) {
  NextAnswer(QMessageBox::Yes);
  NextAnswer(QMessageBox::No);
  NextAnswer(QMessageBox::Ok);
  NextFileName(QStringLiteral("/tmp/a.txt"));
  NextFileName(QString());
  EXPECT_TRUE(ConfirmBox(QStringLiteral("First?")));
  EXPECT_FALSE(ConfirmBox(QStringLiteral("Second?")));
  ErrorBox(QStringLiteral("It broke"));
  EXPECT_EQ(OpenFileName(nullptr, {}, {}, {}), QStringLiteral("/tmp/a.txt"));
  EXPECT_EQ(SaveFileName(nullptr, {}, {}, {}), QString());
  EXPECT_EQ(preset_answers::Answered(),
            QStringList({QStringLiteral("First?"), QStringLiteral("Second?"), QStringLiteral("It broke")}));
}

TEST_F(GuiFixtureTest, AnExpectedModalDialogIsHandedToTheTest) {
  QDialog dialog;
  bool handled = false;
  ExpectModal([&](QDialog& d) {
    handled = &d == &dialog;
    d.accept();
  });
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
  EXPECT_TRUE(handled);
}

TEST_F(GuiFixtureTest, AnUnexpectedModalDialogFailsTheTestAndIsClosed) {
  EXPECT_NONFATAL_FAILURE(
      {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Caption"), QStringLiteral("Surprise"));
        box.exec();
        EXPECT_FALSE(box.isVisible());
      },
      "unexpected modal dialog Caption: Surprise");
}

TEST_F(GuiFixtureTest, TheUsersFoldersAreTheTestsOwn) {
  EXPECT_EQ(platform::UserDataFolder(), DataFolder());
  EXPECT_EQ(platform::UserConfigFolder(), ConfigFolder());
}

}  // namespace
}  // namespace zentrix::test
