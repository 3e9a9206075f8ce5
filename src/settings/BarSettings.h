#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "settings/SettingsStore.h"

namespace zentrix {

// Sections of the windows in the settings file.
inline constexpr std::string_view kBarSection = "主要";
inline constexpr std::string_view kCalculatorStoragePath = "计算器\\";
inline constexpr std::string_view kCalendarStoragePath = "日历";
inline constexpr std::string_view kCodeToolsStoragePath = "编码工具";
inline constexpr std::string_view kASCIITableStoragePath = "ASCII表";
inline constexpr std::string_view kNotepadStoragePath = "记事本";
inline constexpr std::string_view kDeskExpStoragePath = "桌面浏览器";
inline constexpr std::string_view kRSSStoragePath = "RSS\\";
inline constexpr std::string_view kWeatherStoragePath = "Weather\\";
inline constexpr std::string_view kSpreadsheetStoragePath = "电子表格";

// The BBC's world-news feed: plain RSS 2.0 at the same address for many years.
inline constexpr std::string_view kDefaultRSS = "https://feeds.bbci.co.uk/news/world/rss.xml";

// The actions whose shortcuts are stored, with their default Ctrl+Alt+letter codes (virtual key
// in the low byte, Shift 0x2000, Ctrl 0x4000, Alt 0x8000).
struct TActionShortCut {
  std::string_view Action;
  int DefaultShortCut;
};
inline constexpr int kCtrlAlt = 0x4000 | 0x8000;
inline constexpr std::array<TActionShortCut, 10> kStoredShortCuts = {{
    {"acCalculator", kCtrlAlt | 'K'},
    {"acCalendar", kCtrlAlt | 'R'},
    {"acDeskExp", kCtrlAlt | 'L'},
    {"acDeskExpOnOff", kCtrlAlt | 'O'},
    {"acNotepad", kCtrlAlt | 'N'},
    {"acCodeTools", kCtrlAlt | 'G'},
    {"acASCIITable", kCtrlAlt | 'A'},
    {"acRSS", kCtrlAlt | 'F'},
    {"acWeather", kCtrlAlt | 'W'},
    {"acSpreadsheet", kCtrlAlt | 'S'},
}};

// The bar's stored settings with their defaults.
struct TBarSettings {
  bool BL = true;
  bool AH = false;
  std::string WL = "Prague,CZ";
  int WSU = 0;
  int TU = 0;
  int WRI = 60;
  int ST = 100;
  bool SE = false;
  int DF = 0;
  std::string RSS = std::string(kDefaultRSS);
  bool DT = true;
  int RRI = 15;
  int RSI = 10;
  int RFC = 10930928;
  bool EC = false;
  std::string EN;
  double EDT = 0;
  // In the order of kStoredShortCuts.
  std::array<int, kStoredShortCuts.size()> ShortCuts = [] {
    std::array<int, kStoredShortCuts.size()> codes{};
    for (std::size_t i = 0; i < codes.size(); ++i) codes[i] = kStoredShortCuts[i].DefaultShortCut;
    return codes;
  }();

  bool operator==(const TBarSettings&) const = default;
};

enum class TSettingKind { skBoolean, skInteger, skString, skReal };

struct TBarKey {
  std::string Key;  // without the section: "WRI", "acCalculator_ShortCut"
  TSettingKind Kind;
};
// The bar's keys in the order they are stored: the named settings, then the shortcuts.
const std::vector<TBarKey>& BarKeys();
// The key's storage path, "主要\WRI".
std::string BarPath(std::string_view key);

// Reads the bar's keys in order into settings; keys missing from the file keep the values
// settings holds. A value that cannot be read raises ESettingsError and stops there, so the
// keys before it are restored and the rest keep their values.
void RestoreBarSettings(TSettingsStore& store, TBarSettings& settings);
// Stores every key; the caller flushes.
void SaveBarSettings(TSettingsStore& store, const TBarSettings& settings);

// "km/h" or "mph" by WSU, "°C" or "F" by TU.
std::string WindSpeedUnit(int wsu);
std::string TemperatureUnit(int tu);

}  // namespace zentrix
