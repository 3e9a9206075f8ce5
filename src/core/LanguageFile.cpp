#include "core/LanguageFile.h"

namespace zentrix {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool IsKeyChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '.' ||
         c == '-';
}

[[noreturn]] void Fail(std::size_t line, const std::string& what) {
  throw ELanguageFileError("Language file line " + std::to_string(line) + ": " + what);
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    int extra = 0;
    unsigned min = 0;
    unsigned code = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      extra = 1, min = 0x80, code = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      extra = 2, min = 0x800, code = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      extra = 3, min = 0x10000, code = c & 0x07;
    } else {
      return false;
    }
    if (i + static_cast<std::size_t>(extra) >= text.size()) return false;
    for (int k = 1; k <= extra; ++k) {
      const auto d = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
      if ((d & 0xC0) != 0x80) return false;
      code = (code << 6) | (d & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += static_cast<std::size_t>(extra) + 1;
  }
  return true;
}

TInterfaceTexts::TTextMap ParseLanguageFile(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  TInterfaceTexts::TTextMap texts;
  std::size_t number = 0;
  while (!text.empty()) {
    ++number;
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!IsValidUtf8(line)) Fail(number, "the text is not UTF-8");

    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == '#' || trimmed.front() == ';') continue;
    const std::size_t eq = trimmed.find('=');
    if (eq == std::string_view::npos) Fail(number, "expected key=value");
    const std::string_view key = Trim(trimmed.substr(0, eq));
    if (key.empty()) Fail(number, "the key is empty");
    for (const char c : key)
      if (!IsKeyChar(c)) Fail(number, "the key may hold only letters, digits, \"_\", \".\" and \"-\"");

    const std::string_view raw = Trim(trimmed.substr(eq + 1));
    std::string value;
    value.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
      if (raw[i] != '\\') {
        value += raw[i];
        continue;
      }
      if (i + 1 == raw.size()) Fail(number, "a backslash ends the value");
      switch (raw[++i]) {
        case 'n': value += '\n'; break;
        case 't': value += '\t'; break;
        case '\\': value += '\\'; break;
        default: Fail(number, "unknown escape \"\\" + std::string(1, raw[i]) + "\"");
      }
    }
    if (!texts.emplace(std::string(key), std::move(value)).second)
      Fail(number, "the key \"" + std::string(key) + "\" is given twice");
  }
  return texts;
}

}  // namespace zentrix
