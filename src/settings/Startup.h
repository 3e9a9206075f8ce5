#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/VersionInfo.h"
#include "settings/DataFiles.h"

namespace zentrix {

// What the bar's start-up found and set up in its data folder.
struct TStartupFiles {
  std::filesystem::path DataFolder;    // FDataFolder, ending with a separator
  std::filesystem::path SettingsFile;  // for the settings store
  std::filesystem::path NamesFile;     // FNamesFile
  std::vector<std::string> Names;      // FNames; empty without a day-names file
  TIconPackResult IconPack;
  bool RunsAtStartup = false;
};

// The file steps of the bar's start, in order: the data folder (created with its parents), the
// settings file name, the day-names file (seeded from the language's shipped file in
// programFolder when missing, then loaded), the icon pack from programFolder, and the log-on
// entry running programFile (skipped when programFile is empty). Nothing here reports an error:
// a step that fails leaves its part empty and the bar runs on.
TStartupFiles PrepareStartupFiles(const TVersionInfo& info, const std::filesystem::path& userDataFolder,
                                  const std::filesystem::path& programFolder, std::string_view languageCode,
                                  const std::filesystem::path& programFile);

}  // namespace zentrix
