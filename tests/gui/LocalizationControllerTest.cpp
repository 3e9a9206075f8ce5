#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QWidget>

#include "app/LocalizationController.h"
#include "support/TempDir.h"

namespace zentrix {
namespace {

// A small window built like the bar: named actions, a menu, panels with hints.
struct TWindow {
  TWindow() {
    Form.setObjectName(QStringLiteral("Twnd_zentrix_Main"));
    Form.setWindowTitle(QStringLiteral("Valtri Zentrix"));
    Exit = new QAction(QStringLiteral("退出"), &Form);
    Exit->setObjectName(QStringLiteral("acExit"));
    Menu = new QMenu(QStringLiteral("菜单"), &Form);
    Menu->setObjectName(QStringLiteral("PopupMenu"));
    Date = new QLabel(QStringLiteral("?"), &Form);
    Date->setObjectName(QStringLiteral("DatePanel"));
    Date->setToolTip(QStringLiteral("日期"));
    Button = new QPushButton(QStringLiteral("确定"), &Form);
    Button->setObjectName(QStringLiteral("btnOK"));
    Unnamed = new QLabel(QStringLiteral("unchanged"), &Form);
  }
  QWidget Form;
  QAction* Exit;
  QMenu* Menu;
  QLabel* Date;
  QPushButton* Button;
  QLabel* Unnamed;
};

class LocalizationControllerTest : public ::testing::Test {
protected:
  LocalizationControllerTest() {
    FDir.Write("Zentrix.cs.lng",
               "Twnd_zentrix_Main.Caption=Lišta\n"
               "Twnd_zentrix_Main.acExit.Caption=Konec\n"
               "Twnd_zentrix_Main.acExit.Hint=Ukončí program\n"
               "Twnd_zentrix_Main.PopupMenu.Caption=Nabídka\n"
               "Twnd_zentrix_Main.DatePanel.Hint=Datum\n"
               "Twnd_zentrix_Main.btnOK.Caption=OK\n"
               "Other_Form.acExit.Caption=Jinde\n"
               "lc_Day=Den\n"
               "lc_Information=Informace\n");
    FDir.Write("Zentrix.en.lng", "Twnd_zentrix_Main.acExit.Caption=Exit\nlc_Day=Day\n");
    FDir.Write("Zentrix.xx.lng", "not a language file\n");
  }
  test::TTempDir FDir;
  TInterfaceTexts FTexts;
};

TEST_F(LocalizationControllerTest, ReplacesCaptionsHintsAndTexts) {
  TWindow w;
  TLocalizationController controller(TLanguagePack({FDir.Path()}), FTexts);
  QSignalSpy changed(&controller, &TLocalizationController::LanguageChanged);
  controller.AddWindow(&w.Form);
  EXPECT_EQ(w.Exit->text(), QStringLiteral("退出"));  // built-in until a language is chosen

  ASSERT_TRUE(controller.SetLanguage(QStringLiteral("cs")));
  EXPECT_EQ(controller.Language(), QStringLiteral("cs"));
  ASSERT_EQ(changed.count(), 1);
  EXPECT_EQ(changed.at(0).at(0).toString(), QStringLiteral("cs"));
  struct TCase {
    const char* Name;
    QString Actual;
    QString Expected;
  };
  const TCase cases[] = {
      {"WindowTitle", w.Form.windowTitle(), QStringLiteral("Lišta")},
      {"ActionCaption", w.Exit->text(), QStringLiteral("Konec")},
      {"ActionHint", w.Exit->toolTip(), QStringLiteral("Ukončí program")},
      {"MenuTitle", w.Menu->title(), QStringLiteral("Nabídka")},
      {"PanelHint", w.Date->toolTip(), QStringLiteral("Datum")},
      {"PanelTextUntouched", w.Date->text(), QStringLiteral("?")},
      {"ButtonCaption", w.Button->text(), QStringLiteral("OK")},
      {"UnnamedUntouched", w.Unnamed->text(), QStringLiteral("unchanged")},
      {"InterfaceText", controller.Text("lc_Day", "Day"), QStringLiteral("Den")},
  };
  for (const TCase& c : cases) EXPECT_EQ(c.Actual, c.Expected) << c.Name;

  // English has no lc_Information and no menu title: those keep the Czech text.
  ASSERT_TRUE(controller.SetLanguage(QStringLiteral("en")));
  EXPECT_EQ(w.Exit->text(), QStringLiteral("Exit"));
  EXPECT_EQ(w.Menu->title(), QStringLiteral("Nabídka"));
  EXPECT_EQ(FTexts.Get("lc_Day", "?"), "Day");
  EXPECT_EQ(FTexts.Get("lc_Information", "Information"), "Informace");

  // A window added later gets the current language at once.
  TWindow late;
  controller.AddWindow(&late.Form);
  EXPECT_EQ(late.Exit->text(), QStringLiteral("Exit"));
}

TEST_F(LocalizationControllerTest, UnknownLanguageFallsBackBrokenFileChangesNothing) {
  TWindow w;
  TLocalizationController controller(TLanguagePack({FDir.Path()}), FTexts);
  controller.AddWindow(&w.Form);
  EXPECT_EQ(controller.AvailableLanguages(), (QStringList{"cs", "en", "xx"}));

  ASSERT_TRUE(controller.SetLanguage(QStringLiteral("fr")));
  EXPECT_EQ(controller.Language(), QStringLiteral("en"));
  EXPECT_EQ(w.Exit->text(), QStringLiteral("Exit"));

  QSignalSpy changed(&controller, &TLocalizationController::LanguageChanged);
  EXPECT_FALSE(controller.SetLanguage(QStringLiteral("xx")));
  EXPECT_TRUE(controller.LastError().contains(QStringLiteral("line 1")));
  EXPECT_EQ(controller.Language(), QStringLiteral("en"));
  EXPECT_EQ(w.Exit->text(), QStringLiteral("Exit"));
  EXPECT_EQ(changed.count(), 0);
}

TEST_F(LocalizationControllerTest, LanguageFromTheLocale) {
  TLocalizationController controller(TLanguagePack({FDir.Path()}), FTexts);
  const std::pair<const char*, const char*> cases[] = {
      {"cs_CZ.UTF-8", "cs"}, {"de_DE.UTF-8", "en"}, {"C", "en"}, {"", "en"}};
  const QByteArray saved = qgetenv("LANG");
  qunsetenv("LC_ALL");
  qunsetenv("LC_MESSAGES");
  for (const auto& [locale, code] : cases) {
    qputenv("LANG", locale);
    EXPECT_EQ(controller.LocaleLanguage(), QString::fromLatin1(code)) << locale;
  }
  qputenv("LANG", saved);
}

}  // namespace
}  // namespace zentrix
