#pragma once

#include <string_view>

namespace zentrix {

// The spreadsheet's settings section; the other tool windows' sections are in
// settings/BarSettings.h.
inline constexpr std::string_view kSpreadsheetStoragePath = "电子表格";

}  // namespace zentrix
