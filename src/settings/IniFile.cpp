#include "settings/IniFile.h"

#include <algorithm>

namespace zentrix {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool SameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return lower(x) == lower(y);
  });
}

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

bool IsQuoted(std::string_view s) { return s.size() >= 2 && s.front() == '"' && s.back() == '"'; }

// Outer blanks would be trimmed away on reading, and outer quotes taken off: such a value is
// written inside a pair of double quotes, as other ini readers expect too.
std::string ToDisk(std::string_view value) {
  if (Trim(value) != value || IsQuoted(value)) return "\"" + std::string(value) + "\"";
  return std::string(value);
}

std::string FromDisk(std::string_view value) {
  if (IsQuoted(value)) value = value.substr(1, value.size() - 2);
  return std::string(value);
}

}  // namespace

TIniFile TIniFile::Parse(std::string_view text) {
  if (text.substr(0, 3) == kByteOrderMark) text.remove_prefix(3);
  TIniFile ini;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    while (!line.empty() && line.back() == '\r') line.remove_suffix(1);

    const std::string_view trimmed = Trim(line);
    if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']') {
      ini.FSections.push_back({std::string(Trim(trimmed.substr(1, trimmed.size() - 2))), true, {}});
      continue;
    }
    if (ini.FSections.empty()) ini.FSections.push_back({"", false, {}});
    TLine entry;
    const std::size_t eq = trimmed.find('=');
    const bool comment = !trimmed.empty() && (trimmed.front() == ';' || trimmed.front() == '#');
    if (eq != std::string_view::npos && eq > 0 && !comment && !Trim(trimmed.substr(0, eq)).empty()) {
      entry.Key = std::string(Trim(trimmed.substr(0, eq)));
      entry.Value = std::string(Trim(trimmed.substr(eq + 1)));
    } else {
      entry.Raw = std::string(line);
    }
    ini.FSections.back().Lines.push_back(std::move(entry));
  }
  return ini;
}

std::string TIniFile::Serialize() const {
  std::string out;
  for (const TSection& section : FSections) {
    if (section.HasHeader) out += "[" + section.Name + "]\n";
    for (const TLine& line : section.Lines) {
      if (line.Key.empty())
        out += line.Raw;
      else
        out += line.Key + "=" + line.Value;
      out += '\n';
    }
  }
  // Text that itself starts like a byte-order mark keeps it only behind a real one.
  if (out.compare(0, 3, kByteOrderMark) == 0) out.insert(0, kByteOrderMark);
  return out;
}

const TIniFile::TSection* TIniFile::Find(std::string_view section) const {
  for (const TSection& s : FSections)
    if (s.HasHeader && SameName(s.Name, section)) return &s;
  return nullptr;
}

TIniFile::TSection* TIniFile::Find(std::string_view section) {
  return const_cast<TSection*>(static_cast<const TIniFile*>(this)->Find(section));
}

std::optional<std::string> TIniFile::Read(std::string_view section, std::string_view key) const {
  const TSection* s = Find(section);
  if (s == nullptr) return std::nullopt;
  for (const TLine& line : s->Lines)
    if (!line.Key.empty() && SameName(line.Key, key)) return FromDisk(line.Value);
  return std::nullopt;
}

bool TIniFile::Write(std::string_view section, std::string_view key, std::string_view value) {
  if (HasLineBreak(section) || section.find(']') != std::string_view::npos || Trim(section) != section)
    return false;
  if (key.empty() || HasLineBreak(key) || key.find('=') != std::string_view::npos || Trim(key) != key ||
      key.front() == ';' || key.front() == '#' || key.front() == '[')
    return false;
  if (HasLineBreak(value)) return false;

  TSection* s = Find(section);
  if (s == nullptr) {
    FSections.push_back({std::string(section), true, {}});
    s = &FSections.back();
  }
  for (TLine& line : s->Lines) {
    if (!line.Key.empty() && SameName(line.Key, key)) {
      line.Value = ToDisk(value);
      return true;
    }
  }
  // New keys go after the last key line, before trailing blank lines that separate sections.
  auto at = s->Lines.end();
  while (at != s->Lines.begin() && std::prev(at)->Key.empty() && Trim(std::prev(at)->Raw).empty()) --at;
  s->Lines.insert(at, TLine{std::string(key), ToDisk(value), {}});
  return true;
}

bool TIniFile::EraseKey(std::string_view section, std::string_view key) {
  TSection* s = Find(section);
  if (s == nullptr) return false;
  const auto it = std::find_if(s->Lines.begin(), s->Lines.end(),
                               [&](const TLine& line) { return !line.Key.empty() && SameName(line.Key, key); });
  if (it == s->Lines.end()) return false;
  s->Lines.erase(it);
  return true;
}

bool TIniFile::EraseSection(std::string_view section) {
  const auto it = std::find_if(FSections.begin(), FSections.end(),
                               [&](const TSection& s) { return s.HasHeader && SameName(s.Name, section); });
  if (it == FSections.end()) return false;
  FSections.erase(it);
  return true;
}

std::vector<std::string> TIniFile::Sections() const {
  std::vector<std::string> names;
  for (const TSection& s : FSections)
    if (s.HasHeader) names.push_back(s.Name);
  return names;
}

std::vector<std::string> TIniFile::Keys(std::string_view section) const {
  std::vector<std::string> keys;
  if (const TSection* s = Find(section))
    for (const TLine& line : s->Lines)
      if (!line.Key.empty()) keys.push_back(line.Key);
  return keys;
}

}  // namespace zentrix
