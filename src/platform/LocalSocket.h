#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace zentrix::platform {

// A listening stream socket on a path in the file system, reachable only by this user.
class TLocalListener {
public:
  TLocalListener() = default;
  ~TLocalListener();
  TLocalListener(const TLocalListener&) = delete;
  TLocalListener& operator=(const TLocalListener&) = delete;

  // Replaces whatever socket file path names (one left by a run that crashed) and listens there.
  bool Listen(const std::filesystem::path& path);
  // The descriptor to watch for connections; -1 when not listening.
  int Fd() const { return FFd; }
  // A waiting connection, non-blocking, or -1 when none waits. The caller closes it.
  int Accept() const;
  void Close();

private:
  int FFd = -1;
  std::filesystem::path FPath;
};

// Connects to the listener at path and sends bytes, then closes; false when nobody listens or
// the whole message could not be sent within timeoutMs.
bool SendToLocalListener(const std::filesystem::path& path, std::string_view bytes, int timeoutMs);

// Reads what a non-blocking connection has: appends to buffer, up to limit bytes in all. The
// result says whether the peer has finished sending, is still sending, or failed.
enum class TLocalRead { lrMore, lrEnd, lrError };
TLocalRead ReadLocalConnection(int fd, std::string& buffer, std::size_t limit);
void CloseLocalConnection(int fd);

}  // namespace zentrix::platform
