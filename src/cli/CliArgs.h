#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/DateTime.h"

namespace zentrix::cli {

// Strict parsers for positional arguments; each raises EUsage naming `what` on bad input.
// Negative numbers are ordinary values here, never options.
std::int64_t ParseInteger(const std::string& text, const char* what);
double ParseReal(const std::string& text, const char* what);
TDateTime ParseInstant(const std::string& text, const char* what);

void ExpectArgCount(const std::vector<std::string>& args, std::size_t min, std::size_t max);

// Removes every "--name" flag from args and reports whether one was there.
bool TakeFlag(std::vector<std::string>& args, const std::string& name);
// Removes "--name VALUE" (or "--name=VALUE") from args and returns VALUE.
std::optional<std::string> TakeOption(std::vector<std::string>& args, const std::string& name);

}  // namespace zentrix::cli
