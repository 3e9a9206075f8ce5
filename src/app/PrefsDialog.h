#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTimeEdit>
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/LocalizationController.h"
#include "core/Clock.h"
#include "core/InterfaceTexts.h"
#include "core/VersionInfo.h"
#include "feeds/Valtri_WeatherForecast.h"
#include "settings/BarSettings.h"

namespace zentrix {

class TCategoryButtons;
class TColourComboBox;
class THeaderPanel;
class THotKeyEdit;
class TLineNumberEdit;

// The weather service's own site, opened from its logo.
inline constexpr const char* kWeatherServiceSiteUrl = "https://www.worldweatheronline.com/";
// The feeds offered in the feed field: the default one and a second world-news feed.
inline constexpr std::array<std::string_view, 2> kPresetFeeds = {
    kDefaultRSS, "https://rss.nytimes.com/services/xml/rss/nyt/World.xml"};

struct TPrefsValues {
  TBarSettings Settings;           // ShortCuts in the order of kStoredShortCuts
  std::vector<std::string> Names;  // the day-names list, one entry a line

  bool operator==(const TPrefsValues&) const = default;
};

struct TPrefsContext {
  TVersionInfo Version;
  const TInterfaceTexts* Texts = nullptr;       // null: the English defaults
  TLocalizationController* LangCtrl = nullptr;  // when set, the dialog's captions are translated
  const TClock* Clock = nullptr;                // null: the system clock
  TWeatherService Service;                      // where the place search goes
  std::string ApiKey;                           // the weather service's key
  // Opens a web address; null: the desktop's default handler (OpenAddress).
  std::function<bool(const std::string&)> OpenLink;
};

// The place a weather location field stands for: a search entry "Place,Country (Region)" gives
// the text before the first "(" without outer blanks; text without "(" is kept as it is.
std::string PlaceFromLocationText(const std::string& text);

// The preferences dialog: six pages chosen from a category list, each control bound to one of
// the bar's settings, the action shortcuts or the day-names list.
class Tdlg_zentrix_Prefs : public QDialog {
  Q_OBJECT
public:
  static constexpr int kPageCount = 6;

  Tdlg_zentrix_Prefs(const TPrefsContext& context, QWidget* parent = nullptr);

  // Chooses page index (clamped to the pages there are) and shows its caption in the header.
  void SelectPage(int index);
  // Puts the values into the controls and runs the enabling rules.
  void Fill(const TPrefsValues& values);
  // Writes the controls' values into values, in the order the bar expects them.
  void Store(TPrefsValues& values) const;

  // The texts the language files cannot reach: the category buttons and the header take the
  // pages' captions, the place field's placeholder its hint, and the words of the interface texts.
  void SyncCaptions();

private:
  void BuildLeftPanel();
  QWidget* BuildGeneralPage();
  QWidget* BuildShortcutsPage();
  QWidget* BuildDaynamesPage();
  QWidget* BuildWeatherPage();
  QWidget* BuildRSSPage();
  QWidget* BuildECPage();
  QWidget* AddPage(const char* name, const QString& caption);
  QLabel* AddLabel(const char* name, const QString& caption, QWidget* parent);
  QSpinBox* AddSpin(const char* name, int minimum, int maximum, QWidget* parent);
  QCheckBox* AddCheck(const char* name, const QString& caption, QWidget* parent);

  void cbButtonClicked(int index);
  void cbxAutoHideClick();
  void cbxTickerClick();
  void bSearchClick();
  void OpenLink(const char* url) const;
  bool eventFilter(QObject* watched, QEvent* event) override;

  const TInterfaceTexts& Texts() const;

  TPrefsContext FContext;

public:
  TCategoryButtons* cb = nullptr;
  QLabel* Icon = nullptr;
  QLabel* lTitle = nullptr;
  QLabel* lCR = nullptr;
  THeaderPanel* GroupHeader = nullptr;
  QStackedWidget* nbk = nullptr;
  QWidget* tsGeneral = nullptr;
  QWidget* tsShortcuts = nullptr;
  QWidget* tsDaynames = nullptr;
  QWidget* tsWeather = nullptr;
  QWidget* tsRSS = nullptr;
  QWidget* tsEC = nullptr;
  QCheckBox* cbxAutoHide = nullptr;
  QCheckBox* cbxSlide = nullptr;
  QSpinBox* seST = nullptr;
  QCheckBox* cbxBold = nullptr;
  QGroupBox* rgDF = nullptr;
  // In the order of kStoredShortCuts.
  std::array<THotKeyEdit*, kStoredShortCuts.size()> HotKeys{};
  QLabel* lToday = nullptr;
  TLineNumberEdit* Memo = nullptr;
  QComboBox* cbLoc = nullptr;
  QPushButton* bSearch = nullptr;
  QGroupBox* rgTU = nullptr;
  QGroupBox* rgWSU = nullptr;
  QSpinBox* seWRI = nullptr;
  QLabel* Image1 = nullptr;
  QComboBox* eRSS = nullptr;
  QCheckBox* cbxTicker = nullptr;
  QSpinBox* seRSI = nullptr;
  QSpinBox* seRRI = nullptr;
  TColourComboBox* cbRFC = nullptr;
  QCheckBox* cbxEC = nullptr;
  QLineEdit* eEN = nullptr;
  QDateEdit* eED = nullptr;
  QTimeEdit* eET = nullptr;
  QPushButton* bOK = nullptr;
  QPushButton* bCancel = nullptr;
};

// Opens the dialog modally on page firstPage, filled from values. On OK writes the dialog's
// values back into values and returns true; otherwise values stay untouched and it returns false.
bool ShowPreferences(QWidget* parent, int firstPage, TPrefsValues& values, const TPrefsContext& context);

}  // namespace zentrix
