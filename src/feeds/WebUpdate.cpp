#include "feeds/WebUpdate.h"

#include <charconv>
#include <cstdint>
#include <vector>

namespace zentrix {
namespace {

std::size_t FindNoCase(std::string_view text, std::string_view what) {
  if (what.size() > text.size()) return std::string_view::npos;
  for (std::size_t i = 0; i + what.size() <= text.size(); ++i) {
    bool match = true;
    for (std::size_t j = 0; j < what.size() && match; ++j) {
      char c = text[i + j];
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
      match = c == what[j];
    }
    if (match) return i;
  }
  return std::string_view::npos;
}

// The text from start to the next double quote; false when no quote closes it.
bool Quoted(std::string_view line, std::size_t start, std::string& value) {
  if (start > line.size()) return false;
  const std::size_t end = line.find('"', start);
  if (end == std::string_view::npos) return false;
  value = line.substr(start, end - start);
  return true;
}

std::int64_t VersionPart(std::string_view part) {
  std::int64_t value = 0;
  const auto [end, ec] = std::from_chars(part.data(), part.data() + part.size(), value);
  if (part.empty() || ec != std::errc() || end != part.data() + part.size()) return 0;
  return value;
}

std::vector<std::int64_t> VersionParts(std::string_view version) {
  std::vector<std::int64_t> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t dot = version.find('.', start);
    parts.push_back(VersionPart(version.substr(start, dot == std::string_view::npos ? version.npos : dot - start)));
    if (dot == std::string_view::npos) break;
    start = dot + 1;
  }
  return parts;
}

std::string WithScheme(const std::string& address) {
  const auto starts = [&address](std::string_view prefix) {
    return FindNoCase(std::string_view(address).substr(0, prefix.size()), prefix) == 0;
  };
  return starts("HTTP://") || starts("HTTPS://") ? address : "http://" + address;
}

}  // namespace

TUpdatePage ParseUpdatePage(std::string_view bytes) {
  TUpdatePage page;
  const std::string text = DecodeAnswerText(bytes);
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    const std::string_view line = std::string_view(text).substr(start, end - start);
    start = end + 1;

    const std::size_t meta = line.find("META NAME");
    if (meta == std::string_view::npos) continue;
    std::string name, value;
    if (!Quoted(line, meta + 11, name)) continue;
    const std::size_t content = FindNoCase(line, "CONTENT=");
    if (content == std::string_view::npos || !Quoted(line, content + 9, value)) continue;
    if (name == kProductNameTag) page.ProductName = value;
    if (name == kVersionTag) page.Version = value;
    if (name == kRedirectionTag) page.Redirection = value;
  }
  return page;
}

bool IsNewerVersion(std::string_view published, std::string_view current) {
  const std::vector<std::int64_t> a = VersionParts(published);
  const std::vector<std::int64_t> b = VersionParts(current);
  for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
    const std::int64_t x = i < a.size() ? a[i] : 0;
    const std::int64_t y = i < b.size() ? b[i] : 0;
    if (x != y) return x > y;
  }
  return false;
}

TUpdateCheck CheckForUpdate(const std::string& address, const std::string& currentVersion,
                            const THttpOptions& options) {
  TUpdateCheck check;
  std::string next = WithScheme(address);
  TUpdatePage page;
  // A page may hand over to another; a chain that does not end is a failed check, not a loop.
  for (int hop = 0;; ++hop) {
    std::string body;
    if (!HttpGet(next, {}, {}, body, 0, options)) return check;
    page = ParseUpdatePage(body);
    if (page.Redirection.empty()) break;
    if (hop == kMaxUpdateRedirections) return check;
    next = WithScheme(page.Redirection);
  }
  if (page.ProductName.empty() || page.Version.empty()) return check;
  check.NewVersion = page.Version;
  check.Outcome =
      IsNewerVersion(page.Version, currentVersion) ? TUpdateOutcome::uoUpdateAvailable : TUpdateOutcome::uoNoUpdate;
  return check;
}

}  // namespace zentrix
