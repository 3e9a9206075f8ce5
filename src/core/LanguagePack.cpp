#include "core/LanguagePack.h"

#include <algorithm>
#include <system_error>

#include "core/FileUtils.h"
#include "core/LanguageFile.h"

namespace zentrix {
namespace {

bool IsLanguageCode(std::string_view code) {
  return code.size() >= 2 && code.size() <= 3 &&
         std::all_of(code.begin(), code.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

}  // namespace

std::string LanguageCodeFromLocale(std::string_view localeName) {
  std::string code;
  for (const char c : localeName) {
    if (c == '_' || c == '.' || c == '@' || c == '-') break;
    code += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return IsLanguageCode(code) ? code : std::string();
}

std::vector<std::string> TLanguagePack::AvailableLanguages() const {
  std::vector<std::string> codes;
  const std::string prefix = FBaseName + ".";
  for (const std::filesystem::path& folder : FFolders) {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
      const std::string name = it->path().filename().string();
      if (name.size() <= prefix.size() + 4 || name.compare(0, prefix.size(), prefix) != 0 ||
          name.compare(name.size() - 4, 4, ".lng") != 0)
        continue;
      const std::string code = name.substr(prefix.size(), name.size() - prefix.size() - 4);
      if (IsLanguageCode(code) && it->is_regular_file(ec)) codes.push_back(code);
    }
  }
  std::sort(codes.begin(), codes.end());
  codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
  return codes;
}

std::filesystem::path TLanguagePack::LanguageFile(std::string_view code) const {
  if (!IsLanguageCode(code)) return {};
  for (const std::filesystem::path& folder : FFolders) {
    const std::filesystem::path file = folder / (FBaseName + "." + std::string(code) + ".lng");
    std::error_code ec;
    if (std::filesystem::is_regular_file(file, ec)) return file;
  }
  return {};
}

std::string TLanguagePack::ChooseLanguage(std::string_view code) const {
  return LanguageFile(code).empty() ? std::string(kFallbackLanguage) : std::string(code);
}

TInterfaceTexts::TTextMap TLanguagePack::Load(std::string_view code) const {
  const std::filesystem::path file = LanguageFile(code);
  if (file.empty()) return {};
  try {
    return ParseLanguageFile(ReadFileBytes(file, 4u << 20));
  } catch (const ELanguageFileError& e) {
    throw ELanguageFileError(file.filename().string() + ": " + e.what());
  }
}

}  // namespace zentrix
