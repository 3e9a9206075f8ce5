#include "sysinfo/SysText.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <limits>

namespace zentrix::systext {

bool ReadFileInto(const std::string& path, std::string& buffer, std::size_t maxBytes) {
  buffer.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  // /proc files report size 0, so read in chunks until the end.
  std::size_t used = 0;
  bool ok = true;
  while (used < maxBytes) {
    if (used == buffer.size())
      buffer.resize(std::min(maxBytes, std::max<std::size_t>(4096, 2 * buffer.size())));
    const ssize_t n = ::read(fd, buffer.data() + used, buffer.size() - used);
    if (n < 0) {
      ok = false;
      break;
    }
    if (n == 0) break;
    used += static_cast<std::size_t>(n);
  }
  ::close(fd);
  buffer.resize(used);
  return ok;
}

std::optional<std::string> ReadFile(const std::string& path, std::size_t maxBytes) {
  std::string text;
  if (!ReadFileInto(path, text, maxBytes)) return std::nullopt;
  return text;
}

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) {
      lines.push_back(text);
      break;
    }
    lines.push_back(text.substr(0, end));
    text.remove_prefix(end + 1);
  }
  return lines;
}

std::optional<std::uint64_t> ParseUnsigned(std::string_view text, std::string_view* rest) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (i >= text.size() || !std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
  std::uint64_t value = 0;
  constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
    const unsigned digit = static_cast<unsigned>(text[i] - '0');
    if (value > (kMax - digit) / 10) return std::nullopt;
    value = value * 10 + digit;
    ++i;
  }
  if (rest) *rest = text.substr(i);
  return value;
}

std::optional<std::int64_t> ParseSigned(std::string_view text, std::string_view* rest) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  if (i < text.size() && (text[i] == ' ' || text[i] == '\t')) return std::nullopt;
  const auto magnitude = ParseUnsigned(text.substr(i), rest);
  if (!magnitude || *magnitude > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
    return std::nullopt;
  const auto value = static_cast<std::int64_t>(*magnitude);
  return negative ? -value : value;
}

std::string ToUpper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

std::string ReplaceNoCase(std::string text, std::string_view what, std::string_view with) {
  if (what.empty()) return text;
  std::string result;
  std::size_t i = 0;
  while (i < text.size()) {
    if (i + what.size() <= text.size() && EqualsNoCase(std::string_view(text).substr(i, what.size()), what)) {
      result += with;
      i += what.size();
    } else {
      result += text[i++];
    }
  }
  return result;
}

std::string CollapseBlanks(std::string_view text) {
  std::string result;
  for (char c : Trim(text)) {
    if (c == ' ' && !result.empty() && result.back() == ' ') continue;
    result += c;
  }
  return result;
}

}  // namespace zentrix::systext
