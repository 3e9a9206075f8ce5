// The window placements and the bar's settings read back from an arbitrary settings file: a
// damaged file must give clear errors or values, never a crash or undefined behaviour.
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/Exceptions.h"
#include "settings/BarSettings.h"
#include "settings/SettingsStore.h"
#include "settings/WindowPlacement.h"

namespace {

const std::filesystem::path& FilePath() {
  static const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("fuzz_placement_" + std::to_string(getpid()) + ".ini");
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  {
    std::ofstream out(FilePath(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  zentrix::TSettingsStore store(FilePath());
  try {
    for (const std::string& section : store.Document().Sections()) {
      try {
        (void)zentrix::RestorePlacement(store, section);
      } catch (const zentrix::ESettingsError&) {
      }
    }
  } catch (const zentrix::EZentrixError&) {
  }
  zentrix::TBarSettings settings;
  try {
    zentrix::RestoreBarSettings(store, settings);
  } catch (const zentrix::EZentrixError&) {
  }
  return 0;
}
