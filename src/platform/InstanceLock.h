#pragma once

#include <filesystem>

namespace zentrix::platform {

// An advisory lock on a file that marks the one running instance of a program in a session.
// The system drops the lock when its holder ends, however it ends, so a crashed run never
// blocks the next start. Taking a lock another process holds changes no file.
class TInstanceLock {
public:
  TInstanceLock() = default;
  ~TInstanceLock();
  TInstanceLock(const TInstanceLock&) = delete;
  TInstanceLock& operator=(const TInstanceLock&) = delete;

  enum class TResult { lrAcquired, lrHeldElsewhere, lrFailed };
  // Takes the lock on file (created when missing). lrFailed: the file cannot be opened at all.
  TResult TryAcquire(const std::filesystem::path& file);
  bool Held() const { return FFd >= 0; }
  void Release();

private:
  int FFd = -1;
};

}  // namespace zentrix::platform
