#pragma once

#include <map>
#include <string>
#include <string_view>

namespace zentrix {

// The named texts of the interface ("lc_RemainTime", "wth_113", "mp_0" ...). Code asks for a text
// by key together with its English default, so the default lives where the text is used; the
// localization layer fills the table from a language file.
class TInterfaceTexts {
public:
  using TTextMap = std::map<std::string, std::string, std::less<>>;

  // The language's text for key, or englishDefault when no language has given one.
  std::string Get(std::string_view key, std::string_view englishDefault) const;

  // Takes a language's texts: each key it has replaces the current text, every other key keeps
  // the text it had (a language missing a key does not undo the previous language's text).
  void Apply(const TTextMap& language);

  void Clear() { FTexts.clear(); }

private:
  TTextMap FTexts;
};

// A table with no language applied: every Get gives the English default.
const TInterfaceTexts& EnglishTexts();

}  // namespace zentrix
