#pragma once

#include <map>
#include <string>
#include <vector>

namespace zentrix::test {

struct TProcessResult {
  int ExitCode = -1;  // -1 when the process did not exit normally
  std::string Out;
  std::string Err;
};

// Runs a program with arguments (no shell), feeds `input` to its standard input and collects
// both outputs. Extra environment entries are added to the inherited environment. The child is
// killed after `timeoutSeconds`, so a hanging program fails its test instead of the run.
TProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                          const std::string& input = {}, const std::map<std::string, std::string>& env = {},
                          int timeoutSeconds = 60);

// The zentrix-cli built with the tests.
TProcessResult RunCli(const std::vector<std::string>& args, const std::string& input = {},
                      const std::map<std::string, std::string>& env = {});

}  // namespace zentrix::test
