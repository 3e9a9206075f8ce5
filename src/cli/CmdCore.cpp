#include <ostream>

#include "cli/CliArgs.h"
#include "cli/CliCommand.h"
#include "core/FormatDuration.h"

namespace zentrix::cli {
namespace {

int RunDuration(const std::vector<std::string>& args, TCliIo& io) {
  ExpectArgCount(args, 1, 1);
  const double seconds = ParseReal(args[0], "SECONDS");
  if (seconds < 0) throw EUsage("SECONDS must not be negative");
  io.Out << FormatDuration(seconds) << '\n';
  return 0;
}

const TCliRegistrar kDuration({"duration", "SECONDS", "The uptime panel's duration text of a number of seconds.",
                               RunDuration});

}  // namespace
}  // namespace zentrix::cli
