#pragma once

#include <filesystem>
#include <string>

namespace zentrix::platform {

// The user's folders and the running program, as the desktop defines them (XDG on Linux).
// Each gives an empty path when it cannot be found.

// Full path of the running program file.
std::filesystem::path ProgramPath();
// Per-user data ($XDG_DATA_HOME, else ~/.local/share).
std::filesystem::path UserDataFolder();
// Per-user configuration ($XDG_CONFIG_HOME, else ~/.config).
std::filesystem::path UserConfigFolder();
// Per-session runtime files ($XDG_RUNTIME_DIR, else a private folder under the temporary folder).
std::filesystem::path UserRuntimeFolder();

// The user's interface language from LC_ALL, LC_MESSAGES or LANG (the first that is set and not
// empty), as the raw locale name ("cs_CZ.UTF-8"); empty when none is set.
std::string UserLocaleName();

}  // namespace zentrix::platform
