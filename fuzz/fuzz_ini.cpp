// The settings file reader and the value decoders on arbitrary bytes. Besides not crashing,
// a parsed document must serialise to text that parses back to the same document.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "settings/IniFile.h"
#include "settings/SettingsValues.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const zentrix::TIniFile ini = zentrix::TIniFile::Parse(text);
  const std::string once = ini.Serialize();
  if (zentrix::TIniFile::Parse(once).Serialize() != once) std::abort();

  for (const std::string& section : ini.Sections()) {
    for (const std::string& key : ini.Keys(section)) {
      const std::string value = ini.Read(section, key).value_or("");
      try { (void)zentrix::DecodeBoolean(value, key); } catch (const zentrix::ESettingsError&) {}
      try { (void)zentrix::DecodeInteger(value, key); } catch (const zentrix::ESettingsError&) {}
      try {
        const double real = zentrix::DecodeReal(value, key);
        // Every double survives the trip through the 80-bit form.
        const double again = zentrix::DecodeReal(zentrix::EncodeReal(real), key);
        if (!(real == again || (real != real && again != again))) std::abort();
      } catch (const zentrix::ESettingsError&) {}
    }
  }
  zentrix::TIniFile copy = ini;
  if (copy.Write("主要", "EN", text.substr(0, 40))) {
    if (copy.Read("主要", "EN") != std::string(text.substr(0, 40))) std::abort();
  }
  return 0;
}
