#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "settings/IniFile.h"
#include "settings/SettingsValues.h"

namespace zentrix {

// Where a storage path points: the section is everything before the last "\", the key the rest;
// a path without "\" lies in the default section "一般".
struct TStoragePath {
  std::string Section;
  std::string Key;
};
TStoragePath SplitStoragePath(std::string_view path);

inline constexpr std::string_view kDefaultSection = "一般";

// The settings file held in memory. The file is read at the first access and written whole by
// Flush (atomically: the old file stays intact until the new one is complete). A missing file
// or key gives the caller's default; a value that is there but cannot be read in its kind raises
// ESettingsError naming the path.
class TSettingsStore {
public:
  TSettingsStore() = default;
  explicit TSettingsStore(std::filesystem::path fileName) : FFileName(std::move(fileName)) {}

  // Set once, before the first access; a later change starts again from the new file.
  void SetFileName(std::filesystem::path fileName);
  const std::filesystem::path& FileName() const { return FFileName; }

  bool ValueExists(std::string_view path);
  std::string ReadString(std::string_view path, std::string_view defaultValue);
  int ReadInteger(std::string_view path, int defaultValue);
  bool ReadBoolean(std::string_view path, bool defaultValue);
  double ReadReal(std::string_view path, double defaultValue);

  // Raise ESettingsError for a path or string that cannot be stored on one line.
  void WriteString(std::string_view path, std::string_view value);
  void WriteInteger(std::string_view path, int value);
  void WriteBoolean(std::string_view path, bool value);
  void WriteReal(std::string_view path, double value);
  void EraseSection(std::string_view section);

  // Writes the memory image to the file when something changed since the last flush.
  void Flush();
  bool Modified() const { return FModified; }

  // The whole document, read-only (the CLI lists it).
  const TIniFile& Document();

private:
  void Load();
  const std::string* Lookup(std::string_view path, std::string& holder);

  std::filesystem::path FFileName;
  TIniFile FIni;
  bool FLoaded = false;
  bool FModified = false;
};

}  // namespace zentrix
