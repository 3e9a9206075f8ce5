#include "settings/BarSettings.h"

#include <variant>

namespace zentrix {
namespace {

using TField = std::variant<bool TBarSettings::*, int TBarSettings::*, std::string TBarSettings::*,
                            double TBarSettings::*>;

struct TNamedSetting {
  const char* Key;
  TField Field;
};

const TNamedSetting kNamedSettings[] = {
    {"BL", &TBarSettings::BL},   {"AH", &TBarSettings::AH},   {"WL", &TBarSettings::WL},
    {"WSU", &TBarSettings::WSU}, {"TU", &TBarSettings::TU},   {"WRI", &TBarSettings::WRI},
    {"ST", &TBarSettings::ST},   {"SE", &TBarSettings::SE},   {"DF", &TBarSettings::DF},
    {"RSS", &TBarSettings::RSS}, {"DT", &TBarSettings::DT},   {"RRI", &TBarSettings::RRI},
    {"RSI", &TBarSettings::RSI}, {"RFC", &TBarSettings::RFC}, {"EC", &TBarSettings::EC},
    {"EN", &TBarSettings::EN},   {"EDT", &TBarSettings::EDT},
};

std::string ShortCutKey(std::string_view action) { return std::string(action) + "_ShortCut"; }

struct TReader {
  TSettingsStore& Store;
  TBarSettings& Settings;
  const std::string& Path;
  void operator()(bool TBarSettings::*f) const { Settings.*f = Store.ReadBoolean(Path, Settings.*f); }
  void operator()(int TBarSettings::*f) const { Settings.*f = Store.ReadInteger(Path, Settings.*f); }
  void operator()(std::string TBarSettings::*f) const { Settings.*f = Store.ReadString(Path, Settings.*f); }
  void operator()(double TBarSettings::*f) const { Settings.*f = Store.ReadReal(Path, Settings.*f); }
};

struct TWriter {
  TSettingsStore& Store;
  const TBarSettings& Settings;
  const std::string& Path;
  void operator()(bool TBarSettings::*f) const { Store.WriteBoolean(Path, Settings.*f); }
  void operator()(int TBarSettings::*f) const { Store.WriteInteger(Path, Settings.*f); }
  void operator()(std::string TBarSettings::*f) const { Store.WriteString(Path, Settings.*f); }
  void operator()(double TBarSettings::*f) const { Store.WriteReal(Path, Settings.*f); }
};

struct TKindOf {
  TSettingKind operator()(bool TBarSettings::*) const { return TSettingKind::skBoolean; }
  TSettingKind operator()(int TBarSettings::*) const { return TSettingKind::skInteger; }
  TSettingKind operator()(std::string TBarSettings::*) const { return TSettingKind::skString; }
  TSettingKind operator()(double TBarSettings::*) const { return TSettingKind::skReal; }
};

}  // namespace

std::string BarPath(std::string_view key) { return std::string(kBarSection) + "\\" + std::string(key); }

const std::vector<TBarKey>& BarKeys() {
  static const std::vector<TBarKey> keys = [] {
    std::vector<TBarKey> list;
    for (const TNamedSetting& s : kNamedSettings) list.push_back({s.Key, std::visit(TKindOf{}, s.Field)});
    for (const TActionShortCut& a : kStoredShortCuts) list.push_back({ShortCutKey(a.Action), TSettingKind::skInteger});
    return list;
  }();
  return keys;
}

void RestoreBarSettings(TSettingsStore& store, TBarSettings& settings) {
  for (const TNamedSetting& s : kNamedSettings) {
    const std::string path = BarPath(s.Key);
    std::visit(TReader{store, settings, path}, s.Field);
  }
  for (std::size_t i = 0; i < kStoredShortCuts.size(); ++i)
    settings.ShortCuts[i] = store.ReadInteger(BarPath(ShortCutKey(kStoredShortCuts[i].Action)), settings.ShortCuts[i]);
}

void SaveBarSettings(TSettingsStore& store, const TBarSettings& settings) {
  for (const TNamedSetting& s : kNamedSettings) {
    const std::string path = BarPath(s.Key);
    std::visit(TWriter{store, settings, path}, s.Field);
  }
  for (std::size_t i = 0; i < kStoredShortCuts.size(); ++i)
    store.WriteInteger(BarPath(ShortCutKey(kStoredShortCuts[i].Action)), settings.ShortCuts[i]);
}

std::string WindSpeedUnit(int wsu) { return wsu == 0 ? "km/h" : "mph"; }
std::string TemperatureUnit(int tu) { return tu == 0 ? "°C" : "F"; }

}  // namespace zentrix
