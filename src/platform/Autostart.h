#pragma once

#include <filesystem>
#include <string>

namespace zentrix::platform {

// Where the log-on entry named after title lives ("Valtri Zentrix" gives
// <config>/autostart/Valtri-Zentrix.desktop on Linux).
std::filesystem::path AutostartEntryPath(const std::string& title);

// Registers command to run at log-on under the name title (enable), or removes that entry.
// Nothing happens when the entry's folder cannot be created or written: the program runs on
// without it. Returns whether the entry now is as asked.
bool SetRunAtStartup(bool enable, const std::string& title, const std::filesystem::path& command);

}  // namespace zentrix::platform
