#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "core/Exceptions.h"

namespace zentrix::cli {

// A wrong command line: the program prints the message on one line and exits with status 2.
class EUsage : public EZentrixError {
public:
  using EZentrixError::EZentrixError;
};

struct TCliIo {
  std::istream& In;
  std::ostream& Out;
  std::ostream& Err;
};

// Returns the exit status. Engine errors may escape as EZentrixError (status 1).
using TCliHandler = int (*)(const std::vector<std::string>& args, TCliIo& io);

struct TCliCommand {
  const char* Name;
  const char* Usage;    // the arguments, e.g. "FROM TO VALUE"
  const char* Summary;  // one line for --help
  TCliHandler Run;
};

// Each command file registers its commands with a static registrar; the executable links every
// object file, so none is dropped.
class TCliRegistrar {
public:
  explicit TCliRegistrar(const TCliCommand& command);
};

const std::vector<TCliCommand>& RegisteredCommands();

}  // namespace zentrix::cli
