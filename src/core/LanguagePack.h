#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/InterfaceTexts.h"

namespace zentrix {

inline constexpr std::string_view kLanguageBaseName = "Zentrix";
inline constexpr std::string_view kFallbackLanguage = "en";

// The two- or three-letter language of a locale name ("cs_CZ.UTF-8" gives "cs", "zh_CN" gives
// "zh"); empty for "C", "POSIX" or a name that starts with no language.
std::string LanguageCodeFromLocale(std::string_view localeName);

// The language files <base>.<code>.lng found in a list of folders (earlier folders win).
class TLanguagePack {
public:
  TLanguagePack(std::vector<std::filesystem::path> folders, std::string baseName = std::string(kLanguageBaseName))
      : FFolders(std::move(folders)), FBaseName(std::move(baseName)) {}

  const std::string& BaseName() const { return FBaseName; }
  // The codes that have a language file, sorted, each once.
  std::vector<std::string> AvailableLanguages() const;
  // The file of a code, or empty when there is none.
  std::filesystem::path LanguageFile(std::string_view code) const;
  // code when a file exists for it, else "en".
  std::string ChooseLanguage(std::string_view code) const;
  // The texts of a language; raises ELanguageFileError or EFileError.
  TInterfaceTexts::TTextMap Load(std::string_view code) const;

private:
  std::vector<std::filesystem::path> FFolders;
  std::string FBaseName;
};

}  // namespace zentrix
