#include "settings/DataFiles.h"

#include <minizip/unzip.h>

#include <system_error>

#include "core/DayNames.h"
#include "core/FileUtils.h"

namespace zentrix {
namespace {

constexpr std::size_t kMaxEntryBytes = 4u << 20;
constexpr std::size_t kMaxNamesBytes = 1u << 20;

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// Reads the current entry whole; false when it is damaged or larger than the cap.
bool ReadCurrentEntry(unzFile zip, std::uint64_t declaredSize, std::string& data) {
  if (declaredSize > kMaxEntryBytes || unzOpenCurrentFile(zip) != UNZ_OK) return false;
  data.clear();
  char buffer[16384];
  bool ok = true;
  for (;;) {
    const int n = unzReadCurrentFile(zip, buffer, sizeof buffer);
    if (n < 0) {
      ok = false;
      break;
    }
    if (n == 0) break;
    if (data.size() + static_cast<std::size_t>(n) > kMaxEntryBytes) {
      ok = false;
      break;
    }
    data.append(buffer, static_cast<std::size_t>(n));
  }
  // Closing checks the CRC of a fully read entry.
  return unzCloseCurrentFile(zip) == UNZ_OK && ok;
}

}  // namespace

std::filesystem::path DataFolderPath(const std::filesystem::path& userDataFolder, const TVersionInfo& info) {
  const std::filesystem::path base = userDataFolder.empty() ? std::filesystem::path("/") : userDataFolder;
  return base / info.CompanyName / info.ProductName / "";
}

bool EnsureDataFolder(const std::filesystem::path& dataFolder) {
  std::error_code ec;
  std::filesystem::create_directories(dataFolder, ec);
  return std::filesystem::is_directory(dataFolder, ec);
}

std::filesystem::path SettingsFilePath(const std::filesystem::path& dataFolder) {
  return dataFolder / (std::string(kFileBase) + ".ini");
}

std::filesystem::path NamesFilePath(const std::filesystem::path& dataFolder) {
  return dataFolder / (std::string(kFileBase) + ".dat");
}

std::filesystem::path LanguageNamesFilePath(const std::filesystem::path& folder, std::string_view code) {
  return folder / (std::string(kFileBase) + "." + std::string(code) + ".dat");
}

std::filesystem::path IconPackPath(const std::filesystem::path& folder) {
  return folder / (std::string(kFileBase) + ".iml");
}

bool SeedDayNames(const std::filesystem::path& namesFile, const std::filesystem::path& shippedFolder,
                  std::string_view languageCode) {
  std::error_code ec;
  if (std::filesystem::exists(namesFile, ec)) return true;
  if (!IsPlainFileName(languageCode)) return false;
  const std::filesystem::path shipped = LanguageNamesFilePath(shippedFolder, languageCode);
  if (!std::filesystem::is_regular_file(shipped, ec)) return false;
  return CopyFileContents(shipped, namesFile);
}

std::vector<std::string> LoadDayNames(const std::filesystem::path& namesFile) {
  try {
    return SplitDayNames(ReadFileBytes(namesFile, kMaxNamesBytes));
  } catch (const EFileError&) {
    return {};
  }
}

void SaveDayNames(const std::filesystem::path& namesFile, const std::vector<std::string>& names) {
  WriteFileAtomic(namesFile, JoinDayNames(names));
}

bool IsPlainFileName(std::string_view name) {
  if (name.empty() || name == "." || name.find("..") != std::string_view::npos) return false;
  for (const char c : name)
    if (c == '/' || c == '\\' || c == ':' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  return true;
}

TIconPackResult ExtractIconPack(const std::filesystem::path& pack, const std::filesystem::path& dataFolder) {
  TIconPackResult result;
  std::error_code ec;
  if (std::filesystem::exists(dataFolder / kSunnySymbol, ec) || !std::filesystem::is_regular_file(pack, ec))
    return result;
  unzFile zip = unzOpen64(pack.c_str());
  if (zip == nullptr) return result;
  result.Opened = true;
  for (int status = unzGoToFirstFile(zip); status == UNZ_OK; status = unzGoToNextFile(zip)) {
    unz_file_info64 info{};
    char name[512];
    if (unzGetCurrentFileInfo64(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK ||
        info.size_filename >= sizeof name) {
      ++result.Skipped;
      continue;
    }
    const std::string_view entryName(name, info.size_filename);
    std::string data;
    if (!IsPlainFileName(entryName) || !ReadCurrentEntry(zip, info.uncompressed_size, data)) {
      ++result.Skipped;
      continue;
    }
    try {
      WriteFileAtomic(dataFolder / std::string(entryName), data);
      ++result.Extracted;
    } catch (const EFileError&) {
      ++result.Skipped;
    }
  }
  unzClose(zip);
  return result;
}

bool HasSwitch(const std::vector<std::string>& args, std::string_view name) {
  for (const std::string& arg : args)
    if (arg.size() == name.size() + 1 && (arg[0] == '/' || arg[0] == '-') &&
        SameIgnoringAsciiCase(std::string_view(arg).substr(1), name))
      return true;
  return false;
}

}  // namespace zentrix
