#pragma once

#include <QAbstractNativeEventFilter>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/BarTexts.h"
#include "app/GradientPanel.h"
#include "appbar/AppBar.h"
#include "appbar/AppBarWindow.h"
#include "core/Clock.h"
#include "core/VersionInfo.h"
#include "feeds/Valtri_WeatherForecast.h"
#include "settings/BarSettings.h"
#include "settings/SettingsStore.h"
#include "settings/Startup.h"
#include "sysinfo/Balloons.h"
#include "sysinfo/PowerStatus.h"
#include "sysinfo/QDX_CPUUsage.h"
#include "sysinfo/QDX_Memory.h"
#include "tools/ToolWindows.h"

class QAction;
class QMenu;
class QThread;
class QVBoxLayout;

namespace zentrix {

class TLocalizationController;
class TX11AppBarShell;
class TX11HotKeys;
class TBalloonHint;
class TTickerRow;
class TUpdateChecker;

// How the bar is started: what the program entry found out before the window is made.
struct TMainWindowOptions {
  TVersionInfo Version;
  std::filesystem::path ProgramFolder;
  std::filesystem::path ProgramFile;
  bool NoUpdateCheck = false;  // the switch "NUC"
  // When set, every refresh writes the panels' texts to this file (the end-to-end tests read it).
  QString PanelDumpFile;
  // What "now" is for the panels; null: the system clock. Tests pin it.
  const TClock* Clock = nullptr;
  // Adds the tool windows' factories; null: the tool windows this version has.
  std::function<void(TToolWindows&)> RegisterTools;
};

// The bar: a borderless black window docked along the top of the primary screen as a desktop
// toolbar, with the status panels, the optional ticker row, the popup menu and the timers.
class Twnd_zentrix_Main : public QWidget, public TAppBarWindow, public QAbstractNativeEventFilter {
  Q_OBJECT
public:
  Twnd_zentrix_Main(TMainWindowOptions options, TInterfaceTexts& texts, TLocalizationController& langCtrl);
  ~Twnd_zentrix_Main() override;

  // Restores and applies the settings, shows the bar and runs the show handler.
  void ShowBar();

  const TBarSettings& Settings() const { return FSettings; }
  TToolWindows& ToolWindows() { return *FToolWindows; }
  std::filesystem::path FDataFolder;
  std::vector<std::string> FNames;

  // TAppBarWindow
  TNativeWindow Handle() const override;
  TRect Bounds() const override;
  void SetBounds(const TRect& bounds) override;
  bool Framed() const override { return false; }
  void SetFramed(bool) override {}
  bool IsActive() const override;
  bool DragFullWindows() const override { return true; }
  std::int64_t TickMs() const override;
  void SlideFrameShown() override;
  bool IsShown() const override { return isVisible(); }
  void SetTimer(TAppBarTimer timer, std::int32_t intervalMs, bool enabled) override;
  void Post(std::function<void()> task) override;
  void ShowInformation(const std::string& text) override;

  // QAbstractNativeEventFilter: every xcb event of the application's connection passes here.
  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

  // Handlers, named as the bar's events.
  void FormShow();
  void FormStorageAfterRestorePlacement();
  void FormStorageBeforeSavePlacement();
  void SaveBarSettingsNow();
  void CPUUsageInterval(std::int32_t avgValue);
  void WeatherTimerTimer();
  void WeatherPanelDblClick();
  void IconPanelDblClick();
  void IconClick(QPoint globalBottomLeft);
  void PanelClick();
  void PanelMouseMove();
  void ApplicationEventsDeactivate();
  void LangCtrlLanguageChanged();
  void acAutoHideExecute();
  void acTickerExecute();
  void acPrefsExecute();
  // The execute handler of the tool actions: the first request creates the window.
  void OpenToolWindow(TToolKind kind);
  bool RegisterHotKeys();

protected:
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  TGradientPanel* AddPanel(const char* name, int width, QColor colour, const char* hint);
  void BuildMenu();
  QAction* AddToolAction(const char* name, const char* caption, std::optional<TToolKind> kind);
  void UpdateShortCutTexts();
  void ScheduleTick();
  void Tick();
  void WritePanelDump() const;
  void ShowBalloon(QWidget* anchor, const TBalloonText& balloon);
  void PlaceCountdownPanel();
  void StartWeatherFetch(bool thenShowBalloon);
  void WeatherFetched(bool ok, const TCurrentWeather& current, const TWeatherForecast& forecast,
                      const std::string& error, bool thenShowBalloon);
  void ShowForecastBalloon();
  std::string WeekdayName(int dayOfWeek) const;
  const TClock& Clock() const { return FOptions.Clock ? *FOptions.Clock : SystemClock(); }

  TMainWindowOptions FOptions;
  TInterfaceTexts& FTexts;
  TLocalizationController& FLangCtrl;
  TStartupFiles FFiles;
  TSettingsStore FStore;
  TBarSettings FSettings;
  TBarLayout FLayout;
  std::unique_ptr<TToolWindows> FToolWindows;
  bool FSettingsRestored = false;
  bool FClosing = false;

  std::unique_ptr<TX11AppBarShell> FShell;
  std::unique_ptr<TAppBar> FAppBar;
  std::unique_ptr<TX11HotKeys> FHotKeys;
  QTimer FCheckTimer;
  QTimer FReactionTimer;
  QElapsedTimer FElapsed;

  TValtri_CPUUsage FCPUUsage;
  TValtri_Memory FMemory;
  TPowerStatus FPS;
  std::unique_ptr<TBarRefresh> FRefresh;
  QTimer FSecondTimer;
  QTimer FWeatherTimer;
  QTimer FUpdateTimer;

  QLabel* Icon = nullptr;
  TGradientPanel* IconPanel = nullptr;
  TGradientPanel* WeatherPanel = nullptr;
  TGradientPanel* ECPanel = nullptr;
  TGradientPanel* SystemPanel = nullptr;
  TGradientPanel* APMPanel = nullptr;
  TGradientPanel* CPUPanel = nullptr;
  TGradientPanel* MemPanel = nullptr;
  TGradientPanel* DatePanel = nullptr;
  TGradientPanel* TimePanel = nullptr;
  QWidget* Panel = nullptr;
  QVBoxLayout* FRows = nullptr;
  TTickerRow* FTicker = nullptr;
  TBalloonHint* FBalloon = nullptr;
  TUpdateChecker* FWebUpdate = nullptr;

  QMenu* PopupMenu = nullptr;
  QAction* acAutoHide = nullptr;
  QAction* acTicker = nullptr;
  std::array<QAction*, 10> FHotKeyActions{};  // by hot key id - 1
  QAction* acPrefs = nullptr;
  QAction* acExit = nullptr;

  // The weather panel's records (FCW, FWF) and the fetch that runs off the interface thread.
  TCurrentWeather FCW;
  TWeatherForecast FWF;
  QPointer<QThread> FWeatherThread;
  bool FWeatherBalloonPending = false;
};

}  // namespace zentrix
