#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/VersionInfo.h"

namespace zentrix {

// Every file of the bar is named after this base: Zentrix.ini, Zentrix.dat, Zentrix.cs.dat,
// Zentrix.iml, Zentrix.en.lng. The program and the CLI share the same files whatever their own
// file names are.
inline constexpr std::string_view kFileBase = "Zentrix";
inline constexpr std::string_view kSunnySymbol = "wsymbol_0001_sunny.png";

// The per-user folder of the bar's files: <user data>/<CompanyName>/<ProductName>/, ending with
// a separator. Without a user data folder the path starts at the root.
std::filesystem::path DataFolderPath(const std::filesystem::path& userDataFolder, const TVersionInfo& info);
// Creates the folder with its parents; false when that fails.
bool EnsureDataFolder(const std::filesystem::path& dataFolder);

std::filesystem::path SettingsFilePath(const std::filesystem::path& dataFolder);   // Zentrix.ini
std::filesystem::path NamesFilePath(const std::filesystem::path& dataFolder);      // Zentrix.dat
// The shipped day-names file of a language: Zentrix.<code>.dat in folder.
std::filesystem::path LanguageNamesFilePath(const std::filesystem::path& folder, std::string_view code);
std::filesystem::path IconPackPath(const std::filesystem::path& folder);           // Zentrix.iml

// When namesFile does not exist, copies the language's shipped day-names file from
// shippedFolder to it. True when namesFile exists afterwards.
bool SeedDayNames(const std::filesystem::path& namesFile, const std::filesystem::path& shippedFolder,
                  std::string_view languageCode);
// The lines of the file; empty when it is missing or unreadable.
std::vector<std::string> LoadDayNames(const std::filesystem::path& namesFile);
// Writes the lines whole or not at all; raises EFileError.
void SaveDayNames(const std::filesystem::path& namesFile, const std::vector<std::string>& names);

struct TIconPackResult {
  bool Opened = false;  // the archive was opened (not skipped and readable)
  int Extracted = 0;
  int Skipped = 0;  // entries with unsafe names, folders, damaged or oversized entries
};

// True for a name that can only ever be a file directly inside the target folder: not empty,
// no "/" or "\", no "..", no ":" and no control characters.
bool IsPlainFileName(std::string_view name);

// Unpacks every entry of the zip archive pack into dataFolder under its stored name, unless
// dataFolder already holds the sunny symbol or the pack is missing. Entries whose names are not
// plain file names are skipped, so an archive cannot write outside the folder.
TIconPackResult ExtractIconPack(const std::filesystem::path& pack, const std::filesystem::path& dataFolder);

// The switch name on a command line, introduced by "/" or "-", letters in any case ("-nuc",
// "/NUC").
bool HasSwitch(const std::vector<std::string>& args, std::string_view name);

}  // namespace zentrix
