#include "core/InterfaceTexts.h"

namespace zentrix {

std::string TInterfaceTexts::Get(std::string_view key, std::string_view englishDefault) const {
  const auto it = FTexts.find(key);
  return it != FTexts.end() ? it->second : std::string(englishDefault);
}

void TInterfaceTexts::Apply(const TTextMap& language) {
  for (const auto& [key, value] : language) FTexts[key] = value;
}

const TInterfaceTexts& EnglishTexts() {
  static const TInterfaceTexts texts;
  return texts;
}

}  // namespace zentrix
