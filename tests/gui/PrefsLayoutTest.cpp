// The preferences dialog in each language: every control has a caption in that language and the
// caption fits its control on each page. With ZENTRIX_SCREENSHOT_DIR set, each page is also
// saved there as prefs-<language>-<page>.png for a person to look at.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <cstdlib>

#include "app/LocalizationController.h"
#include "app/PrefsDialog.h"
#include "core/LanguagePack.h"
#include "support/GuiFixture.h"
#include "widgets/CategoryButtons.h"
#include "widgets/ColourComboBox.h"
#include "widgets/HeaderPanel.h"

namespace zentrix::test {
namespace {

bool HasChinese(const QString& text) {
  for (const QChar c : text)
    if (c.unicode() >= 0x3000 && c.unicode() <= 0x9FFF) return true;
  return false;
}

// The width a control needs to show its whole caption.
int NeededWidth(const QWidget* w) {
  if (const auto* box = qobject_cast<const QGroupBox*>(w))
    return box->fontMetrics().horizontalAdvance(box->title()) + 16;
  return w->sizeHint().width();
}

QString Caption(const QWidget* w) {
  if (const auto* label = qobject_cast<const QLabel*>(w)) return label->text();
  if (const auto* button = qobject_cast<const QAbstractButton*>(w)) return button->text();
  if (const auto* box = qobject_cast<const QGroupBox*>(w)) return box->title();
  if (const auto* header = qobject_cast<const THeaderPanel*>(w)) return header->Text();
  return {};
}

class PrefsLayoutTest : public TGuiTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(PrefsLayoutTest, CaptionsAreTranslatedAndFit) {
  const QString language = QString::fromLatin1(GetParam());
  TInterfaceTexts texts;
  TLocalizationController languages(TLanguagePack({ZENTRIX_RESOURCES}), texts);
  ASSERT_TRUE(languages.SetLanguage(language)) << languages.LastError().toStdString();
  ASSERT_EQ(languages.Language(), language);
  TPrefsContext context;
  context.Version.CompanyName = "Valtri";
  context.Version.ProductName = "Zentrix";
  context.Version.Copyright = "Copyright (c) Valtri";
  context.Texts = &texts;
  context.LangCtrl = &languages;
  TFixedClock clock(EncodeDate(2027, 3, 1) + 0.5);
  context.Clock = &clock;

  Tdlg_zentrix_Prefs dialog(context);
  TPrefsValues values;
  values.Settings.EN = "Event";
  values.Names = {"1=New Year's Day", "2=", "3="};
  dialog.Fill(values);
  dialog.show();
  ASSERT_TRUE(WaitFor([&] { return dialog.isVisible(); }));

  const QString outFolder = qEnvironmentVariable("ZENTRIX_SCREENSHOT_DIR");
  if (!outFolder.isEmpty()) QDir().mkpath(outFolder);
  const QRect client = dialog.rect();
  const bool chinese = language == QStringLiteral("zh");
  for (int page = 0; page < Tdlg_zentrix_Prefs::kPageCount; ++page) {
    dialog.SelectPage(page);
    QApplication::processEvents();
    const QString where = language + QStringLiteral(" page ") + QString::number(page);
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
      if (!w->isVisibleTo(&dialog)) continue;
      const std::string name = (where + QStringLiteral(" ") + w->objectName()).toStdString();
      const QRect inDialog(w->mapTo(&dialog, QPoint(0, 0)), w->size());
      if (!w->objectName().isEmpty()) {
        EXPECT_TRUE(client.contains(inDialog)) << name << " lies outside the window";
      }
      const QString caption = Caption(w);
      if (caption.isEmpty()) continue;
      if (!chinese) {
        EXPECT_FALSE(HasChinese(caption)) << name << " is not translated: " << caption.toStdString();
      }
      const auto* label = qobject_cast<const QLabel*>(w);
      if (label && label->wordWrap()) continue;
      EXPECT_LE(NeededWidth(w), w->width()) << name << " cuts off " << caption.toStdString();
    }
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
      if (!chinese && w->isVisibleTo(&dialog) && !w->toolTip().isEmpty()) {
        EXPECT_FALSE(HasChinese(w->toolTip())) << where.toStdString() << " hint of " << w->objectName().toStdString();
      }
    }
    if (!outFolder.isEmpty()) {
      EXPECT_TRUE(dialog.grab().save(QStringLiteral("%1/prefs-%2-%3-%4.png")
                                         .arg(outFolder, language)
                                         .arg(page)
                                         .arg(dialog.nbk->currentWidget()->objectName())));
    }
  }
  if (!chinese) {
    EXPECT_FALSE(HasChinese(dialog.windowTitle()));
    EXPECT_FALSE(HasChinese(dialog.cb->Title()));
    EXPECT_FALSE(HasChinese(dialog.cbLoc->lineEdit()->placeholderText()));
    EXPECT_FALSE(HasChinese(dialog.cbRFC->itemText(dialog.cbRFC->CustomIndex())));
  }
  dialog.close();
}

TEST(PrefsLanguageTest, AChangeOfLanguageReachesTheListTheHeaderAndTheWords) {
  TInterfaceTexts texts;
  TLocalizationController languages(TLanguagePack({ZENTRIX_RESOURCES}), texts);
  ASSERT_TRUE(languages.SetLanguage(QStringLiteral("zh")));
  TPrefsContext context;
  context.Texts = &texts;
  context.LangCtrl = &languages;
  TFixedClock clock(EncodeDate(2027, 3, 1));
  context.Clock = &clock;
  Tdlg_zentrix_Prefs dialog(context);
  dialog.SelectPage(3);
  EXPECT_EQ(dialog.GroupHeader->Text().trimmed(), QStringLiteral("气象预报"));
  EXPECT_EQ(dialog.lToday->text(), QStringLiteral("今天: 61"));
  ASSERT_TRUE(languages.SetLanguage(QStringLiteral("en")));
  EXPECT_EQ(dialog.cb->Button(0)->text(), QStringLiteral("General"));
  EXPECT_EQ(dialog.GroupHeader->Text(), QStringLiteral("Weather forecast"));
  EXPECT_EQ(dialog.cbLoc->lineEdit()->placeholderText(), QStringLiteral("Enter a city name"));
  EXPECT_EQ(dialog.bOK->text(), QStringLiteral("OK"));
  EXPECT_EQ(dialog.lToday->text(), QStringLiteral("Today: 61"));
  ASSERT_TRUE(languages.SetLanguage(QStringLiteral("cs")));
  EXPECT_EQ(dialog.lToday->text(), QStringLiteral("Dnes: 61"));
  EXPECT_EQ(dialog.cb->Title(), QStringLiteral("Kategorie"));
}

INSTANTIATE_TEST_SUITE_P(Languages, PrefsLayoutTest, ::testing::Values("en", "zh", "cs"),
                         [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

}  // namespace
}  // namespace zentrix::test
