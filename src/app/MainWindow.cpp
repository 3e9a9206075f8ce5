#include "app/MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>
#include <QSaveFile>
#include <QThread>
#include <QVBoxLayout>
#include <QWindow>
#include <QtGui/qpa/qplatformwindow_p.h>

#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <optional>

#include "app/LocalizationController.h"
#include "app/MessageBoxes.h"
#include "app/PrefsDialog.h"
#include "app/ProductPage.h"
#include "app/ShortcutKeys.h"
#include "app/UpdateChecker.h"
#include "appbar/AppBarSettings.h"
#include "core/Clock.h"
#include "platform/Environment.h"
#include "platform/OpenAddress.h"
#include "platform/linux/X11AppBarShell.h"
#include "platform/linux/X11HotKeys.h"
#include "settings/DataFiles.h"
#include "settings/WindowPlacement.h"
#include "astro/Reckonings.h"
#include "core/DayNames.h"
#include "sysinfo/Balloons.h"
#include "sysinfo/CpuidSource.h"
#include "sysinfo/QDX_CPU.h"
#include "sysinfo/QDX_OS.h"
#include "widgets/BalloonHint.h"
#include "widgets/BarImages.h"
#include "widgets/ColourRef.h"
#include "widgets/TickerRow.h"

namespace zentrix {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// Tahoma 8 pt bold, 11 pixels high whatever the screen's density; fontconfig falls back to
// DejaVu Sans, and to Noto CJK for Chinese.
QFont BarFont() {
  QFont font(QStringLiteral("Tahoma"));
  font.setPixelSize(11);
  font.setBold(true);
  return font;
}

// A date-time in the user's short formats; the date alone at midnight, nothing for no date.
std::string LocaleDateTimeText(TDateTime value) {
  if (value == 0) return {};
  const TDateParts p = DecodeDateTime(value);
  const QDate date(p.Year, p.Month, p.Day);
  if (p.Hour == 0 && p.Minute == 0 && p.Second == 0) return QLocale().toString(date, QLocale::ShortFormat).toStdString();
  return QLocale().toString(QDateTime(date, QTime(p.Hour, p.Minute, p.Second)), QLocale::ShortFormat).toStdString();
}

}  // namespace

Twnd_zentrix_Main::Twnd_zentrix_Main(TMainWindowOptions options, TInterfaceTexts& texts,
                                     TLocalizationController& langCtrl)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      FOptions(std::move(options)),
      FTexts(texts),
      FLangCtrl(langCtrl) {
  FElapsed.start();
  setObjectName(QStringLiteral("Twnd_zentrix_Main"));
  setWindowTitle(QString::fromUtf8(kApplicationTitle));
  setFont(BarFont());
  QPalette black = palette();
  black.setColor(QPalette::Window, Qt::black);
  setPalette(black);
  setAutoFillBackground(true);

  FRows = new QVBoxLayout(this);
  FRows->setContentsMargins(0, 0, 0, 0);
  FRows->setSpacing(0);
  Panel = new QWidget(this);
  Panel->setObjectName(QStringLiteral("Panel"));
  Panel->setFixedHeight(kTopRowHeight);
  auto* row = new QHBoxLayout(Panel);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  FRows->addWidget(Panel);

  // The icon: 16 x 16, one pixel from the left, top and bottom.
  Icon = new QLabel(Panel);
  Icon->setObjectName(QStringLiteral("Icon"));
  Icon->setPixmap(ProgramIcon(16));
  Icon->setFixedSize(17, kTopRowHeight);
  Icon->setContentsMargins(1, 1, 0, 2);
  Icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Icon->setToolTip(QStringLiteral("点击这里菜单"));
  Icon->setMouseTracking(true);
  Icon->installEventFilter(this);
  row->addWidget(Icon);

  IconPanel = AddPanel("IconPanel", 78, QColor(0xB7, 0xEB, 0xFF), nullptr);
  IconPanel->SetBold(false);
  IconPanel->SetLeftAligned(5);
  WeatherPanel = AddPanel("WeatherPanel", 0, Qt::yellow, "当前天气");
  ECPanel = AddPanel("ECPanel", 100, Qt::white, "活动倒计时(years.months.days 小时:分钟:秒)");
  SystemPanel = AddPanel("SystemPanel", 120, QColor(0xFF, 0x80, 0x00), "系统启动时间");
  APMPanel = AddPanel("APMPanel", 80, QColor(0x04, 0xFF, 0x04), "电源");
  CPUPanel = AddPanel("CPUPanel", 80, QColor(0xFF, 0x8C, 0xFF), "CPU使用率");
  MemPanel = AddPanel("MemPanel", 80, QColor(0xFF, 0xF3, 0xD5), "内存使用情况");
  DatePanel = AddPanel("DatePanel", 215, QColor(0x00, 0xFF, 0xFF), "日期");
  TimePanel = AddPanel("TimePanel", 75, Qt::yellow, "时间");
  for (TGradientPanel* p : {IconPanel, WeatherPanel, ECPanel, SystemPanel, APMPanel, CPUPanel, MemPanel, DatePanel,
                            TimePanel})
    row->addWidget(p);
  ECPanel->hide();

  FTicker = new TTickerRow(FTexts, this);
  FTicker->setObjectName(QStringLiteral("TickerPanel"));
  FTicker->SetDateTimeText(LocaleDateTimeText);
  FRows->addWidget(FTicker);
  FRows->addStretch(1);
  connect(FTicker, &TTickerRow::IconClicked, this, [this](QPoint p) { IconClick(p); });
  connect(FTicker, &TTickerRow::MenuRequested, this, [this](QPoint p) { PopupMenu->popup(p); });
  connect(FTicker, &TTickerRow::MouseMovedOver, this, [this] { PanelMouseMove(); });
  // The RSS reader's action; disabled while the program has no RSS reader window.
  connect(FTicker, &TTickerRow::OpenReaderRequested, this, [this] { FHotKeyActions[8]->trigger(); });

  FBalloon = new TBalloonHint(this);
  FToolWindows = std::make_unique<TToolWindows>(this, FStore);
  if (FOptions.RegisterTools)
    FOptions.RegisterTools(*FToolWindows);
  else
    RegisterToolWindows(*FToolWindows);
  BuildMenu();

  connect(IconPanel, &TGradientPanel::DoubleClicked, this, [this] { IconPanelDblClick(); });
  connect(WeatherPanel, &TGradientPanel::DoubleClicked, this, [this] { WeatherPanelDblClick(); });
  const auto balloonOn = [this](TGradientPanel* panel, std::function<TBalloonText()> build) {
    connect(panel, &TGradientPanel::DoubleClicked, this, [this, panel, build] { ShowBalloon(panel, build()); });
  };
  balloonOn(APMPanel, [this] {
    FPS = ReadPowerStatus();
    return PowerBalloon(FPS, FTexts);
  });
  balloonOn(CPUPanel, [this] {
    TNativeCpuid source;
    TValtri_CPU cpu(source);
    cpu.RefreshData();
    return CpuBalloon(cpu, FTexts);
  });
  balloonOn(MemPanel, [this] {
    FMemory.RefreshData();
    return MemoryBalloon(FMemory.Status(), FTexts, QLocale().groupSeparator().toStdString());
  });
  balloonOn(DatePanel, [this] {
    return DateBalloon(
        Clock(), FSettings.DF, [this](TDateTime d) { return GetName(FNames, d, FTexts); },
        [this](TDateTime d) { return HebrewDateText(d, FTexts); }, FTexts);
  });
  balloonOn(ECPanel, [this] { return CountdownBalloon(FSettings.EN, FSettings.EDT, LocaleDateTimeText); });
  balloonOn(SystemPanel, [this] {
    return SystemBalloon(BuildStartupValues(ReadSystemFacts()), SystemStartTime(Clock(), SecondsSinceBoot()),
                         GetIPAddresses(), GetMACAddresses(), FTexts, LocaleDateTimeText);
  });
  balloonOn(TimePanel, [this] {
    const char* tz = std::getenv("TZ");
    TValtri_TimeZone zone({}, tz ? std::optional<std::string>(tz) : std::nullopt);
    zone.RefreshData();
    return TimeBalloon(zone, FTexts, LocaleDateTimeText);
  });
  for (TGradientPanel* p : {IconPanel, WeatherPanel, ECPanel, SystemPanel, APMPanel, CPUPanel, MemPanel, DatePanel,
                            TimePanel}) {
    connect(p, &TGradientPanel::Clicked, this, [this] { PanelClick(); });
    connect(p, &TGradientPanel::MouseMoved, this, [this] { PanelMouseMove(); });
  }

  // FormCreate. The guard of the single instance ran before; the file steps come first here, as
  // the docking needs nothing of them and the settings need the file's name.
  FFiles = PrepareStartupFiles(FOptions.Version, platform::UserDataFolder(), FOptions.ProgramFolder,
                               FLangCtrl.Language().toStdString(), FOptions.ProgramFile);
  FDataFolder = FFiles.DataFolder;
  FNames = FFiles.Names;
  IconPanel->SetCaption(Q(FOptions.Version.CompanyName + " " + FOptions.Version.ProductName));
  FStore.SetFileName(FFiles.SettingsFile);

  // Dock: the window must be a dock before the window manager first sees it mapped.
  winId();
  if (auto* xcbWindow = windowHandle()->nativeInterface<QNativeInterface::Private::QXcbWindow>())
    xcbWindow->setWindowType(QNativeInterface::Private::QXcbWindow::Dock);
  auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11) throw EAppBarError("Zentrix needs an X11 display.");
  xcb_connection_t* connection = x11->connection();
  FShell = std::make_unique<TX11AppBarShell>(connection);
  qApp->installNativeEventFilter(this);
  FAppBar = std::make_unique<TAppBar>(*FShell, *this, FTexts);
  const TRect screen = FShell->PrimaryScreen();
  TAppBarSettings& abs = FAppBar->ABS();
  abs = DefaultAppBarSettings({screen.Width(), screen.Height()});
  abs.abEdge = abeTop;
  abs.abFlags = abfAllowTop;
  abs.szSizeInc = {1, 1};
  abs.abTaskEntry = abtHide;
  try {
    FAppBar->SetSettingsFile(AppBarSettingsFile(platform::UserConfigFolder(), "Software\\AppBar"));
  } catch (const EAppBarError&) {
    // Without a configuration folder the record is simply not kept.
  }
  FCheckTimer.setTimerType(Qt::CoarseTimer);
  connect(&FCheckTimer, &QTimer::timeout, this, [this] {
    const QPoint p = QCursor::pos();
    FAppBar->CheckTimerFired({p.x(), p.y()});
  });
  FReactionTimer.setSingleShot(false);
  connect(&FReactionTimer, &QTimer::timeout, this, [this] { FAppBar->ReactionTimerFired(); });
  FAppBar->Create();

  // The hot keys are grabbed on the root window of the same connection.
  const xcb_setup_t* setup = xcb_get_setup(connection);
  xcb_screen_t* root = xcb_setup_roots_iterator(setup).data;
  auto hotKeys = std::make_unique<TX11HotKeys>(connection, root->root);
  hotKeys->OnHotKey = [this](int id) {
    if (id >= 1 && id <= static_cast<int>(FHotKeyActions.size())) FHotKeyActions[static_cast<std::size_t>(id - 1)]->trigger();
  };
  FHotKeys = std::move(hotKeys);

  FWebUpdate = new TUpdateChecker(kProductPageUrl, FOptions.Version.Version, this);
  connect(FWebUpdate, &TUpdateChecker::UpdateAvailable, this, [this](const QString& version) {
    const QString question = Q(UpdateQuestion(version.toStdString(), FTexts));
    if (ConfirmBox(question, QString::fromUtf8(kApplicationTitle))) OpenAddress(kMakerSiteUrl);
  });
  FWebUpdate->Start(FOptions.NoUpdateCheck);

  // The sampler and the once-a-second refresh.
  FRefresh = std::make_unique<TBarRefresh>(
      TBarSources{TickSeconds,
                  [this] {
                    FMemory.RefreshData();
                    return FMemory.MemoryLoad();
                  },
                  [this] {
                    FPS = ReadPowerStatus();
                    return FPS;
                  }},
      FTexts, [this](int day) { return WeekdayName(day); });
  FCPUUsage.SetOnInterval([this](TValtri_CPUUsage&, const TCPUUsages&, std::int32_t avg) { CPUUsageInterval(avg); });
  FCPUUsage.SetActive(true);
  FSecondTimer.setSingleShot(true);
  FSecondTimer.setTimerType(Qt::PreciseTimer);
  connect(&FSecondTimer, &QTimer::timeout, this, [this] { Tick(); });
  ScheduleTick();

  connect(&FWeatherTimer, &QTimer::timeout, this, [this] { WeatherTimerTimer(); });
  connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
    if (state != Qt::ApplicationActive) ApplicationEventsDeactivate();
  });
  connect(&FLangCtrl, &TLocalizationController::LanguageChanged, this, [this] { LangCtrlLanguageChanged(); });
  FLangCtrl.AddWindow(this);
  SetMessageBoxCaptions(FTexts);
}

Twnd_zentrix_Main::~Twnd_zentrix_Main() {
  qApp->removeNativeEventFilter(this);
  if (FHotKeys) {
    for (int id = 1; id <= static_cast<int>(FHotKeyActions.size()); ++id) FHotKeys->Unregister(id);
  }
  // The desktop gets its strip back: the record is stored and the bar unregistered.
  if (FAppBar) FAppBar->Destroy();
  if (auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>()) xcb_flush(x11->connection());
  // A weather request still under way ends within the client's time-outs; the desktop no longer
  // waits for it, only this process does.
  if (FWeatherThread) {
    disconnect(FWeatherThread, nullptr, this, nullptr);
    FWeatherThread->wait();
    delete FWeatherThread.data();
  }
}

TGradientPanel* Twnd_zentrix_Main::AddPanel(const char* name, int width, QColor colour, const char* hint) {
  auto* panel = new TGradientPanel(QString::fromLatin1(name), Panel);
  panel->SetPanelWidth(width);
  panel->SetLabelColour(colour);
  panel->setFont(font());
  if (hint) panel->setToolTip(QString::fromUtf8(hint));
  return panel;
}

QAction* Twnd_zentrix_Main::AddToolAction(const char* name, const char* caption, std::optional<TToolKind> kind) {
  auto* action = new QAction(QString::fromUtf8(caption), this);
  action->setObjectName(QString::fromLatin1(name));
  // The shortcut is shown in the menu; the key itself is a system-wide grab.
  action->setShortcutContext(Qt::WidgetShortcut);
  // A window this version does not have keeps its entry disabled.
  action->setEnabled(kind && FToolWindows->Available(*kind));
  if (kind) connect(action, &QAction::triggered, this, [this, k = *kind] { OpenToolWindow(k); });
  return action;
}

void Twnd_zentrix_Main::BuildMenu() {
  PopupMenu = new QMenu(this);
  PopupMenu->setObjectName(QStringLiteral("PopupMenu"));
  acAutoHide = new QAction(QStringLiteral("自动隐藏"), this);
  acAutoHide->setObjectName(QStringLiteral("acAutoHide"));
  acAutoHide->setCheckable(true);
  connect(acAutoHide, &QAction::triggered, this, [this] { acAutoHideExecute(); });
  acTicker = new QAction(QStringLiteral("RSS北京时间"), this);
  acTicker->setObjectName(QStringLiteral("acTicker"));
  acTicker->setCheckable(true);
  connect(acTicker, &QAction::triggered, this, [this] { acTickerExecute(); });
  PopupMenu->addAction(acAutoHide);
  PopupMenu->addAction(acTicker);
  PopupMenu->addSeparator();

  // By hot key id.
  // The magnifier's switch acts on the magnifier window's own switch, which comes with that
  // window; until then it stays disabled.
  FHotKeyActions = {AddToolAction("acDeskExp", "桌面放大镜", TToolKind::tkDeskExp),
                    AddToolAction("acDeskExpOnOff", "桌面开关", std::nullopt),
                    AddToolAction("acCalculator", "计算器", TToolKind::tkCalculator),
                    AddToolAction("acCalendar", "日历", TToolKind::tkCalendar),
                    AddToolAction("acCodeTools", "编码工具", TToolKind::tkCodeTools),
                    AddToolAction("acASCIITable", "ASCII表", TToolKind::tkASCIITable),
                    AddToolAction("acNotepad", "记事本", TToolKind::tkNotepad),
                    AddToolAction("acWeather", "气象预报", TToolKind::tkWeather),
                    AddToolAction("acRSS", "RSS阅读器", TToolKind::tkRSS),
                    AddToolAction("acSpreadsheet", "电子表格", TToolKind::tkSpreadsheet)};
  FHotKeyActions[1]->setVisible(false);
  // Menu order: magnifier, its switch, calculator, calendar, code tools, ASCII table, notepad,
  // weather, RSS reader, spreadsheet.
  for (std::size_t id : {0u, 1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 9u}) PopupMenu->addAction(FHotKeyActions[id]);
  PopupMenu->addSeparator();
  acPrefs = new QAction(QStringLiteral("首选项..."), this);
  acPrefs->setObjectName(QStringLiteral("acPrefs"));
  connect(acPrefs, &QAction::triggered, this, [this] { acPrefsExecute(); });
  PopupMenu->addAction(acPrefs);
  PopupMenu->addSeparator();
  acExit = new QAction(QStringLiteral("退出"), this);
  acExit->setObjectName(QStringLiteral("acExit"));
  connect(acExit, &QAction::triggered, this, [this] { close(); });
  PopupMenu->addAction(acExit);
  UpdateShortCutTexts();
}

void Twnd_zentrix_Main::UpdateShortCutTexts() {
  for (std::size_t i = 0; i < FHotKeyActions.size(); ++i) {
    const int index = ShortCutIndex(kHotKeyActions[i]);
    const int code = FSettings.ShortCuts[static_cast<std::size_t>(index)];
    FHotKeyActions[i]->setShortcut(code > 0 && code <= 0xFFFF ? ShortcutToKeySequence(static_cast<std::uint16_t>(code))
                                                              : QKeySequence());
  }
}

void Twnd_zentrix_Main::ShowBar() {
  // The settings store's restore at the first show, then the settings are applied.
  try {
    RestoreBarSettings(FStore, FSettings);
  } catch (const std::exception& e) {
    // The bar works with what was restored up to the unreadable key.
    ErrorBox(QString::fromUtf8(e.what()));
  }
  FSettingsRestored = true;
  FormStorageAfterRestorePlacement();
  show();
  // The window manager gets the map request at once; the fetches' threads, which load the
  // network library, start from the event loop after it.
  if (auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>()) xcb_flush(x11->connection());
  QTimer::singleShot(0, this, [this] { FormShow(); });
}

void Twnd_zentrix_Main::FormShow() {
  // The weather now, and the feed when the ticker runs.
  WeatherTimerTimer();
  if (FSettings.DT) FTicker->RefreshFeed();
}

void Twnd_zentrix_Main::FormStorageAfterRestorePlacement() {
  RegisterHotKeys();
  ApplyBarDocking(*FAppBar, FSettings);
  FLayout = BarLayoutOf(FSettings);
  for (TGradientPanel* p : {SystemPanel, APMPanel, CPUPanel, MemPanel, DatePanel, TimePanel, WeatherPanel})
    p->SetBold(FLayout.BoldLabels);
  acAutoHide->setChecked(FAppBar->ABS().bAutohide);
  FTicker->ApplySettings({FSettings.RSS, FSettings.RRI, FSettings.RSI, ColourFromRef(FSettings.RFC), FSettings.BL});
  FTicker->SetActive(FSettings.DT);
  FTicker->setVisible(FSettings.DT);
  acTicker->setChecked(!FTicker->isHidden());
  FAppBar->UpdateBar();
  FWeatherTimer.setInterval(FLayout.WeatherIntervalMs);
  if (FLayout.WeatherIntervalMs > 0)
    FWeatherTimer.start();
  else
    FWeatherTimer.stop();
  PlaceCountdownPanel();
}

void Twnd_zentrix_Main::PlaceCountdownPanel() {
  // The box layout already puts the panel directly right of the weather panel. Measuring text
  // loads the font database, which a hidden panel need not wait for before the bar is mapped.
  ECPanel->setVisible(FSettings.EC);
  if (!FSettings.EC) return;
  const int width = QFontMetrics(font()).horizontalAdvance(Q(CountdownWidthText(FSettings.EN))) + 20;
  ECPanel->SetPanelWidth(width);
}

void Twnd_zentrix_Main::FormStorageBeforeSavePlacement() {
  CaptureBarState(*FAppBar, !FTicker->isHidden(), FSettings);
}

void Twnd_zentrix_Main::SaveBarSettingsNow() {
  FormStorageBeforeSavePlacement();
  SaveBarSettings(FStore, FSettings);
  TWindowPlacement placement;
  const QRect g = geometry();
  placement.Left = g.left();
  placement.Top = g.top();
  placement.Right = g.left() + g.width();
  placement.Bottom = g.top() + g.height();
  placement.PixelsPerInch = logicalDpiY();
  SavePlacement(FStore, kBarSection, placement);
  FStore.Flush();
}

bool Twnd_zentrix_Main::RegisterHotKeys() {
  const bool all = RegisterBarHotKeys(*FHotKeys, FSettings);
  UpdateShortCutTexts();
  return all;
}

void Twnd_zentrix_Main::acAutoHideExecute() {
  FSettings.AH = !FSettings.AH;
  FormStorageAfterRestorePlacement();
  SaveBarSettingsNow();
}

void Twnd_zentrix_Main::acTickerExecute() {
  FSettings.DT = !FSettings.DT;
  FormStorageAfterRestorePlacement();
  SaveBarSettingsNow();
  if (FTicker->IsActive()) FTicker->RefreshFeed();
}

void Twnd_zentrix_Main::OpenToolWindow(TToolKind kind) {
  // The weather window shows the bar's last weather: fetch it before the window first exists.
  if (kind == TToolKind::tkWeather && !FToolWindows->Window(kind)) WeatherTimerTimer();
  FToolWindows->Open(kind);
}

void Twnd_zentrix_Main::acPrefsExecute() {
  TPrefsValues values{FSettings, FNames};
  TPrefsContext context;
  context.Version = FOptions.Version;
  context.Texts = &FTexts;
  context.LangCtrl = &FLangCtrl;
  context.Clock = &Clock();
  context.ApiKey = kWeatherApiKey;
  if (!ShowPreferences(this, 0, values, context)) return;
  FSettings = values.Settings;
  FNames = values.Names;
  FormStorageAfterRestorePlacement();
  SaveBarSettingsNow();
  try {
    SaveDayNames(FFiles.NamesFile, FNames);
  } catch (const std::exception& e) {
    // The names stay in use for this run; the user learns they were not kept.
    ErrorBox(QString::fromUtf8(e.what()));
  }
  // The next tick draws the date again, with a day name or format that may have changed.
  FRefresh->ResetDate();
  WeatherTimerTimer();
  if (FTicker->IsActive()) FTicker->RefreshFeed();
}

void Twnd_zentrix_Main::closeEvent(QCloseEvent* event) {
  if (FClosing) {
    event->accept();
    return;
  }
  FClosing = true;
  // FormCloseQuery: save and write the file; the close is never refused.
  SaveBarSettingsNow();
  // FormClose: stop the ticker, save again, and the tool windows go, their places kept.
  FTicker->SetActive(false);
  FToolWindows->SaveAll();
  SaveBarSettingsNow();
  FToolWindows->DestroyAll();
  event->accept();
}

bool Twnd_zentrix_Main::event(QEvent* e) {
  switch (e->type()) {
    case QEvent::WindowActivate:
      if (FAppBar) FAppBar->Activated(true);
      break;
    case QEvent::WindowDeactivate:
      if (FAppBar) FAppBar->Activated(false);
      break;
    case QEvent::Move:
    case QEvent::Resize:
      if (FAppBar && isVisible()) FAppBar->WindowPosChanged();
      break;
    case QEvent::MouseMove:
      PanelMouseMove();
      break;
    default:
      break;
  }
  return QWidget::event(e);
}

bool Twnd_zentrix_Main::eventFilter(QObject* watched, QEvent* e) {
  if (watched == Icon) {
    if (e->type() == QEvent::MouseButtonPress) {
      auto* mouse = static_cast<QMouseEvent*>(e);
      if (mouse->button() == Qt::LeftButton) {
        IconClick(Icon->mapToGlobal(QPoint(0, Icon->height())));
        return true;
      }
      if (mouse->button() == Qt::RightButton) {
        PopupMenu->popup(mouse->globalPosition().toPoint());
        return true;
      }
    } else if (e->type() == QEvent::MouseMove) {
      PanelMouseMove();
    }
  }
  return QWidget::eventFilter(watched, e);
}

void Twnd_zentrix_Main::IconClick(QPoint globalBottomLeft) {
  FShell->SetZOrder(Handle(), TAppBarZOrder::azTopmost);
  PopupMenu->popup(globalBottomLeft);
}

void Twnd_zentrix_Main::PanelClick() {
  // The open tool windows come forward, then the bar to the top of the topmost windows.
  FToolWindows->ShowVisible();
  FShell->SetZOrder(Handle(), TAppBarZOrder::azTopmost);
}

void Twnd_zentrix_Main::PanelMouseMove() {
  if (FAppBar) FAppBar->NcMouseMove();
}

void Twnd_zentrix_Main::ApplicationEventsDeactivate() {
  FToolWindows->SaveAll();
  FStore.Flush();
}

void Twnd_zentrix_Main::LangCtrlLanguageChanged() {
  SetMessageBoxCaptions(FTexts);
  // The date panel's day name and weekday come from the language: recompute at the next tick.
  FRefresh->ResetDate();
}

void Twnd_zentrix_Main::ScheduleTick() {
  // Fire just after the next wall-clock second begins, so the time panel turns with the clock.
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now).count() % 1000;
  FSecondTimer.start(static_cast<int>(1000 - ms) + 2);
}

void Twnd_zentrix_Main::Tick() {
  ScheduleTick();
  FCPUUsage.TimerTick();
}

void Twnd_zentrix_Main::CPUUsageInterval(std::int32_t avgValue) {
  bool shown = !ECPanel->isHidden();
  const TBarPanelTexts t = FRefresh->Tick(Clock().NowLocal(), avgValue, FNames, FSettings.DF, FSettings.EN,
                                          FSettings.EDT, shown, FSettings.EC);
  TimePanel->SetCaption(Q(t.Time));
  if (t.DateChanged) DatePanel->SetCaption(Q(t.Date));
  SystemPanel->SetCaption(Q(t.System));
  CPUPanel->SetCaption(Q(t.CPU));
  MemPanel->SetCaption(Q(t.Mem));
  APMPanel->SetCaption(Q(t.APM));
  if (!ECPanel->isHidden()) {
    ECPanel->SetCaption(Q(t.Countdown));
    if (!shown) ECPanel->hide();
  }
  if (!FOptions.PanelDumpFile.isEmpty()) WritePanelDump();
}

void Twnd_zentrix_Main::WritePanelDump() const {
  QSaveFile file(FOptions.PanelDumpFile);
  if (!file.open(QIODevice::WriteOnly)) return;
  QString text;
  for (const TGradientPanel* p : {IconPanel, WeatherPanel, ECPanel, SystemPanel, APMPanel, CPUPanel, MemPanel,
                                  DatePanel, TimePanel})
    text += p->objectName() + QLatin1Char('=') + p->Caption() + QLatin1Char('\n');
  text += QStringLiteral("Ticker=") + FTicker->Line() + QLatin1Char('\n');
  text += QStringLiteral("TickerHint=") + FTicker->HintText() + QLatin1Char('\n');
  file.write(text.toUtf8());
  file.commit();
}

std::string Twnd_zentrix_Main::WeekdayName(int dayOfWeek) const {
  // DayOfWeek counts from Sunday = 1, Qt from Monday = 1.
  const int qtDay = dayOfWeek == 1 ? 7 : dayOfWeek - 1;
  return QLocale().dayName(qtDay, QLocale::LongFormat).toStdString();
}

void Twnd_zentrix_Main::ShowBalloon(QWidget* anchor, const TBalloonText& balloon) {
  FBalloon->ShowAt(anchor, Q(balloon.Header), Q(balloon.Message), BalloonIcon(static_cast<TBalloonIcon>(balloon.Icon)),
                   5000);
}

void Twnd_zentrix_Main::IconPanelDblClick() {
  const std::string text = FTexts.Get("lc_Version", "Version") + ": " + FOptions.Version.Version + "\r\n" +
                           FOptions.Version.Copyright;
  FBalloon->ShowAt(IconPanel, Q(FOptions.Version.CompanyName + " " + FOptions.Version.ProductName), Q(text),
                   ProgramIcon(16), 5000);
}

void Twnd_zentrix_Main::WeatherTimerTimer() {
  StartWeatherFetch(false);
}

void Twnd_zentrix_Main::WeatherPanelDblClick() {
  StartWeatherFetch(true);
}

void Twnd_zentrix_Main::StartWeatherFetch(bool thenShowBalloon) {
  // One fetch at a time; a double-click during a fetch shows the balloon when it ends.
  if (thenShowBalloon) FWeatherBalloonPending = true;
  if (FWeatherThread) return;
  struct TResult {
    bool Ok = false;
    TCurrentWeather Current;
    TWeatherForecast Forecast;
    std::string Error;
  };
  auto result = std::make_shared<TResult>();
  const std::string location = FSettings.WL;
  // The fetch runs on its own thread so the clock keeps turning while the service answers.
  QThread* thread = QThread::create([result, location] {
    try {
      result->Ok = GetWeather(kWeatherApiKey, location, false, {}, result->Current, result->Forecast);
      result->Error = WeatherLastError();
    } catch (const std::exception& e) {
      result->Ok = false;
      result->Error = e.what();
    }
  });
  connect(thread, &QThread::finished, this, [this, thread, result] {
    thread->deleteLater();
    FWeatherThread = nullptr;
    const bool balloon = FWeatherBalloonPending;
    FWeatherBalloonPending = false;
    WeatherFetched(result->Ok, result->Current, result->Forecast, result->Error, balloon);
  });
  FWeatherThread = thread;
  thread->start();
}

void Twnd_zentrix_Main::WeatherFetched(bool ok, const TCurrentWeather& current, const TWeatherForecast& forecast,
                                       const std::string& error, bool thenShowBalloon) {
  FCW = ok ? current : TCurrentWeather{};
  FWF = ok ? forecast : TWeatherForecast{};
  WeatherPanel->SetCaption(Q(WeatherPanelText(ok, current, error, FSettings.TU, FTexts)));
  if (thenShowBalloon) ShowForecastBalloon();
}

void Twnd_zentrix_Main::ShowForecastBalloon() {
  const std::string text = ForecastBalloonText(
      FWF, FSettings.TU, FSettings.DF,
      [](TDateTime d) {
        const TDateParts p = DecodeDateTime(d);
        return QLocale().toString(QDate(p.Year, p.Month, p.Day), QLocale::ShortFormat).toStdString();
      },
      [this](int day) { return WeekdayName(day); }, FTexts);
  if (text.empty()) return;
  FBalloon->ShowAt(WeatherPanel, Q(FTexts.Get("lc_WeatherForecast", "Weather Forecast")), Q(text),
                   BalloonIcon(biWeather), 5000);
}

// TAppBarWindow

TNativeWindow Twnd_zentrix_Main::Handle() const {
  return static_cast<TNativeWindow>(winId());
}

TRect Twnd_zentrix_Main::Bounds() const {
  const QRect g = geometry();
  return {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

void Twnd_zentrix_Main::SetBounds(const TRect& bounds) {
  setGeometry(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
}

bool Twnd_zentrix_Main::IsActive() const {
  return isActiveWindow();
}

std::int64_t Twnd_zentrix_Main::TickMs() const {
  return FElapsed.elapsed();
}

void Twnd_zentrix_Main::SlideFrameShown() {
  repaint();
  if (auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>()) xcb_flush(x11->connection());
  QThread::msleep(10);
}

void Twnd_zentrix_Main::SetTimer(TAppBarTimer timer, std::int32_t intervalMs, bool enabled) {
  QTimer& t = timer == TAppBarTimer::attCheck ? FCheckTimer : FReactionTimer;
  t.setInterval(intervalMs > 0 ? intervalMs : 1);
  if (enabled)
    t.start();
  else
    t.stop();
}

void Twnd_zentrix_Main::Post(std::function<void()> task) {
  QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
}

void Twnd_zentrix_Main::ShowInformation(const std::string& text) {
  InfoBox(Q(text));
}

bool Twnd_zentrix_Main::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
  if (eventType != "xcb_generic_event_t") return false;
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  if (FHotKeys && FHotKeys->HandleEvent(event)) return true;
  if (FShell) FShell->HandleEvent(event);
  return false;
}

}  // namespace zentrix
