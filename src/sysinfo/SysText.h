#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Small text helpers shared by the readers of /proc, /sys and /etc files.
namespace zentrix::systext {

// The whole file, or nothing when it cannot be opened. Reads at most maxBytes, so a
// pathological file cannot exhaust memory.
std::optional<std::string> ReadFile(const std::string& path, std::size_t maxBytes = 1 << 20);

// Like ReadFile, but into a caller's buffer (no allocation once the buffer has grown).
bool ReadFileInto(const std::string& path, std::string& buffer, std::size_t maxBytes = 1 << 20);

std::string_view Trim(std::string_view text);

// Splits at '\n'; a final line without '\n' counts too.
std::vector<std::string_view> SplitLines(std::string_view text);

// Unsigned decimal at the start of text (after blanks); nothing when there is no digit or it
// overflows. `rest` receives what follows.
std::optional<std::uint64_t> ParseUnsigned(std::string_view text, std::string_view* rest = nullptr);
std::optional<std::int64_t> ParseSigned(std::string_view text, std::string_view* rest = nullptr);

std::string ToUpper(std::string text);
bool EqualsNoCase(std::string_view a, std::string_view b);
// Replaces every occurrence of `what` (compared ignoring ASCII case) by `with`.
std::string ReplaceNoCase(std::string text, std::string_view what, std::string_view with);
// Shortens every run of blanks to one blank and trims both ends.
std::string CollapseBlanks(std::string_view text);

}  // namespace zentrix::systext
