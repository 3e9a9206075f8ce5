#include "support/RunProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>

namespace zentrix::test {
namespace {

void Check(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(std::string("RunProcess: ") + what + " failed");
}

}  // namespace

TProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                          const std::string& input, const std::map<std::string, std::string>& env,
                          int timeoutSeconds) {
  int inPipe[2], outPipe[2], errPipe[2];
  Check(pipe2(inPipe, O_CLOEXEC) == 0 && pipe2(outPipe, O_CLOEXEC) == 0 && pipe2(errPipe, O_CLOEXEC) == 0, "pipe");
  const pid_t pid = fork();
  Check(pid >= 0, "fork");
  if (pid == 0) {
    dup2(inPipe[0], 0);
    dup2(outPipe[1], 1);
    dup2(errPipe[1], 2);
    for (const auto& [key, value] : env) setenv(key.c_str(), value.c_str(), 1);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(inPipe[0]);
  close(outPipe[1]);
  close(errPipe[1]);
  signal(SIGPIPE, SIG_IGN);

  TProcessResult result;
  std::size_t written = 0;
  int inFd = inPipe[1];
  if (input.empty()) {
    close(inFd);
    inFd = -1;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
  bool outOpen = true, errOpen = true, timedOut = false;
  while (outOpen || errOpen) {
    pollfd fds[3];
    int n = 0;
    if (outOpen) fds[n++] = {outPipe[0], POLLIN, 0};
    if (errOpen) fds[n++] = {errPipe[0], POLLIN, 0};
    if (inFd >= 0) fds[n++] = {inFd, POLLOUT, 0};
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      timedOut = true;
      break;
    }
    if (poll(fds, n, static_cast<int>(left.count())) < 0) continue;
    for (int i = 0; i < n; ++i) {
      if (fds[i].revents == 0) continue;
      if (fds[i].fd == inFd) {
        const ssize_t w = write(inFd, input.data() + written, input.size() - written);
        if (w > 0) written += static_cast<std::size_t>(w);
        if (w < 0 || written == input.size()) {
          close(inFd);
          inFd = -1;
        }
        continue;
      }
      char buffer[65536];
      const ssize_t r = read(fds[i].fd, buffer, sizeof buffer);
      const bool isOut = fds[i].fd == outPipe[0];
      if (r <= 0) {
        (isOut ? outOpen : errOpen) = false;
      } else {
        (isOut ? result.Out : result.Err).append(buffer, static_cast<std::size_t>(r));
      }
    }
  }
  if (inFd >= 0) close(inFd);
  close(outPipe[0]);
  close(errPipe[0]);
  if (timedOut) kill(pid, SIGKILL);
  int status = 0;
  waitpid(pid, &status, 0);
  result.ExitCode = (!timedOut && WIFEXITED(status)) ? WEXITSTATUS(status) : -1;
  return result;
}

TProcessResult RunCli(const std::vector<std::string>& args, const std::string& input,
                      const std::map<std::string, std::string>& env) {
  return RunProcess(ZENTRIX_CLI, args, input, env);
}

}  // namespace zentrix::test
