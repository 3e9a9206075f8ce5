#include "platform/Environment.h"

#include <unistd.h>

#include <cstdlib>
#include <system_error>

namespace zentrix::platform {
namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

// An XDG base folder: the variable when it holds an absolute path, else HOME + fallback.
std::filesystem::path XdgFolder(const char* variable, const char* fallback) {
  const std::string value = Env(variable);
  if (!value.empty() && value.front() == '/') return value;
  const std::string home = Env("HOME");
  if (home.empty()) return {};
  return std::filesystem::path(home) / fallback;
}

}  // namespace

std::filesystem::path ProgramPath() {
  std::error_code ec;
  std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::path() : path;
}

std::filesystem::path UserDataFolder() { return XdgFolder("XDG_DATA_HOME", ".local/share"); }
std::filesystem::path UserConfigFolder() { return XdgFolder("XDG_CONFIG_HOME", ".config"); }

std::filesystem::path UserRuntimeFolder() {
  const std::string value = Env("XDG_RUNTIME_DIR");
  if (!value.empty() && value.front() == '/') return value;
  std::error_code ec;
  std::filesystem::path folder =
      std::filesystem::temp_directory_path(ec) / ("zentrix-runtime-" + std::to_string(::getuid()));
  if (ec) return {};
  std::filesystem::create_directory(folder, ec);
  std::filesystem::permissions(folder, std::filesystem::perms::owner_all, ec);
  return folder;
}

std::string UserLocaleName() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    std::string value = Env(name);
    if (!value.empty()) return value;
  }
  return {};
}

}  // namespace zentrix::platform
