#include "XvfbSession.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>
#include <vector>

extern char** environ;

namespace zentrix::test {
namespace {

using TClock = std::chrono::steady_clock;

pid_t Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv) {
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  std::vector<std::string> envStrings(extraEnv);
  for (char** e = environ; *e; ++e) {
    const std::string entry(*e);
    bool replaced = false;
    for (const std::string& x : extraEnv)
      if (entry.compare(0, x.find('=') + 1, x, 0, x.find('=') + 1) == 0) replaced = true;
    if (!replaced) envStrings.push_back(entry);
  }
  std::vector<char*> env;
  for (std::string& e : envStrings) env.push_back(e.data());
  env.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  // Quiet children: their chatter is not the test's output.
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  if (posix_spawnp(&pid, argv[0].c_str(), &actions, nullptr, args.data(), env.data()) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

void StopProcess(pid_t& pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  const auto deadline = TClock::now() + std::chrono::seconds(5);
  while (waitpid(pid, nullptr, WNOHANG) == 0) {
    if (TClock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  pid = -1;
}

bool Exited(pid_t pid) { return waitpid(pid, nullptr, WNOHANG) == pid; }

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* reply =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
  const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  std::free(reply);
  return atom;
}

// The window manager is at work once it takes on a window: it lists a mapped probe window as
// its client. (It announces itself on the root before its event loop runs.)
bool ManagesAWindow(xcb_connection_t* c, std::chrono::steady_clock::time_point deadline, pid_t& wm) {
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  const xcb_atom_t clientList = Atom(c, "_NET_CLIENT_LIST");
  const xcb_window_t probe = xcb_generate_id(c);
  xcb_create_window(c, XCB_COPY_FROM_PARENT, probe, screen->root, 0, 0, 10, 10, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                    screen->root_visual, 0, nullptr);
  xcb_map_window(c, probe);
  xcb_flush(c);
  bool managed = false;
  while (!managed && !xcb_connection_has_error(c) && TClock::now() < deadline) {
    if (Exited(wm)) {
      wm = -1;  // reaped: nothing left to stop
      break;
    }
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, screen->root, clientList, XCB_ATOM_WINDOW, 0, 1024), nullptr);
    if (reply && reply->type == XCB_ATOM_WINDOW) {
      const auto* w = static_cast<const xcb_window_t*>(xcb_get_property_value(reply));
      const int n = xcb_get_property_value_length(reply) / 4;
      managed = std::find(w, w + n, probe) != w + n;
    }
    std::free(reply);
    if (!managed) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  xcb_destroy_window(c, probe);
  xcb_flush(c);
  return managed;
}

}  // namespace

TXvfbSession::~TXvfbSession() { Stop(); }

bool TXvfbSession::XvfbInstalled() {
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= dirs.size()) {
    std::size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    if (access((dirs.substr(start, end - start) + "/Xvfb").c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

bool TXvfbSession::Start(int width, int height, int timeoutSeconds) {
  // Xvfb picks a free display itself and writes its number to the pipe once it listens.
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    FError = "pipe failed";
    return false;
  }
  const int writeFd = fcntl(fds[1], F_DUPFD, 10);  // without close-on-exec, for Xvfb to inherit
  close(fds[1]);
  FXvfb = Spawn({"Xvfb", "-displayfd", std::to_string(writeFd), "-screen", "0",
                 std::to_string(width) + "x" + std::to_string(height) + "x24", "-nolisten", "tcp", "-noreset"},
                {});
  close(writeFd);
  if (FXvfb < 0) {
    close(fds[0]);
    FError = "Xvfb could not be started";
    return false;
  }
  std::string number;
  const auto deadline = TClock::now() + std::chrono::seconds(timeoutSeconds);
  while (number.empty() || number.back() != '\n') {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TClock::now()).count();
    pollfd p{fds[0], POLLIN, 0};
    if (left <= 0 || poll(&p, 1, static_cast<int>(left)) <= 0) break;
    char buffer[32];
    const ssize_t n = read(fds[0], buffer, sizeof buffer);
    if (n <= 0) break;
    number.append(buffer, static_cast<std::size_t>(n));
  }
  close(fds[0]);
  if (number.empty() || number.back() != '\n') {
    FError = "Xvfb did not report its display in time";
    Stop();
    return false;
  }
  number.pop_back();
  FDisplay = ":" + number;

  FOpenbox = Spawn({"openbox", "--sm-disable"}, {"DISPLAY=" + FDisplay});
  if (FOpenbox < 0) {
    FError = "openbox could not be started";
    Stop();
    return false;
  }
  xcb_connection_t* c = xcb_connect(FDisplay.c_str(), nullptr);
  const bool ready = ManagesAWindow(c, TClock::now() + std::chrono::seconds(timeoutSeconds), FOpenbox);
  xcb_disconnect(c);
  if (!ready) {
    FError = "openbox did not take over the display in time";
    Stop();
    return false;
  }
  return true;
}

void TXvfbSession::Stop() {
  StopProcess(FOpenbox);
  StopProcess(FXvfb);
}

}  // namespace zentrix::test
