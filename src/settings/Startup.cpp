#include "settings/Startup.h"

#include "platform/Autostart.h"

namespace zentrix {

TStartupFiles PrepareStartupFiles(const TVersionInfo& info, const std::filesystem::path& userDataFolder,
                                  const std::filesystem::path& programFolder, std::string_view languageCode,
                                  const std::filesystem::path& programFile) {
  TStartupFiles files;
  files.DataFolder = DataFolderPath(userDataFolder, info);
  EnsureDataFolder(files.DataFolder);
  files.SettingsFile = SettingsFilePath(files.DataFolder);
  files.NamesFile = NamesFilePath(files.DataFolder);
  if (SeedDayNames(files.NamesFile, programFolder, languageCode)) files.Names = LoadDayNames(files.NamesFile);
  files.IconPack = ExtractIconPack(IconPackPath(programFolder), files.DataFolder);
  if (!programFile.empty()) files.RunsAtStartup = platform::SetRunAtStartup(true, kApplicationTitle, programFile);
  return files;
}

}  // namespace zentrix
