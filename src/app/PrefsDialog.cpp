#include "app/PrefsDialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFormLayout>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>
#include <cmath>
#include <exception>

#include "app/MessageBoxes.h"
#include "app/ProductPage.h"
#include "core/DayNames.h"
#include "core/Exceptions.h"
#include "platform/OpenAddress.h"
#include "widgets/BarImages.h"
#include "widgets/CategoryButtons.h"
#include "widgets/ColourComboBox.h"
#include "widgets/HeaderPanel.h"
#include "widgets/HotKeyEdit.h"
#include "widgets/LineNumberEdit.h"

namespace zentrix {

namespace {

constexpr int kClientWidth = 578;
constexpr int kClientHeight = 363;
constexpr int kLeftPanelWidth = 150;
// Minutes of a refresh interval: 60 000 x the value must stay a valid timer interval.
constexpr int kMaxIntervalMinutes = 35791;

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The hot-key fields in the order they are laid out, with their action and label.
struct THotKeyField {
  const char* Name;
  std::string_view Action;
  const char* Label;
};
constexpr THotKeyField kHotKeyFields[] = {
    {"hkeDeskExp", "acDeskExp", "桌面放大镜:"},
    {"hkeDeskExpOnOff", "acDeskExpOnOff", "桌面开关:"},
    {"hkeCalc", "acCalculator", "计算器:"},
    {"hkeCal", "acCalendar", "日历:"},
    {"hkeCodeTools", "acCodeTools", "编码工具:"},
    {"hkeASCIITable", "acASCIITable", "ASCII表:"},
    {"hkeNotepad", "acNotepad", "记事本:"},
    {"hkeWeather", "acWeather", "气象预报:"},
    {"hkeRSS", "acRSS", "RSS阅读器:"},
    {"hkeSpreadsheet", "acSpreadsheet", "电子表格:"},
};

std::size_t StoredIndex(std::string_view action) {
  for (std::size_t i = 0; i < kStoredShortCuts.size(); ++i)
    if (kStoredShortCuts[i].Action == action) return i;
  return 0;
}

// A radio group: a group box holding one radio button per item, their index the value.
QGroupBox* AddRadioGroup(const char* name, const QString& title, const std::vector<QString>& items, bool twoColumns,
                         QWidget* parent) {
  auto* box = new QGroupBox(title, parent);
  box->setObjectName(QString::fromLatin1(name));
  QBoxLayout* layout = twoColumns ? static_cast<QBoxLayout*>(new QHBoxLayout(box)) : new QVBoxLayout(box);
  auto* group = new QButtonGroup(box);
  for (std::size_t i = 0; i < items.size(); ++i) {
    auto* radio = new QRadioButton(items[i], box);
    radio->setObjectName(QString::fromLatin1(name) + QString::number(i));
    group->addButton(radio, static_cast<int>(i));
    layout->addWidget(radio);
  }
  if (twoColumns) layout->addStretch();
  return box;
}

QList<QRadioButton*> Radios(const QGroupBox* box) {
  return box->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
}

int RadioIndex(const QGroupBox* box) {
  const QList<QRadioButton*> radios = Radios(box);
  for (int i = 0; i < radios.size(); ++i)
    if (radios[i]->isChecked()) return i;
  return 0;
}

// Any value other than 0 means the second item, as the bar reads these settings.
void SetRadioIndex(QGroupBox* box, int value) {
  const QList<QRadioButton*> radios = Radios(box);
  radios[value == 0 ? 0 : 1]->setChecked(true);
}

// The event's date and time; a value no date can hold shows as "no date".
QDateTime EventDateTime(double edt) {
  TDateParts p;
  try {
    p = DecodeDateTime(edt);
  } catch (const EZentrixError&) {
    p = DecodeDateTime(0);
  }
  return {QDate(p.Year, p.Month, p.Day), QTime(p.Hour, p.Minute, p.Second, p.Millisecond)};
}

}  // namespace

std::string PlaceFromLocationText(const std::string& text) {
  const std::size_t bracket = text.find('(');
  if (bracket == std::string::npos) return text;
  std::string_view place(text.data(), bracket);
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!place.empty() && blank(place.front())) place.remove_prefix(1);
  while (!place.empty() && blank(place.back())) place.remove_suffix(1);
  return std::string(place);
}

Tdlg_zentrix_Prefs::Tdlg_zentrix_Prefs(const TPrefsContext& context, QWidget* parent)
    : QDialog(parent), FContext(context) {
  setObjectName(QStringLiteral("Tdlg_zentrix_Prefs"));
  setWindowTitle(QStringLiteral("首选项"));
  setFixedSize(kClientWidth, kClientHeight);
  // A dialog frame: caption and close button, no minimise or maximise box.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);

  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 6);
  outer->setSpacing(6);
  auto* body = new QHBoxLayout;
  body->setSpacing(0);
  outer->addLayout(body, 1);

  BuildLeftPanel();
  body->addWidget(cb->parentWidget());

  auto* right = new QVBoxLayout;
  right->setContentsMargins(6, 6, 6, 0);
  right->setSpacing(4);
  GroupHeader = new THeaderPanel(this);
  GroupHeader->setObjectName(QStringLiteral("GroupHeader"));
  right->addWidget(GroupHeader);
  nbk = new QStackedWidget(this);
  nbk->setObjectName(QStringLiteral("nbk"));
  right->addWidget(nbk, 1);
  body->addLayout(right, 1);

  tsGeneral = BuildGeneralPage();
  tsShortcuts = BuildShortcutsPage();
  tsDaynames = BuildDaynamesPage();
  tsWeather = BuildWeatherPage();
  tsRSS = BuildRSSPage();
  tsEC = BuildECPage();

  auto* buttons = new QHBoxLayout;
  buttons->setContentsMargins(8, 0, 8, 0);
  lCR = new QLabel(Q(FContext.Version.Copyright), this);
  lCR->setObjectName(QStringLiteral("lCR"));
  QPalette grey = lCR->palette();
  grey.setColor(QPalette::WindowText, Qt::gray);
  lCR->setPalette(grey);
  buttons->addWidget(lCR, 1);
  bOK = new QPushButton(QStringLiteral("确定"), this);
  bOK->setObjectName(QStringLiteral("bOK"));
  bOK->setDefault(true);
  bCancel = new QPushButton(QStringLiteral("取消"), this);
  bCancel->setObjectName(QStringLiteral("bCancel"));
  buttons->addWidget(bOK);
  buttons->addWidget(bCancel);
  outer->addLayout(buttons);
  connect(bOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(bCancel, &QPushButton::clicked, this, &QDialog::reject);

  connect(cb, &TCategoryButtons::ButtonClicked, this, &Tdlg_zentrix_Prefs::cbButtonClicked);
  connect(cbxAutoHide, &QCheckBox::toggled, this, &Tdlg_zentrix_Prefs::cbxAutoHideClick);
  connect(cbxTicker, &QCheckBox::toggled, this, &Tdlg_zentrix_Prefs::cbxTickerClick);
  connect(bSearch, &QPushButton::clicked, this, &Tdlg_zentrix_Prefs::bSearchClick);

  if (FContext.LangCtrl) {
    FContext.LangCtrl->AddWindow(this);
    connect(FContext.LangCtrl, &TLocalizationController::LanguageChanged, this, &Tdlg_zentrix_Prefs::SyncCaptions);
  }
  SyncCaptions();
  SelectPage(0);
}

const TInterfaceTexts& Tdlg_zentrix_Prefs::Texts() const { return FContext.Texts ? *FContext.Texts : EnglishTexts(); }

void Tdlg_zentrix_Prefs::BuildLeftPanel() {
  auto* panel = new QWidget(this);
  panel->setObjectName(QStringLiteral("pnlLeft"));
  panel->setFixedWidth(kLeftPanelWidth);
  panel->setAutoFillBackground(true);
  QPalette white = panel->palette();
  white.setColor(QPalette::Window, Qt::white);
  panel->setPalette(white);
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(4, 6, 4, 6);

  cb = new TCategoryButtons(QStringLiteral("类别"), panel);
  cb->setObjectName(QStringLiteral("cb"));
  layout->addWidget(cb);
  layout->addStretch(1);

  Icon = new QLabel(panel);
  Icon->setObjectName(QStringLiteral("Icon"));
  Icon->setPixmap(ProgramIcon(32));
  Icon->setAlignment(Qt::AlignCenter);
  Icon->setCursor(Qt::PointingHandCursor);
  Icon->installEventFilter(this);
  layout->addWidget(Icon);

  lTitle = new QLabel(Q(FContext.Version.CompanyName + " " + FContext.Version.ProductName), panel);
  lTitle->setObjectName(QStringLiteral("lTitle"));
  lTitle->setAlignment(Qt::AlignCenter);
  lTitle->setWordWrap(true);
  QFont bold = lTitle->font();
  bold.setBold(true);
  lTitle->setFont(bold);
  QPalette navy = lTitle->palette();
  navy.setColor(QPalette::WindowText, QColor(0, 0, 0x80));
  lTitle->setPalette(navy);
  lTitle->setCursor(Qt::PointingHandCursor);
  lTitle->installEventFilter(this);
  layout->addWidget(lTitle);
}

QWidget* Tdlg_zentrix_Prefs::AddPage(const char* name, const QString& caption) {
  auto* page = new QWidget(nbk);
  page->setObjectName(QString::fromLatin1(name));
  // The language file names a page's caption as its window title; the list and header copy it.
  page->setWindowTitle(caption);
  nbk->addWidget(page);
  cb->AddButton(caption);
  return page;
}

QLabel* Tdlg_zentrix_Prefs::AddLabel(const char* name, const QString& caption, QWidget* parent) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(QString::fromLatin1(name));
  return label;
}

QSpinBox* Tdlg_zentrix_Prefs::AddSpin(const char* name, int minimum, int maximum, QWidget* parent) {
  auto* spin = new QSpinBox(parent);
  spin->setObjectName(QString::fromLatin1(name));
  spin->setRange(minimum, maximum);
  spin->setMinimumWidth(80);
  return spin;
}

QCheckBox* Tdlg_zentrix_Prefs::AddCheck(const char* name, const QString& caption, QWidget* parent) {
  auto* check = new QCheckBox(caption, parent);
  check->setObjectName(QString::fromLatin1(name));
  return check;
}

QWidget* Tdlg_zentrix_Prefs::BuildGeneralPage() {
  QWidget* page = AddPage("tsGeneral", QStringLiteral("一般"));
  auto* layout = new QVBoxLayout(page);
  cbxAutoHide = AddCheck("cbxAutoHide", QStringLiteral("自动隐藏(移动鼠标到左上屏幕一角)"), page);
  layout->addWidget(cbxAutoHide);
  auto* slide = new QGridLayout;
  slide->setContentsMargins(20, 0, 0, 0);
  cbxSlide = AddCheck("cbxSlide", QStringLiteral("滑动效果"), page);
  slide->addWidget(cbxSlide, 0, 0, 1, 2);
  slide->addWidget(AddLabel("lST", QStringLiteral("滑动时间[毫秒]:"), page), 1, 0);
  seST = AddSpin("seST", 0, 60000, page);
  slide->addWidget(seST, 1, 1);
  slide->setColumnStretch(2, 1);
  layout->addLayout(slide);
  cbxBold = AddCheck("cbxBold", QStringLiteral("粗体标签"), page);
  layout->addWidget(cbxBold);
  rgDF = AddRadioGroup("rgDF", QStringLiteral("日期格式"), {QStringLiteral("基督教"), QStringLiteral("犹太教")}, true,
                       page);
  layout->addWidget(rgDF);
  layout->addStretch(1);
  return page;
}

QWidget* Tdlg_zentrix_Prefs::BuildShortcutsPage() {
  QWidget* page = AddPage("tsShortcuts", QStringLiteral("快捷键"));
  auto* grid = new QGridLayout(page);
  grid->setHorizontalSpacing(8);
  constexpr int kRows = 5;
  for (int i = 0; i < static_cast<int>(std::size(kHotKeyFields)); ++i) {
    const THotKeyField& field = kHotKeyFields[i];
    auto* edit = new THotKeyEdit(page);
    edit->setObjectName(QString::fromLatin1(field.Name));
    const QString labelName = QStringLiteral("l") + QString::fromLatin1(field.Name + 3);
    auto* label = new QLabel(QString::fromUtf8(field.Label), page);
    label->setObjectName(labelName);
    label->setBuddy(edit);
    const int row = i % kRows;
    const int column = (i / kRows) * 2;
    grid->addWidget(label, 2 * row, column);
    grid->addWidget(edit, 2 * row + 1, column);
    HotKeys[StoredIndex(field.Action)] = edit;
  }
  grid->setRowStretch(2 * kRows, 1);
  return page;
}

QWidget* Tdlg_zentrix_Prefs::BuildDaynamesPage() {
  QWidget* page = AddPage("tsDaynames", QStringLiteral("日名称"));
  auto* layout = new QVBoxLayout(page);
  lToday = new QLabel(page);
  lToday->setObjectName(QStringLiteral("lToday"));
  lToday->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  layout->addWidget(lToday);
  Memo = new TLineNumberEdit(page);
  Memo->setObjectName(QStringLiteral("Memo"));
  Memo->setToolTip(QStringLiteral("的格式: DayNumber=DayName (例如： 145 =圣帕特里克节)"));
  layout->addWidget(Memo, 1);
  return page;
}

QWidget* Tdlg_zentrix_Prefs::BuildWeatherPage() {
  QWidget* page = AddPage("tsWeather", QStringLiteral(" 气象预报 "));
  auto* layout = new QVBoxLayout(page);
  auto* search = new QHBoxLayout;
  cbLoc = new QComboBox(page);
  cbLoc->setObjectName(QStringLiteral("cbLoc"));
  cbLoc->setEditable(true);
  cbLoc->setInsertPolicy(QComboBox::NoInsert);
  cbLoc->setToolTip(QStringLiteral("输入城市名称"));
  search->addWidget(cbLoc, 1);
  bSearch = new QPushButton(QStringLiteral("搜索"), page);
  bSearch->setObjectName(QStringLiteral("bSearch"));
  bSearch->setAutoDefault(false);
  search->addWidget(bSearch);
  layout->addLayout(search);
  auto* units = new QHBoxLayout;
  rgTU = AddRadioGroup("rgTU", QStringLiteral(" 温度单位 "), {QStringLiteral("°C"), QStringLiteral("F")}, false, page);
  rgWSU = AddRadioGroup("rgWSU", QStringLiteral(" 风速单位 "), {QStringLiteral("公里/小时"), QStringLiteral("英里")},
                        false, page);
  units->addWidget(rgTU, 1);
  units->addWidget(rgWSU, 1);
  layout->addLayout(units);
  auto* interval = new QHBoxLayout;
  interval->addWidget(AddLabel("lWRI", QStringLiteral("刷新时间间隔[分钟]:"), page));
  seWRI = AddSpin("seWRI", 0, kMaxIntervalMinutes, page);
  interval->addWidget(seWRI);
  interval->addStretch(1);
  layout->addLayout(interval);
  layout->addStretch(1);
  Image1 = new QLabel(page);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setCursor(Qt::PointingHandCursor);
  Image1->installEventFilter(this);
  {
    // The service's mark: its weather symbol and its name.
    QFont f = font();
    f.setBold(true);
    const QString name = QStringLiteral("World Weather Online");
    QPixmap logo(QFontMetrics(f).horizontalAdvance(name) + 32, 24);
    logo.fill(Qt::transparent);
    QPainter painter(&logo);
    painter.drawPixmap(2, 4, BalloonIcon(biWeather));
    painter.setFont(f);
    painter.setPen(QColor(0x1E, 0x5A, 0xA8));
    painter.drawText(logo.rect().adjusted(24, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, name);
    painter.end();
    Image1->setPixmap(logo);
  }
  layout->addWidget(Image1, 0, Qt::AlignRight);
  return page;
}

QWidget* Tdlg_zentrix_Prefs::BuildRSSPage() {
  QWidget* page = AddPage("tsRSS", QStringLiteral("RSS"));
  auto* layout = new QVBoxLayout(page);
  eRSS = new QComboBox(page);
  eRSS->setObjectName(QStringLiteral("eRSS"));
  eRSS->setEditable(true);
  eRSS->setInsertPolicy(QComboBox::NoInsert);
  for (std::string_view feed : kPresetFeeds) eRSS->addItem(QString::fromUtf8(feed.data(), feed.size()));
  layout->addWidget(eRSS);
  cbxTicker = AddCheck("cbxTicker", QStringLiteral("显示北京时间"), page);
  layout->addWidget(cbxTicker);
  auto* form = new QGridLayout;
  form->setContentsMargins(20, 0, 0, 0);
  form->addWidget(AddLabel("lRSI", QStringLiteral("滚动时间间隔[毫秒]:"), page), 0, 0);
  seRSI = AddSpin("seRSI", 1, 100, page);
  form->addWidget(seRSI, 0, 1);
  form->addWidget(AddLabel("lRRI", QStringLiteral("刷新时间间隔[分钟]:"), page), 1, 0);
  seRRI = AddSpin("seRRI", 0, kMaxIntervalMinutes, page);
  form->addWidget(seRRI, 1, 1);
  form->addWidget(AddLabel("lRFC", QStringLiteral("字体颜色:"), page), 2, 0);
  cbRFC = new TColourComboBox(page);
  cbRFC->setObjectName(QStringLiteral("cbRFC"));
  form->addWidget(cbRFC, 2, 1);
  form->setColumnStretch(2, 1);
  layout->addLayout(form);
  layout->addStretch(1);
  return page;
}

QWidget* Tdlg_zentrix_Prefs::BuildECPage() {
  QWidget* page = AddPage("tsEC", QStringLiteral("事件倒计时"));
  auto* layout = new QVBoxLayout(page);
  cbxEC = AddCheck("cbxEC", QStringLiteral("启用"), page);
  layout->addWidget(cbxEC);
  auto* form = new QGridLayout;
  form->addWidget(AddLabel("lEN", QStringLiteral("事件名称:"), page), 0, 0);
  eEN = new QLineEdit(page);
  eEN->setObjectName(QStringLiteral("eEN"));
  form->addWidget(eEN, 0, 1, 1, 2);
  form->addWidget(AddLabel("lEDT", QStringLiteral("事件日期时间:"), page), 1, 0);
  eED = new QDateEdit(page);
  eED->setObjectName(QStringLiteral("eED"));
  eED->setDateRange(QDate(1, 1, 1), QDate(9999, 12, 31));
  eED->setCalendarPopup(true);
  eED->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
  form->addWidget(eED, 1, 1);
  eET = new QTimeEdit(page);
  eET->setObjectName(QStringLiteral("eET"));
  eET->setDisplayFormat(QStringLiteral("HH:mm:ss"));
  form->addWidget(eET, 1, 2);
  form->setColumnStretch(3, 1);
  layout->addLayout(form);
  layout->addStretch(1);
  return page;
}

void Tdlg_zentrix_Prefs::SyncCaptions() {
  for (int i = 0; i < nbk->count() && i < cb->Count(); ++i) cb->Button(i)->setText(nbk->widget(i)->windowTitle());
  if (cb->Current() >= 0) GroupHeader->SetText(cb->Button(cb->Current())->text());
  cbLoc->lineEdit()->setPlaceholderText(cbLoc->toolTip());
  const TClock& clock = FContext.Clock ? *FContext.Clock : SystemClock();
  lToday->setText(
      QStringLiteral("%1: %2").arg(Q(Texts().Get("lc_Today", "Today"))).arg(DayIndex(clock.NowLocal())));
  cbRFC->SetCustomCaption(Q(Texts().Get("lc_CustomColour", "Custom...")));
}

void Tdlg_zentrix_Prefs::SelectPage(int index) {
  index = std::clamp(index, 0, nbk->count() - 1);
  cb->SetCurrent(index);
  cbButtonClicked(index);
}

void Tdlg_zentrix_Prefs::cbButtonClicked(int index) {
  nbk->setCurrentIndex(index);
  GroupHeader->SetText(cb->Button(index)->text());
}

void Tdlg_zentrix_Prefs::cbxAutoHideClick() {
  const bool on = cbxAutoHide->isChecked();
  seST->setEnabled(on);
  cbxSlide->setEnabled(on);
}

void Tdlg_zentrix_Prefs::cbxTickerClick() {
  const bool on = cbxTicker->isChecked();
  seRRI->setEnabled(on);
  seRSI->setEnabled(on);
  cbRFC->setEnabled(on);
}

void Tdlg_zentrix_Prefs::bSearchClick() {
  // The hourglass goes whatever happens below, before any message is shown.
  struct TWaitCursor {
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { Restore(); }
    void Restore() {
      if (FOn) QApplication::restoreOverrideCursor();
      FOn = false;
    }
    bool FOn = true;
  } wait;
  const std::string text = cbLoc->currentText().toStdString();
  cbLoc->clear();
  TWeatherLocations locations;
  QString error;
  try {
    if (!SearchLocations(FContext.ApiKey, text, locations, FContext.Service)) {
      error = Q(Texts().Get("lc_SearchFailed", "The place search failed."));
      if (!WeatherLastError().empty()) error += QStringLiteral("\n") + Q(WeatherLastError());
      locations.clear();
    }
  } catch (const std::exception& e) {
    error = QString::fromUtf8(e.what());
    locations.clear();
  }
  for (const TWeatherLocationRecord& place : locations)
    cbLoc->addItem(Q(place.AreaName + "," + place.Country + " (" + place.Region + ")"));
  if (cbLoc->count() > 0)
    cbLoc->setCurrentIndex(0);
  else
    cbLoc->setEditText(QString());
  wait.Restore();
  if (!error.isEmpty()) ErrorBox(error);
}

void Tdlg_zentrix_Prefs::OpenLink(const char* url) const {
  if (FContext.OpenLink)
    FContext.OpenLink(url);
  else
    OpenAddress(url);
}

bool Tdlg_zentrix_Prefs::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    if (watched == Icon || watched == lTitle) OpenLink(kMakerSiteUrl);
    if (watched == Image1) OpenLink(kWeatherServiceSiteUrl);
  }
  return QDialog::eventFilter(watched, event);
}

void Tdlg_zentrix_Prefs::Fill(const TPrefsValues& values) {
  const TBarSettings& s = values.Settings;
  cbxAutoHide->setChecked(s.AH);
  cbxBold->setChecked(s.BL);
  SetRadioIndex(rgWSU, s.WSU);
  SetRadioIndex(rgTU, s.TU);
  cbLoc->setEditText(Q(s.WL));
  seWRI->setValue(s.WRI);
  seST->setValue(s.ST);
  cbxSlide->setChecked(s.SE);
  SetRadioIndex(rgDF, s.DF);
  for (std::size_t i = 0; i < HotKeys.size(); ++i) HotKeys[i]->SetCode(static_cast<std::uint16_t>(s.ShortCuts[i]));
  // One entry a line; the last line ends without a line break, so empty entries at the end stay.
  QStringList lines;
  for (const std::string& name : values.Names) lines << Q(name);
  Memo->setPlainText(lines.join(QLatin1Char('\n')));
  eRSS->setEditText(Q(s.RSS));
  cbxTicker->setChecked(s.DT);
  seRRI->setValue(s.RRI);
  seRSI->setValue(s.RSI);
  cbRFC->SetColourRef(s.RFC);
  cbxEC->setChecked(s.EC);
  eEN->setText(Q(s.EN));
  const QDateTime event = EventDateTime(s.EDT);
  eED->setDate(event.date());
  eET->setTime(event.time());
  cbxAutoHideClick();
  cbxTickerClick();
}

void Tdlg_zentrix_Prefs::Store(TPrefsValues& values) const {
  TBarSettings& s = values.Settings;
  for (std::size_t i = 0; i < HotKeys.size(); ++i) s.ShortCuts[i] = HotKeys[i]->Code();
  s.AH = cbxAutoHide->isChecked();
  s.BL = cbxBold->isChecked();
  s.WSU = RadioIndex(rgWSU);
  s.TU = RadioIndex(rgTU);
  s.WL = PlaceFromLocationText(cbLoc->currentText().toStdString());
  s.WRI = seWRI->value();
  s.ST = seST->value();
  s.SE = cbxSlide->isChecked();
  s.DF = RadioIndex(rgDF);
  const QString text = Memo->toPlainText();
  values.Names.clear();
  if (!text.isEmpty())
    for (const QString& line : text.split(QLatin1Char('\n'))) values.Names.push_back(line.toStdString());
  s.RSS = eRSS->currentText().toStdString();
  s.DT = cbxTicker->isChecked();
  s.RRI = seRRI->value();
  s.RSI = seRSI->value();
  s.RFC = cbRFC->ColourRef();
  s.EC = cbxEC->isChecked();
  s.EN = eEN->text().toStdString();
  const QDate date = eED->date();
  const QTime time = eET->time();
  s.EDT = EncodeDate(date.year(), date.month(), date.day()) +
          EncodeTime(time.hour(), time.minute(), time.second(), time.msec());
}

bool ShowPreferences(QWidget* parent, int firstPage, TPrefsValues& values, const TPrefsContext& context) {
  Tdlg_zentrix_Prefs dialog(context, parent);
  dialog.SelectPage(firstPage);
  dialog.Fill(values);
  const QScreen* screen = parent && parent->screen() ? parent->screen() : QGuiApplication::primaryScreen();
  if (screen) {
    QRect frame = dialog.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    dialog.move(frame.topLeft());
  }
  if (dialog.exec() != QDialog::Accepted) return false;
  dialog.Store(values);
  return true;
}

}  // namespace zentrix
