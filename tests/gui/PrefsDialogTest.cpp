// The preferences dialog driven as the user drives it: opened modally, controls changed, OK or
// Cancel, and the values handed back checked.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTextBlock>
#include <filesystem>
#include <fstream>
#include <functional>

#include "app/PrefsDialog.h"
#include "app/PresetAnswers.h"
#include "app/ProductPage.h"
#include "app/ShortcutKeys.h"
#include "core/DayNames.h"
#include "settings/BarSettings.h"
#include "settings/SettingsStore.h"
#include "support/GuiFixture.h"
#include "support/TestHttpServer.h"
#include "widgets/CategoryButtons.h"
#include "widgets/ColourComboBox.h"
#include "widgets/HeaderPanel.h"
#include "widgets/HotKeyEdit.h"
#include "widgets/LineNumberEdit.h"

namespace zentrix::test {
namespace {

constexpr const char* kKey = "k123";

// Every setting away from its default, and a full year of day names.
TPrefsValues ChangedValues() {
  TPrefsValues v;
  TBarSettings& s = v.Settings;
  s.BL = false;
  s.AH = true;
  s.WL = "Brno,Czech Republic";
  s.WSU = 1;
  s.TU = 1;
  s.WRI = 45;
  s.ST = 250;
  s.SE = true;
  s.DF = 1;
  s.RSS = "http://example.org/feed.xml";
  s.DT = false;
  s.RRI = 30;
  s.RSI = 25;
  s.RFC = 0x0000FF;
  s.EC = true;
  s.EN = "Zkouška";
  s.EDT = EncodeDate(2027, 3, 1) + EncodeTime(18, 30, 15, 0);
  for (std::size_t i = 0; i < s.ShortCuts.size(); ++i) s.ShortCuts[i] = 0x4000 | 0x2000 | ('A' + static_cast<int>(i));
  for (int day = 1; day <= 366; ++day) v.Names.push_back(std::to_string(day) + "=");
  v.Names[0] = "1=New Year's Day";
  return v;
}

std::size_t StoredIndex(std::string_view action) {
  for (std::size_t i = 0; i < kStoredShortCuts.size(); ++i)
    if (kStoredShortCuts[i].Action == action) return i;
  ADD_FAILURE() << "no stored action " << action;
  return 0;
}

Tdlg_zentrix_Prefs& Prefs(QDialog& d) { return dynamic_cast<Tdlg_zentrix_Prefs&>(d); }

THotKeyEdit* HotKey(Tdlg_zentrix_Prefs& d, std::string_view action) { return d.HotKeys[StoredIndex(action)]; }

class PrefsDialogTest : public TGuiTest {
 protected:
  void SetUp() override {
    TGuiTest::SetUp();
    FContext.Version.CompanyName = "Valtri";
    FContext.Version.ProductName = "Zentrix";
    FContext.Version.Copyright = "(c) Valtri";
    FContext.Clock = &FClock;
    FContext.ApiKey = kKey;
    FContext.Service.Host = FServer.HostPort();
    FContext.Service.Http.ConnectTimeoutMs = 2000;
    FContext.Service.Http.TotalTimeoutMs = 5000;
    FContext.OpenLink = [this](const std::string& url) {
      FOpened.push_back(url);
      return true;
    };
  }

  // Opens the dialog modally; handle works in it and closes it.
  bool Show(TPrefsValues& values, const std::function<void(Tdlg_zentrix_Prefs&)>& handle, int page = 0) {
    ExpectModal([&](QDialog& d) { handle(Prefs(d)); });
    return ShowPreferences(nullptr, page, values, FContext);
  }

  static std::string SearchTarget(const std::string& query) {
    return "/free/v1/search.ashx?key=" + std::string(kKey) + "&query=" + query + "&format=tab";
  }

  TTestHttpServer FServer;
  TFixedClock FClock{EncodeDate(2027, 3, 1) + 0.5};
  TPrefsContext FContext;
  std::vector<std::string> FOpened;
};

// ---- opening, Cancel, OK ----

TEST_F(PrefsDialogTest, CancelLeavesValuesAndTheCallersFilesUntouched) {
  const TPrefsValues before = ChangedValues();
  TSettingsStore store(DataFolder() / "Zentrix.ini");
  SaveBarSettings(store, before.Settings);
  store.Flush();
  const std::filesystem::path namesFile = DataFolder() / "Zentrix.dat";
  std::ofstream(namesFile, std::ios::binary) << JoinDayNames(before.Names);
  const std::string iniBytes = TTempDir::Read(store.FileName());
  const std::string namesBytes = TTempDir::Read(namesFile);
  const auto iniTime = std::filesystem::last_write_time(store.FileName());

  // Every kind of change the dialog offers, then Cancel or the window's close button.
  for (const bool closeButton : {false, true}) {
    TPrefsValues values = before;
    EXPECT_FALSE(Show(values, [&](Tdlg_zentrix_Prefs& d) {
      d.cbxAutoHide->click();
      d.cbxTicker->click();
      d.seRSI->setValue(77);
      d.cbLoc->setEditText(QStringLiteral("Paris,France (Ile-de-France)"));
      QTest::keyClick(d.HotKeys[0], Qt::Key_Backspace);
      d.Memo->setPlainText(QStringLiteral("1=Changed"));
      d.eED->setDate(QDate(2030, 1, 1));
      if (closeButton)
        d.close();
      else
        d.bCancel->click();
    }));
    EXPECT_EQ(values, before) << closeButton;
  }
  EXPECT_EQ(TTempDir::Read(store.FileName()), iniBytes);
  EXPECT_EQ(TTempDir::Read(namesFile), namesBytes);
  EXPECT_EQ(std::filesystem::last_write_time(store.FileName()), iniTime);
}

TEST_F(PrefsDialogTest, OkWithoutChangesGivesTheValuesBack) {
  struct TCase {
    const char* Name;
    std::function<void(TPrefsValues&)> Change;
  };
  const TCase cases[] = {
      {"Defaults", [](TPrefsValues& v) { v = TPrefsValues{}; }},
      {"EverySettingChanged", [](TPrefsValues&) {}},
      {"ColourOutsideTheList", [](TPrefsValues& v) { v.Settings.RFC = 0x123456; }},
      {"DefaultTickerColour", [](TPrefsValues& v) { v.Settings.RFC = 10930928; }},
      {"NoEvent", [](TPrefsValues& v) { v.Settings.EDT = 0; }},
      {"EventWithMilliseconds",
       [](TPrefsValues& v) { v.Settings.EDT = EncodeDate(2026, 12, 24) + EncodeTime(23, 59, 59, 999); }},
      {"EventBefore1900", [](TPrefsValues& v) { v.Settings.EDT = EncodeDate(1850, 6, 1) + EncodeTime(6, 0, 0, 0); }},
      {"NoShortcuts", [](TPrefsValues& v) { v.Settings.ShortCuts.fill(0); }},
      {"KeypadAndFunctionKeys",
       [](TPrefsValues& v) {
         v.Settings.ShortCuts[0] = 0x8000 | 0x60;           // Alt+keypad 0
         v.Settings.ShortCuts[1] = 0x4000 | 0x2000 | 0x7B;  // Ctrl+Shift+F12
       }},
      {"EmptyNamesAtTheEnd",
       [](TPrefsValues& v) {
         v.Names = {"1=A", "", ""};
       }},
      {"NoNames", [](TPrefsValues& v) { v.Names.clear(); }},
      {"UnicodeTexts",
       [](TPrefsValues& v) {
         v.Settings.WL = "Praha,Česko";
         v.Settings.EN = "春节";
         v.Names[60] = "61=圣帕特里克节";
       }},
      {"SmallestAndLargestScroll",
       [](TPrefsValues& v) { v.Settings.RSI = 100, v.Settings.RRI = 0, v.Settings.WRI = 0; }},
  };
  for (const TCase& c : cases) {
    TPrefsValues values = ChangedValues();
    c.Change(values);
    const TPrefsValues before = values;
    EXPECT_TRUE(Show(values, [](Tdlg_zentrix_Prefs& d) { d.bOK->click(); })) << c.Name;
    EXPECT_EQ(values.Settings, before.Settings) << c.Name;
    EXPECT_EQ(values.Names, before.Names) << c.Name;
  }
}

TEST_F(PrefsDialogTest, CreationShowsTitleCopyrightAndTodaysDayNumber) {
  TPrefsValues values;
  Show(values, [](Tdlg_zentrix_Prefs& d) {
    EXPECT_EQ(d.windowTitle(), QStringLiteral("首选项"));
    EXPECT_EQ(d.size(), QSize(578, 363));
    EXPECT_EQ(d.lTitle->text(), QStringLiteral("Valtri Zentrix"));
    EXPECT_EQ(d.lCR->text(), QStringLiteral("(c) Valtri"));
    // 1 March is line 61 in every year.
    EXPECT_EQ(d.lToday->text(), QStringLiteral("Today: 61"));
    d.reject();
  });
}

TEST_F(PrefsDialogTest, TheChosenPageAndItsCaptionInTheHeader) {
  for (int page : {0, 3, 5, 9, -1}) {
    TPrefsValues values;
    Show(
        values,
        [page](Tdlg_zentrix_Prefs& d) {
          const int shown = std::clamp(page, 0, 5);
          EXPECT_EQ(d.nbk->currentIndex(), shown) << page;
          EXPECT_EQ(d.cb->Current(), shown) << page;
          EXPECT_EQ(d.GroupHeader->Text(), d.nbk->widget(shown)->windowTitle()) << page;
          // A click on another button brings its page and caption.
          const int other = (shown + 2) % 6;
          d.cb->Button(other)->click();
          EXPECT_EQ(d.nbk->currentIndex(), other);
          EXPECT_EQ(d.GroupHeader->Text(), d.cb->Button(other)->text());
          d.reject();
        },
        page);
  }
}

// ---- enabling rules ----

TEST_F(PrefsDialogTest, EnablingRulesAtOpeningAndOnEveryClick) {
  for (const bool startOn : {false, true}) {
    TPrefsValues values = ChangedValues();
    values.Settings.AH = startOn;
    values.Settings.DT = startOn;
    Show(values, [startOn](Tdlg_zentrix_Prefs& d) {
      struct TFollow {
        const char* Name;
        QCheckBox* Switch;
        std::vector<QWidget*> Followers;
      };
      const TFollow follows[] = {{"AutoHide", d.cbxAutoHide, {d.cbxSlide, d.seST}},
                                 {"Ticker", d.cbxTicker, {d.seRRI, d.seRSI, d.cbRFC}}};
      for (const TFollow& f : follows) {
        for (QWidget* w : f.Followers) EXPECT_EQ(w->isEnabled(), startOn) << f.Name << " opening";
        for (const bool expected : {!startOn, startOn}) {
          f.Switch->click();
          for (QWidget* w : f.Followers)
            EXPECT_EQ(w->isEnabled(), expected) << f.Name << " " << w->objectName().toStdString();
        }
      }
      d.reject();
    });
  }
}

// ---- place search ----

TEST(PlaceFromLocationTextTest, KeepsThePartBeforeTheRegion) {
  const std::pair<const char*, const char*> cases[] = {
      {"Prague,Czech Republic (Hlavni mesto Praha)", "Prague,Czech Republic"},
      {"  Paris,France\t( Ile-de-France)", "Paris,France"},
      {"A (b) (c)", "A"},
      {"(Region only)", ""},
      {"  Brno , CZ  ", "  Brno , CZ  "},  // typed without "(": unchanged, blanks and all
      {"Prague,CZ", "Prague,CZ"},
      {"", ""},
  };
  for (const auto& [text, place] : cases) EXPECT_EQ(PlaceFromLocationText(text), place) << text;
}

struct TSearchCase {
  const char* Name;
  TTestReply Reply;
  std::vector<QString> Entries;  // empty: the search failed or found nothing
  bool ErrorShown;
};

class PlaceSearchTest : public PrefsDialogTest, public ::testing::WithParamInterface<TSearchCase> {};

TEST_P(PlaceSearchTest, FillsTheListOrLeavesItEmpty) {
  const TSearchCase& c = GetParam();
  FServer.Route(SearchTarget("Prague"), c.Reply);
  if (c.ErrorShown) NextAnswer(QMessageBox::Ok);
  TPrefsValues values;
  const bool ok = Show(values, [&](Tdlg_zentrix_Prefs& d) {
    d.cbLoc->addItem(QStringLiteral("Stale entry"));
    d.cbLoc->setEditText(QStringLiteral(" Prague "));
    d.bSearch->click();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the hourglass was left on";
    std::vector<QString> entries;
    for (int i = 0; i < d.cbLoc->count(); ++i) entries.push_back(d.cbLoc->itemText(i));
    EXPECT_EQ(entries, c.Entries);
    EXPECT_EQ(d.cbLoc->currentText(), c.Entries.empty() ? QString() : c.Entries.front());
    d.bOK->click();
  });
  EXPECT_TRUE(ok);
  EXPECT_EQ(FServer.RequestCount(SearchTarget("Prague")), 1);
  EXPECT_EQ(preset_answers::Answered().size(), c.ErrorShown ? 1 : 0);
  EXPECT_EQ(values.Settings.WL, c.Entries.empty() ? "" : "Prague,Czech Republic");
}

const char* const kPragueAnswer =
    "#The search results\n#AreaName\tCountry\tRegion\tLat\tLon\tPopulation\tURL\n"
    "Prague\tCzech Republic\tHlavni mesto Praha\t50.083\t14.467\t1154508\thttp://w/prague\n"
    "Prague\tUnited States of America\tOklahoma\t35.487\t-96.685\t2386\thttp://w/prague-ok\n";

INSTANTIATE_TEST_SUITE_P(
    Answers, PlaceSearchTest,
    ::testing::Values(
        TSearchCase{"Places",
                    TTestReply::Ok(kPragueAnswer),
                    {QStringLiteral("Prague,Czech Republic (Hlavni mesto Praha)"),
                     QStringLiteral("Prague,United States of America (Oklahoma)")},
                    false},
        TSearchCase{"NothingFound", TTestReply::Ok("#The search results\n"), {}, false},
        TSearchCase{"ServerError",
                    [] {
                      TTestReply r = TTestReply::Ok("Internal error");
                      r.Status = 500;
                      r.Reason = "Internal Server Error";
                      return r;
                    }(),
                    {},
                    true},
        TSearchCase{"ServiceErrorDocument",
                    TTestReply::Ok("<data><error><msg>Unable to find any matching location</msg></error></data>"),
                    {},
                    true},
        TSearchCase{"LatitudeNotANumber", TTestReply::Ok("Prague\tCZ\tPraha\tnorth\t14.4\t1\tu\n"), {}, true},
        TSearchCase{"Garbage", TTestReply::Ok(std::string("\x01\xFF\xFE garbage \x00 bytes", 18)), {}, true}),
    [](const ::testing::TestParamInfo<TSearchCase>& info) { return std::string(info.param.Name); });

TEST_F(PrefsDialogTest, AnUnreachableServiceIsReportedAndTheCursorRestored) {
  FContext.Service.Host = "127.0.0.1:1";
  NextAnswer(QMessageBox::Ok);
  TPrefsValues values;
  Show(values, [](Tdlg_zentrix_Prefs& d) {
    d.cbLoc->setEditText(QStringLiteral("Prague"));
    d.bSearch->click();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(d.cbLoc->count(), 0);
    EXPECT_TRUE(d.cbLoc->currentText().isEmpty());
    d.reject();
  });
  EXPECT_EQ(preset_answers::Answered().size(), 1);
}

TEST_F(PrefsDialogTest, ATypedPlaceIsStoredAsTyped) {
  for (const char* typed : {"London,United Kingdom", " Brno ,CZ "}) {
    TPrefsValues values;
    Show(values, [typed](Tdlg_zentrix_Prefs& d) {
      d.cbLoc->lineEdit()->clear();
      QTest::keyClicks(d.cbLoc->lineEdit(), QString::fromUtf8(typed));
      d.bOK->click();
    });
    EXPECT_EQ(values.Settings.WL, typed);
  }
}

// ---- hot keys ----

struct THotKeyCase {
  const char* Name;
  Qt::Key Key;
  Qt::KeyboardModifiers Modifiers;
  int Expected;  // the code after the key, starting from Ctrl+Shift+A
};

TEST_F(PrefsDialogTest, HotKeyFieldsRecordOneCombination) {
  constexpr int kStart = 0x4000 | 0x2000 | 'A';
  const THotKeyCase cases[] = {
      {"CtrlAltL", Qt::Key_L, Qt::ControlModifier | Qt::AltModifier, 49228},
      {"CtrlShiftF5", Qt::Key_F5, Qt::ControlModifier | Qt::ShiftModifier, 0x4000 | 0x2000 | 0x74},
      {"AltKeypad7", Qt::Key_7, Qt::AltModifier | Qt::KeypadModifier, 0x8000 | 0x67},
      {"PlainLetterTakesAlt", Qt::Key_K, Qt::NoModifier, 0x8000 | 'K'},
      {"ShiftAloneTakesAlt", Qt::Key_F2, Qt::ShiftModifier, 0x8000 | 0x2000 | 0x71},
      {"Backspace", Qt::Key_Backspace, Qt::NoModifier, 0},
      {"Delete", Qt::Key_Delete, Qt::NoModifier, 0},
      {"CtrlAltBackspaceIsAKey", Qt::Key_Backspace, Qt::ControlModifier | Qt::AltModifier, 0x4000 | 0x8000 | 0x08},
      {"ModifierAlone", Qt::Key_Control, Qt::ControlModifier, kStart},
      {"MetaHasNoCode", Qt::Key_L, Qt::MetaModifier | Qt::ControlModifier, kStart},
      {"KeyWithoutCode", Qt::Key_Eacute, Qt::ControlModifier, kStart},
  };
  for (const THotKeyCase& c : cases) {
    TPrefsValues values;
    Show(values, [&](Tdlg_zentrix_Prefs& d) {
      THotKeyEdit* field = HotKey(d, "acDeskExp");
      field->SetCode(kStart);
      field->setFocus();
      QTest::keyClick(field, c.Key, c.Modifiers);
      EXPECT_EQ(field->text(), ShortcutText(static_cast<std::uint16_t>(c.Expected))) << c.Name;
      d.bOK->click();
    });
    EXPECT_EQ(values.Settings.ShortCuts[StoredIndex("acDeskExp")], c.Expected) << c.Name;
  }
}

TEST_F(PrefsDialogTest, EachFieldBelongsToItsAction) {
  TPrefsValues values;
  Show(values, [](Tdlg_zentrix_Prefs& d) {
    const std::pair<const char*, std::string_view> fields[] = {
        {"hkeDeskExp", "acDeskExp"},        {"hkeDeskExpOnOff", "acDeskExpOnOff"}, {"hkeCalc", "acCalculator"},
        {"hkeCal", "acCalendar"},           {"hkeCodeTools", "acCodeTools"},       {"hkeASCIITable", "acASCIITable"},
        {"hkeNotepad", "acNotepad"},        {"hkeWeather", "acWeather"},           {"hkeRSS", "acRSS"},
        {"hkeSpreadsheet", "acSpreadsheet"}};
    for (const auto& [name, action] : fields) {
      auto* field = d.findChild<THotKeyEdit*>(QString::fromLatin1(name));
      ASSERT_NE(field, nullptr) << name;
      EXPECT_EQ(field, HotKey(d, action)) << name;
    }
    // Cleared here, recorded there: the one field and the one action change.
    QTest::keyClick(HotKey(d, "acSpreadsheet"), Qt::Key_Delete);
    QTest::keyClick(HotKey(d, "acCalendar"), Qt::Key_L, Qt::ControlModifier | Qt::AltModifier);
    d.bOK->click();
  });
  TBarSettings expected;
  expected.ShortCuts[StoredIndex("acSpreadsheet")] = 0;
  expected.ShortCuts[StoredIndex("acCalendar")] = 49228;
  EXPECT_EQ(values.Settings.ShortCuts, expected.ShortCuts);
}

// ---- number, date and time fields ----

TEST_F(PrefsDialogTest, ScrollIntervalStaysWithinOneToAHundred) {
  struct TCase {
    int Stored;
    const char* Typed;  // nullptr: nothing typed
    int Expected;
  };
  const TCase cases[] = {{10, nullptr, 10}, {0, nullptr, 1}, {-5, nullptr, 1}, {500, nullptr, 100},
                         {10, "250", 25},   {10, "0", 10},   {10, "100", 100}, {10, "-3", 3}};
  for (const TCase& c : cases) {
    TPrefsValues values;
    values.Settings.RSI = c.Stored;
    Show(values, [&](Tdlg_zentrix_Prefs& d) {
      if (c.Typed) {
        d.seRSI->setFocus();
        d.seRSI->selectAll();
        QTest::keyClicks(d.seRSI, QString::fromLatin1(c.Typed));
      }
      d.bOK->click();
    });
    EXPECT_EQ(values.Settings.RSI, c.Expected) << c.Stored << " " << (c.Typed ? c.Typed : "");
  }
}

TEST_F(PrefsDialogTest, EventDateTimeFromTheDateAndTimeFields) {
  struct TCase {
    QDate Date;
    QTime Time;
    double Expected;
  };
  const TCase cases[] = {
      {QDate(1899, 12, 30), QTime(0, 0), 0},
      {QDate(2000, 1, 1), QTime(12, 0), 36526.5},
      {QDate(2027, 3, 1), QTime(18, 30, 15), EncodeDate(2027, 3, 1) + EncodeTime(18, 30, 15, 0)},
      {QDate(1850, 6, 1), QTime(6, 0), EncodeDate(1850, 6, 1) + 0.25},
  };
  for (const TCase& c : cases) {
    TPrefsValues values = ChangedValues();
    Show(values, [&](Tdlg_zentrix_Prefs& d) {
      d.eED->setDate(c.Date);
      d.eET->setTime(c.Time);
      d.bOK->click();
    });
    EXPECT_DOUBLE_EQ(values.Settings.EDT, c.Expected) << c.Date.toString(Qt::ISODate).toStdString();
  }
}

TEST_F(PrefsDialogTest, AnEventValueNoDateCanHoldOpensAsNoDate) {
  TPrefsValues values;
  values.Settings.EDT = 1e12;
  Show(values, [](Tdlg_zentrix_Prefs& d) {
    EXPECT_EQ(d.eED->date(), QDate(1899, 12, 30));
    EXPECT_EQ(d.eET->time(), QTime(0, 0));
    d.bOK->click();
  });
  EXPECT_EQ(values.Settings.EDT, 0);
}

// ---- day names ----

TEST_F(PrefsDialogTest, EditingLine61ChangesTheNameOf1March) {
  TPrefsValues values = ChangedValues();
  Show(values, [](Tdlg_zentrix_Prefs& d) {
    QTextCursor line(d.Memo->document()->findBlockByNumber(60));
    line.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    d.Memo->setTextCursor(line);
    // The line being edited is the highlighted one.
    ASSERT_EQ(d.Memo->extraSelections().size(), 1);
    EXPECT_EQ(d.Memo->extraSelections().front().cursor.blockNumber(), 60);
    QTest::keyClicks(d.Memo, QStringLiteral("61=Test Day"));
    d.bOK->click();
  });
  ASSERT_EQ(values.Names.size(), 366u);
  EXPECT_EQ(values.Names[60], "61=Test Day");
  EXPECT_EQ(values.Names[59], "60=");
  for (const int year : {2026, 2028})
    EXPECT_EQ(GetName(values.Names, EncodeDate(year, 3, 1), EnglishTexts()), "Test Day") << year;
}

// ---- colour, links, language ----

TEST_F(PrefsDialogTest, TickerColourFromTheListOrCustom) {
  const std::pair<int, bool> cases[] = {{0x0000FF, false}, {0xFFFFFF, false}, {10930928, true}, {0x010203, true}};
  for (const auto& [ref, custom] : cases) {
    TPrefsValues values;
    values.Settings.RFC = ref;
    Show(values, [&](Tdlg_zentrix_Prefs& d) {
      EXPECT_EQ(d.cbRFC->IsCustom(), custom) << ref;
      EXPECT_EQ(d.cbRFC->ColourRef(), ref);
      // Black is the first standard colour.
      d.cbRFC->setCurrentIndex(0);
      d.bOK->click();
    });
    EXPECT_EQ(values.Settings.RFC, 0) << ref;
  }
}

TEST_F(PrefsDialogTest, IconTitleAndLogoOpenTheirSites) {
  TPrefsValues values;
  Show(values, [](Tdlg_zentrix_Prefs& d) {
    QTest::mouseClick(d.Icon, Qt::LeftButton);
    QTest::mouseClick(d.lTitle, Qt::LeftButton);
    d.cb->Button(3)->click();
    QTest::mouseClick(d.Image1, Qt::LeftButton);
    QTest::mouseClick(d.Image1, Qt::RightButton);
    d.reject();
  });
  EXPECT_EQ(FOpened, (std::vector<std::string>{kMakerSiteUrl, kMakerSiteUrl, kWeatherServiceSiteUrl}));
}

}  // namespace
}  // namespace zentrix::test
