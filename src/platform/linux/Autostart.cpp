#include "platform/Autostart.h"

#include <system_error>

#include "core/FileUtils.h"
#include "platform/Environment.h"

namespace zentrix::platform {
namespace {

// Exec values are quoted as the desktop entry format asks: inside double quotes, backslash
// before ", `, $ and \; a literal % is written %%.
std::string QuoteExec(const std::string& command) {
  std::string quoted = "\"";
  for (const char c : command) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    if (c == '%') quoted += '%';
    quoted += c;
  }
  return quoted + "\"";
}

// Desktop entry values escape backslash and line breaks.
std::string EscapeValue(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '\\') out += "\\\\";
    else if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else out += c;
  }
  return out;
}

std::string FileNameOf(const std::string& title) {
  std::string name;
  for (const char c : title) name += (c == ' ' || c == '/') ? '-' : c;
  return name + ".desktop";
}

}  // namespace

std::filesystem::path AutostartEntryPath(const std::string& title) {
  const std::filesystem::path config = UserConfigFolder();
  if (config.empty()) return {};
  return config / "autostart" / FileNameOf(title);
}

bool SetRunAtStartup(bool enable, const std::string& title, const std::filesystem::path& command) {
  const std::filesystem::path entry = AutostartEntryPath(title);
  if (entry.empty()) return false;
  std::error_code ec;
  if (!enable) {
    std::filesystem::remove(entry, ec);
    return !ec;
  }
  std::filesystem::create_directories(entry.parent_path(), ec);
  if (ec) return false;
  const std::string content = "[Desktop Entry]\n"
                              "Type=Application\n"
                              "Name=" + EscapeValue(title) + "\n"
                              "Exec=" + EscapeValue(QuoteExec(command.string())) + "\n"
                              "Terminal=false\n"
                              "X-GNOME-Autostart-enabled=true\n";
  try {
    WriteFileAtomic(entry, content);
  } catch (const EFileError&) {
    return false;
  }
  return true;
}

}  // namespace zentrix::platform
