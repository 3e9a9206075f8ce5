#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zentrix {

// An ini document in memory: "[section]" header lines, each followed by "key=value" lines.
// Parsing never fails: a line that is neither a header nor "key=value" (comments, stray text)
// is kept as it stands and written back unchanged, so a file a person edited keeps its notes.
// Section and key names compare without regard to ASCII case; other characters (the Chinese
// section names) compare exactly. Text is UTF-8; a leading byte-order mark is dropped. Values
// are trimmed, and a value in double quotes loses them ("  a " keeps its blanks).
class TIniFile {
public:
  static TIniFile Parse(std::string_view text);
  std::string Serialize() const;

  // The value of the first line with that key, or nothing when section or key are missing.
  std::optional<std::string> Read(std::string_view section, std::string_view key) const;
  // Replaces the value, or appends the key to the section (created at the end when missing).
  // Names and values must fit on one line and keep their meaning when read back: returns false
  // (and changes nothing) for a line break, a key with "=" or leading/trailing blanks, or a
  // section name with "]". A value with outer blanks or outer quotes is written quoted.
  bool Write(std::string_view section, std::string_view key, std::string_view value);
  bool EraseKey(std::string_view section, std::string_view key);
  bool EraseSection(std::string_view section);

  std::vector<std::string> Sections() const;
  std::vector<std::string> Keys(std::string_view section) const;

private:
  struct TLine {
    std::string Key;  // empty: a line kept as Raw
    std::string Value;
    std::string Raw;
  };
  struct TSection {
    std::string Name;
    bool HasHeader = true;  // false for lines before the first header
    std::vector<TLine> Lines;
  };

  const TSection* Find(std::string_view section) const;
  TSection* Find(std::string_view section);

  std::vector<TSection> FSections;
};

}  // namespace zentrix
