#include "platform/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace zentrix::platform {

TInstanceLock::~TInstanceLock() { Release(); }

TInstanceLock::TResult TInstanceLock::TryAcquire(const std::filesystem::path& file) {
  if (FFd >= 0) return TResult::lrAcquired;
  // Opened without O_TRUNC and never written: a second instance leaves the file as it is.
  const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return TResult::lrFailed;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const bool busy = errno == EWOULDBLOCK;
    ::close(fd);
    return busy ? TResult::lrHeldElsewhere : TResult::lrFailed;
  }
  FFd = fd;
  return TResult::lrAcquired;
}

void TInstanceLock::Release() {
  if (FFd < 0) return;
  ::flock(FFd, LOCK_UN);
  ::close(FFd);
  FFd = -1;
}

}  // namespace zentrix::platform
