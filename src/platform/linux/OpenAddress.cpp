#include "platform/OpenAddress.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <array>
#include <cctype>
#include <string_view>

extern char** environ;

namespace zentrix {

bool IsOpenableAddress(const std::string& url) {
  static constexpr std::array<std::string_view, 4> kSchemes = {"http://", "https://", "mailto:", "file://"};
  if (std::any_of(url.begin(), url.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }))
    return false;
  for (std::string_view scheme : kSchemes) {
    if (url.size() <= scheme.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < scheme.size(); ++i)
      same = same && std::tolower(static_cast<unsigned char>(url[i])) == scheme[i];
    if (same) return true;
  }
  return false;
}

bool OpenAddress(const std::string& url) {
  if (!IsOpenableAddress(url)) return false;
  // Double fork: the handler is adopted by init, so we neither wait for it nor leave a zombie.
  const pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    setsid();
    const int null = open("/dev/null", O_RDWR);
    if (null >= 0) {
      dup2(null, 0);
      dup2(null, 1);
      dup2(null, 2);
    }
    pid_t handler = -1;
    char* argv[] = {const_cast<char*>("xdg-open"), const_cast<char*>(url.c_str()), nullptr};
    const int error = posix_spawnp(&handler, "xdg-open", nullptr, nullptr, argv, environ);
    _exit(error == 0 ? 0 : 127);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace zentrix
