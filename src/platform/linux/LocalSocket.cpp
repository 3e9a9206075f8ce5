#include "platform/LocalSocket.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace zentrix::platform {

namespace {

bool AddressOf(const std::filesystem::path& path, sockaddr_un& address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  const std::string& name = path.native();
  if (name.empty() || name.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, name.c_str(), name.size() + 1);
  return true;
}

}  // namespace

TLocalListener::~TLocalListener() { Close(); }

bool TLocalListener::Listen(const std::filesystem::path& path) {
  Close();
  sockaddr_un address;
  if (!AddressOf(path, address)) return false;
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  ::unlink(path.c_str());
  // Only this user may connect: the socket is made without rights for group and others.
  const mode_t before = ::umask(0077);
  const bool bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  ::umask(before);
  if (!bound || ::listen(fd, 8) != 0) {
    ::close(fd);
    return false;
  }
  FFd = fd;
  FPath = path;
  return true;
}

int TLocalListener::Accept() const {
  if (FFd < 0) return -1;
  return ::accept4(FFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
}

void TLocalListener::Close() {
  if (FFd < 0) return;
  ::close(FFd);
  ::unlink(FPath.c_str());
  FFd = -1;
  FPath.clear();
}

bool SendToLocalListener(const std::filesystem::path& path, std::string_view bytes, int timeoutMs) {
  sockaddr_un address;
  if (!AddressOf(path, address)) return false;
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  // A listener whose queue is full (it is busy starting) gets until the deadline to take us.
  while (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    if ((errno != EAGAIN && errno != EINTR) || Clock::now() >= deadline) {
      ::close(fd);
      return false;
    }
    ::usleep(10000);
  }
  bool sent = true;
  while (!bytes.empty()) {
    pollfd p{fd, POLLOUT, 0};
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0 || ::poll(&p, 1, static_cast<int>(left)) <= 0) {
      sent = false;
      break;
    }
    const ssize_t n = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n < 0) {
      if (errno == EAGAIN || errno == EINTR) continue;
      sent = false;
      break;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  ::close(fd);
  return sent;
}

TLocalRead ReadLocalConnection(int fd, std::string& buffer, std::size_t limit) {
  char chunk[4096];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n == 0) return TLocalRead::lrEnd;
    if (n < 0) return (errno == EAGAIN || errno == EINTR) ? TLocalRead::lrMore : TLocalRead::lrError;
    if (buffer.size() + static_cast<std::size_t>(n) > limit) return TLocalRead::lrError;
    buffer.append(chunk, static_cast<std::size_t>(n));
  }
}

void CloseLocalConnection(int fd) {
  if (fd >= 0) ::close(fd);
}

}  // namespace zentrix::platform
