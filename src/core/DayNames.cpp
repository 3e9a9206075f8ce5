#include "core/DayNames.h"

namespace zentrix {

int DayIndex(TDateTime date) {
  const TDateParts parts = DecodeDateTime(DateOf(date));
  int index = DayOfYear(date);
  if (!IsLeapYear(parts.Year) && parts.Month > 2) ++index;
  return index;
}

std::string DayNameValue(std::string_view line) {
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return {};
  std::string_view value = line.substr(eq + 1);
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!value.empty() && blank(value.front())) value.remove_prefix(1);
  while (!value.empty() && blank(value.back())) value.remove_suffix(1);
  return std::string(value);
}

std::string GetName(const std::vector<std::string>& names, TDateTime date, const TInterfaceTexts& texts) {
  const int index = DayIndex(date);
  if (index >= 1 && static_cast<std::size_t>(index) <= names.size()) {
    std::string value = DayNameValue(names[static_cast<std::size_t>(index) - 1]);
    if (!value.empty()) return value;
  }
  return texts.Get("lc_Day", "Day") + " " + std::to_string(index);
}

std::vector<std::string> SplitDayNames(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  std::vector<std::string> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

std::string JoinDayNames(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& line : names) text += line + "\n";
  return text;
}

}  // namespace zentrix
