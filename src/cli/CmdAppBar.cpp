#include <cstdlib>
#include <filesystem>
#include <ostream>

#include "appbar/AppBarSettings.h"
#include "cli/CliArgs.h"
#include "cli/CliCommand.h"

namespace zentrix::cli {
namespace {

std::filesystem::path ConfigHome() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && std::filesystem::path(xdg).is_absolute()) return xdg;
  const char* home = std::getenv("HOME");
  if (!home || !*home) throw EAppBarError("Neither XDG_CONFIG_HOME nor HOME names the configuration folder.");
  return std::filesystem::path(home) / ".config";
}

const char* EdgeName(TAppBarEdge edge) {
  static const char* const names[] = {"abeLeft", "abeTop", "abeRight", "abeBottom", "abeUnknown", "abeFloat"};
  return names[edge];
}

const char* TaskEntryName(TAppBarTaskEntry entry) {
  static const char* const names[] = {"abtShow", "abtHide", "abtFloatDependent"};
  return names[entry];
}

std::string FlagNames(std::uint8_t flags) {
  static const char* const names[] = {"abfAllowLeft", "abfAllowTop", "abfAllowRight", "abfAllowBottom",
                                      "abfAllowFloat"};
  std::string text;
  for (int bit = 0; bit < 5; ++bit)
    if (flags & (1 << bit)) text += std::string(text.empty() ? "" : ",") + names[bit];
  return text.empty() ? "-" : text;
}

int RunRecord(const std::vector<std::string>& args, TCliIo& io) {
  ExpectArgCount(args, 0, 1);
  const std::filesystem::path file =
      args.empty() ? AppBarSettingsFile(ConfigHome(), "Software\\AppBar") : std::filesystem::path(args[0]);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec))
    throw EAppBarError("There is no desktop toolbar record at " + file.string() + ".");
  const std::optional<TAppBarSettings> record = ReadAppBarSettingsFile(file);
  if (!record) throw EAppBarError(file.string() + " is not a valid 84-byte desktop toolbar record.");
  const TAppBarSettings& s = *record;
  const auto size = [](TSize z) { return std::to_string(z.cx) + " " + std::to_string(z.cy); };
  io.Out << "cbSize " << s.cbSize << '\n'
         << "abEdge " << EdgeName(s.abEdge) << '\n'
         << "abFlags " << FlagNames(s.abFlags) << '\n'
         << "bAutohide " << s.bAutohide << '\n'
         << "bAlwaysOnTop " << s.bAlwaysOnTop << '\n'
         << "bSlideEffect " << s.bSlideEffect << '\n'
         << "nTimerInterval " << s.nTimerInterval << '\n'
         << "szSizeInc " << size(s.szSizeInc) << '\n'
         << "szDockSize " << size(s.szDockSize) << '\n'
         << "rcFloat " << s.rcFloat.Left << ' ' << s.rcFloat.Top << ' ' << s.rcFloat.Right << ' ' << s.rcFloat.Bottom
         << '\n'
         << "nMinWidth " << s.nMinWidth << '\n'
         << "nMinHeight " << s.nMinHeight << '\n'
         << "nMaxWidth " << s.nMaxWidth << '\n'
         << "nMaxHeight " << s.nMaxHeight << '\n'
         << "szMinDockSize " << size(s.szMinDockSize) << '\n'
         << "szMaxDockSize " << size(s.szMaxDockSize) << '\n'
         << "abTaskEntry " << TaskEntryName(s.abTaskEntry) << '\n'
         << "bLoadSettings " << s.bLoadSettings << '\n'
         << "bSaveSettings " << s.bSaveSettings << '\n';
  return 0;
}

const TCliRegistrar kRecord({"appbar-record", "[FILE]",
                             "The desktop toolbar's stored 84-byte record, field by field (default: its file "
                             "under the configuration folder).",
                             RunRecord});

}  // namespace
}  // namespace zentrix::cli
