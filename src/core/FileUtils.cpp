#include "core/FileUtils.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace zentrix {
namespace {

std::string ErrorText(const char* what, const std::filesystem::path& file, int error) {
  return std::string(what) + " \"" + file.string() + "\": " + std::strerror(error);
}

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// A temporary file beside the target, opened for writing; the name is returned in temp.
int OpenTempBeside(const std::filesystem::path& file, std::string& temp) {
  std::filesystem::path folder = file.parent_path();
  if (folder.empty()) folder = ".";
  temp = (folder / ("." + file.filename().string() + ".tmp-XXXXXX")).string();
  return ::mkstemp(temp.data());
}

}  // namespace

void WriteFileAtomic(const std::filesystem::path& file, std::string_view content) {
  std::string temp;
  const int fd = OpenTempBeside(file, temp);
  if (fd < 0) throw EFileError(ErrorText("Cannot write", file, errno));
  // mkstemp gives 0600; a settings file is an ordinary user file.
  ::fchmod(fd, 0644);
  const bool written = WriteAll(fd, content.data(), content.size()) && ::fsync(fd) == 0;
  const int writeError = errno;
  if (::close(fd) != 0 || !written) {
    ::unlink(temp.c_str());
    throw EFileError(ErrorText("Cannot write", file, written ? errno : writeError));
  }
  if (std::rename(temp.c_str(), file.c_str()) != 0) {
    const int error = errno;
    ::unlink(temp.c_str());
    throw EFileError(ErrorText("Cannot replace", file, error));
  }
}

std::string ReadFileBytes(const std::filesystem::path& file, std::size_t maxBytes) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw EFileError(ErrorText("Cannot read", file, errno));
  std::string result;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      ::close(fd);
      throw EFileError(ErrorText("Cannot read", file, error));
    }
    if (n == 0) break;
    if (result.size() + static_cast<std::size_t>(n) > maxBytes) {
      ::close(fd);
      throw EFileError("Cannot read \"" + file.string() + "\": the file is too large");
    }
    result.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return result;
}

bool CopyFileContents(const std::filesystem::path& source, const std::filesystem::path& target) {
  const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  std::error_code ec;
  const std::filesystem::path full = std::filesystem::absolute(target, ec);
  if (ec) {
    ::close(in);
    return false;
  }
  std::string temp;
  const int out = OpenTempBeside(full, temp);
  if (out < 0) {
    ::close(in);
    return false;
  }
  ::fchmod(out, 0644);
  std::vector<char> chunk(64 * 1024);
  bool ok = true;
  for (;;) {
    const ssize_t n = ::read(in, chunk.data(), chunk.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ok = false;
      break;
    }
    if (n == 0) break;
    if (!WriteAll(out, chunk.data(), static_cast<std::size_t>(n))) {
      ok = false;
      break;
    }
  }
  ::close(in);
  ok = ::fsync(out) == 0 && ok;
  ok = ::close(out) == 0 && ok;
  if (ok && std::rename(temp.c_str(), full.c_str()) == 0) return true;
  ::unlink(temp.c_str());
  return false;
}

}  // namespace zentrix
