#include "settings/SettingsStore.h"

#include <system_error>

#include "core/FileUtils.h"

namespace zentrix {

TStoragePath SplitStoragePath(std::string_view path) {
  const std::size_t slash = path.rfind('\\');
  if (slash == std::string_view::npos) return {std::string(kDefaultSection), std::string(path)};
  return {std::string(path.substr(0, slash)), std::string(path.substr(slash + 1))};
}

void TSettingsStore::SetFileName(std::filesystem::path fileName) {
  FFileName = std::move(fileName);
  FIni = TIniFile();
  FLoaded = false;
  FModified = false;
}

void TSettingsStore::Load() {
  if (FLoaded) return;
  FLoaded = true;
  std::error_code ec;
  if (FFileName.empty() || !std::filesystem::exists(FFileName, ec)) return;
  try {
    FIni = TIniFile::Parse(ReadFileBytes(FFileName, 16u << 20));
  } catch (const EFileError& e) {
    // Not loaded, so a later Flush cannot overwrite a file we could not read.
    FLoaded = false;
    throw ESettingsError(e.what());
  }
}

const TIniFile& TSettingsStore::Document() {
  Load();
  return FIni;
}

const std::string* TSettingsStore::Lookup(std::string_view path, std::string& holder) {
  Load();
  const TStoragePath where = SplitStoragePath(path);
  std::optional<std::string> value = FIni.Read(where.Section, where.Key);
  if (!value) return nullptr;
  holder = std::move(*value);
  return &holder;
}

bool TSettingsStore::ValueExists(std::string_view path) {
  std::string holder;
  return Lookup(path, holder) != nullptr;
}

std::string TSettingsStore::ReadString(std::string_view path, std::string_view defaultValue) {
  std::string holder;
  const std::string* text = Lookup(path, holder);
  return text ? *text : std::string(defaultValue);
}

int TSettingsStore::ReadInteger(std::string_view path, int defaultValue) {
  std::string holder;
  const std::string* text = Lookup(path, holder);
  return text ? DecodeInteger(*text, path) : defaultValue;
}

bool TSettingsStore::ReadBoolean(std::string_view path, bool defaultValue) {
  std::string holder;
  const std::string* text = Lookup(path, holder);
  return text ? DecodeBoolean(*text, path) : defaultValue;
}

double TSettingsStore::ReadReal(std::string_view path, double defaultValue) {
  std::string holder;
  const std::string* text = Lookup(path, holder);
  return text ? DecodeReal(*text, path) : defaultValue;
}

void TSettingsStore::WriteString(std::string_view path, std::string_view value) {
  Load();
  const TStoragePath where = SplitStoragePath(path);
  std::optional<std::string> old = FIni.Read(where.Section, where.Key);
  if (old && *old == value) return;
  if (!FIni.Write(where.Section, where.Key, value))
    throw ESettingsError("Cannot store \"" + std::string(value.substr(0, 64)) + "\" under " + std::string(path) +
                         ": a settings value must fit on one line");
  FModified = true;
}

void TSettingsStore::WriteInteger(std::string_view path, int value) { WriteString(path, EncodeInteger(value)); }
void TSettingsStore::WriteBoolean(std::string_view path, bool value) { WriteString(path, EncodeBoolean(value)); }
void TSettingsStore::WriteReal(std::string_view path, double value) { WriteString(path, EncodeReal(value)); }

void TSettingsStore::EraseSection(std::string_view section) {
  Load();
  if (FIni.EraseSection(section)) FModified = true;
}

void TSettingsStore::Flush() {
  Load();
  if (!FModified) return;
  if (FFileName.empty()) throw ESettingsError("The settings store has no file name");
  try {
    WriteFileAtomic(FFileName, FIni.Serialize());
  } catch (const EFileError& e) {
    throw ESettingsError(e.what());
  }
  FModified = false;
}

}  // namespace zentrix
