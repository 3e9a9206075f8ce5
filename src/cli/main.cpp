#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "cli/CliCommand.h"
#include "core/BuildInfo.h"

namespace zentrix::cli {
namespace {

std::vector<TCliCommand>& Registry() {
  static std::vector<TCliCommand> commands;
  return commands;
}

void PrintHelp(std::ostream& out) {
  out << "Usage: zentrix-cli COMMAND [ARGS...]\n"
         "       zentrix-cli --help | --version\n\n"
         "The engines of the Zentrix desktop bar on the command line.\n\n"
         "Commands:\n";
  std::vector<TCliCommand> commands = Registry();
  std::sort(commands.begin(), commands.end(),
            [](const TCliCommand& a, const TCliCommand& b) { return std::string(a.Name) < b.Name; });
  for (const TCliCommand& c : commands) {
    out << "  " << c.Name;
    if (*c.Usage) out << ' ' << c.Usage;
    out << "\n      " << c.Summary << '\n';
  }
}

int Main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  TCliIo io{std::cin, std::cout, std::cerr};
  if (args.empty()) {
    std::cerr << "zentrix-cli: missing command (try --help)\n";
    return 2;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    PrintHelp(std::cout);
    return 0;
  }
  if (args[0] == "--version") {
    std::cout << "zentrix-cli " << kVersion << '\n';
    return 0;
  }
  const auto& commands = Registry();
  const auto command = std::find_if(commands.begin(), commands.end(),
                                    [&](const TCliCommand& c) { return args[0] == c.Name; });
  if (command == commands.end()) {
    std::cerr << "zentrix-cli: unknown command '" << args[0] << "' (try --help)\n";
    return 2;
  }
  args.erase(args.begin());
  try {
    return command->Run(args, io);
  } catch (const EUsage& e) {
    std::cerr << "zentrix-cli " << command->Name << ": " << e.what() << " (usage: zentrix-cli " << command->Name
              << ' ' << command->Usage << ")\n";
    return 2;
  } catch (const std::exception& e) {
    std::cerr << e.what() << '\n';
    return 1;
  }
}

}  // namespace

TCliRegistrar::TCliRegistrar(const TCliCommand& command) { Registry().push_back(command); }

const std::vector<TCliCommand>& RegisteredCommands() { return Registry(); }

}  // namespace zentrix::cli

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  return zentrix::cli::Main(argc, argv);
}
