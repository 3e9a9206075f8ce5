#include "cli/CliArgs.h"

#include <charconv>
#include <cmath>

#include "cli/CliCommand.h"

namespace zentrix::cli {

std::int64_t ParseInteger(const std::string& text, const char* what) {
  std::int64_t value = 0;
  const char* last = text.data() + text.size();
  const auto [end, ec] = std::from_chars(text.data(), last, value);
  if (text.empty() || ec != std::errc() || end != last)
    throw EUsage(std::string("invalid ") + what + ": '" + text + "'");
  return value;
}

double ParseReal(const std::string& text, const char* what) {
  double value = 0;
  const char* last = text.data() + text.size();
  const auto [end, ec] = std::from_chars(text.data(), last, value);
  if (text.empty() || ec != std::errc() || end != last || !std::isfinite(value))
    throw EUsage(std::string("invalid ") + what + ": '" + text + "'");
  return value;
}

TDateTime ParseInstant(const std::string& text, const char* what) {
  TDateTime value = 0;
  if (!TryParseDateTime(text, value)) throw EUsage(std::string("invalid ") + what + ": '" + text + "'");
  return value;
}

void ExpectArgCount(const std::vector<std::string>& args, std::size_t min, std::size_t max) {
  if (args.size() < min) throw EUsage("missing arguments");
  if (args.size() > max) throw EUsage("too many arguments");
}

bool TakeFlag(std::vector<std::string>& args, const std::string& name) {
  bool found = false;
  for (auto it = args.begin(); it != args.end();) {
    if (*it == name) {
      it = args.erase(it);
      found = true;
    } else {
      ++it;
    }
  }
  return found;
}

std::optional<std::string> TakeOption(std::vector<std::string>& args, const std::string& name) {
  std::optional<std::string> value;
  for (auto it = args.begin(); it != args.end();) {
    if (*it == name) {
      if (it + 1 == args.end()) throw EUsage(name + " needs a value");
      value = *(it + 1);
      it = args.erase(it, it + 2);
    } else if (it->rfind(name + "=", 0) == 0) {
      value = it->substr(name.size() + 1);
      it = args.erase(it);
    } else {
      ++it;
    }
  }
  return value;
}

}  // namespace zentrix::cli
