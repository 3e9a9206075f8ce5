#include <cmath>
#include <cstdio>
#include <ostream>
#include <system_error>

#include "cli/CliArgs.h"
#include "cli/CliCommand.h"
#include "core/DayNames.h"
#include "core/LanguagePack.h"
#include "core/VersionInfo.h"
#include "platform/Autostart.h"
#include "platform/Environment.h"
#include "settings/BarSettings.h"
#include "settings/DataFiles.h"
#include "settings/SettingsStore.h"

namespace zentrix::cli {
namespace {

std::filesystem::path DataFolder() { return DataFolderPath(platform::UserDataFolder(), BuildVersionInfo()); }

std::filesystem::path ProgramFolder() { return platform::ProgramPath().parent_path(); }

// Language files ship beside the program; a user may add his own in the data folder.
TLanguagePack Languages() { return TLanguagePack({ProgramFolder(), DataFolder()}); }

std::string CurrentLanguage(const TLanguagePack& pack) {
  return pack.ChooseLanguage(LanguageCodeFromLocale(platform::UserLocaleName()));
}

const TBarKey* FindBarKey(const TStoragePath& where) {
  if (where.Section != kBarSection) return nullptr;
  for (const TBarKey& key : BarKeys())
    if (key.Key == where.Key) return &key;
  return nullptr;
}

std::string FormatReal(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

// settings get PATH: the value as the bar reads it (a bar key missing from the file gives its
// default); settings set PATH VALUE: a bar key's value is checked and stored in its kind.
int RunSettings(const std::vector<std::string>& argsIn, TCliIo& io) {
  std::vector<std::string> args = argsIn;
  if (args.empty()) throw EUsage("missing arguments");
  const std::string verb = args[0];
  args.erase(args.begin());
  if (verb != "get" && verb != "set") throw EUsage("expected get or set, not '" + verb + "'");
  ExpectArgCount(args, verb == "get" ? 1 : 2, verb == "get" ? 1 : 2);
  const std::string& path = args[0];
  const TStoragePath where = SplitStoragePath(path);
  if (where.Key.empty()) throw EUsage("PATH names no key: '" + path + "'");

  TSettingsStore store(SettingsFilePath(DataFolder()));
  const TBarKey* key = FindBarKey(where);
  if (verb == "get") {
    if (key == nullptr) {
      if (!store.ValueExists(path)) throw EZentrixError("No value is stored under " + path);
      io.Out << store.ReadString(path, "") << '\n';
      return 0;
    }
    TBarSettings defaults;
    TSettingsStore defaultStore;
    SaveBarSettings(defaultStore, defaults);
    switch (key->Kind) {
      case TSettingKind::skBoolean:
        io.Out << (store.ReadBoolean(path, defaultStore.ReadBoolean(path, false)) ? "true" : "false") << '\n';
        break;
      case TSettingKind::skInteger:
        io.Out << store.ReadInteger(path, defaultStore.ReadInteger(path, 0)) << '\n';
        break;
      case TSettingKind::skReal:
        io.Out << FormatReal(store.ReadReal(path, defaultStore.ReadReal(path, 0))) << '\n';
        break;
      case TSettingKind::skString:
        io.Out << store.ReadString(path, defaultStore.ReadString(path, "")) << '\n';
        break;
    }
    return 0;
  }

  const std::string& value = args[1];
  if (key == nullptr) {
    store.WriteString(path, value);
  } else {
    switch (key->Kind) {
      case TSettingKind::skBoolean:
        if (value == "true" || value == "false")
          store.WriteBoolean(path, value == "true");
        else
          store.WriteBoolean(path, DecodeBoolean(value, path));
        break;
      case TSettingKind::skInteger:
        store.WriteInteger(path, static_cast<int>(DecodeInteger(value, path)));
        break;
      case TSettingKind::skReal:
        store.WriteReal(path, ParseInstant(value, "VALUE"));
        break;
      case TSettingKind::skString:
        store.WriteString(path, value);
        break;
    }
  }
  if (!EnsureDataFolder(DataFolder())) throw EZentrixError("Cannot create the data folder " + DataFolder().string());
  store.Flush();
  return 0;
}

int RunPaths(const std::vector<std::string>& args, TCliIo& io) {
  ExpectArgCount(args, 0, 0);
  const std::filesystem::path data = DataFolder();
  auto state = [](const std::filesystem::path& file) {
    std::error_code ec;
    return std::filesystem::exists(file, ec) ? "" : " (not there yet)";
  };
  const std::filesystem::path settings = SettingsFilePath(data);
  const std::filesystem::path names = NamesFilePath(data);
  const std::filesystem::path autostart = platform::AutostartEntryPath(kApplicationTitle);
  io.Out << "data folder:     " << data.string() << state(data) << '\n'
         << "settings file:   " << settings.string() << state(settings) << '\n'
         << "day-names file:  " << names.string() << state(names) << '\n'
         << "autostart entry: " << autostart.string() << state(autostart) << '\n';
  const TLanguagePack pack = Languages();
  io.Out << "language:        " << CurrentLanguage(pack) << '\n';
  for (const std::string& code : pack.AvailableLanguages())
    io.Out << "language file:   " << pack.LanguageFile(code).string() << '\n';
  return 0;
}

// The day name the date panel shows: from the day-names file in the data folder, else from the
// shipped file of the interface language (or of --lang CODE), else the fallback.
int RunDayName(const std::vector<std::string>& argsIn, TCliIo& io) {
  std::vector<std::string> args = argsIn;
  const std::optional<std::string> lang = TakeOption(args, "--lang");
  ExpectArgCount(args, 1, 1);
  const TDateTime date = ParseInstant(args[0], "DATE");
  const TLanguagePack pack = Languages();
  const std::string code = lang ? *lang : CurrentLanguage(pack);
  if (LanguageCodeFromLocale(code) != code) throw EUsage("invalid CODE: '" + code + "'");

  std::vector<std::string> names;
  if (!lang) names = LoadDayNames(NamesFilePath(DataFolder()));
  if (names.empty()) names = LoadDayNames(LanguageNamesFilePath(ProgramFolder(), code));
  TInterfaceTexts texts;
  texts.Apply(pack.Load(code));
  io.Out << GetName(names, date, texts) << '\n';
  return 0;
}

const TCliRegistrar kSettings({"settings", "get|set PATH [VALUE]",
                               "Reads or writes a value of the settings file (PATH is SECTION\\KEY, e.g. 主要\\WRI).",
                               RunSettings});
const TCliRegistrar kPaths({"paths", "", "The bar's data folder, its files, the autostart entry and the language files.",
                            RunPaths});
const TCliRegistrar kDayName({"dayname", "DATE [--lang CODE]", "The name of a date's day as the date panel shows it.",
                              RunDayName});

}  // namespace
}  // namespace zentrix::cli
