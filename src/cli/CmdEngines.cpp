#include <iostream>
#include <iterator>
#include <map>
#include <string>

#include "cli/CliArgs.h"
#include "cli/CliCommand.h"
#include "engines/CalcSession.h"
#include "engines/NumConv.h"
#include "engines/Valtri_CRC.h"
#include "engines/Valtri_StrFormat.h"

namespace zentrix::cli {
namespace {

// Converter messages end each text with a carriage return; on a terminal, one text a line.
std::string MessageLines(std::string message) {
  while (!message.empty() && (message.back() == '\r' || message.back() == '\n')) message.pop_back();
  for (char& c : message)
    if (c == '\r') c = '\n';
  return message;
}

// Prints the result list as the window shows it: ">" before the input, "=" and a tag before
// each value line.
int RunCalc(const std::vector<std::string>& args, TCliIo& io) {
  if (args.empty()) throw EUsage("missing arguments");
  TCalculator calculator;
  TNumConv converter;
  int status = 0;
  for (const std::string& line : args) {
    const TCalcReply reply = ProcessCalcInput(calculator, converter, line);
    for (const TCalcLine& l : reply.Lines) {
      switch (l.Kind) {
        case clkInput: io.Out << "> " << l.Text << '\n'; break;
        case clkVariable: io.Out << l.Text << '\n'; break;
        case clkBinary: io.Out << "= [bin] " << MessageLines(l.Text) << '\n'; break;
        case clkHex: io.Out << "= [hex] " << l.Text << '\n'; break;
        case clkDecimal: io.Out << "= [dec] " << l.Text << '\n'; break;
        case clkError:
          io.Out.flush();
          io.Err << l.Text << '\n';
          status = 1;
          break;
      }
    }
  }
  return status;
}

int RunNumConv(const std::vector<std::string>& args, TCliIo& io) {
  ExpectArgCount(args, 3, 3);
  const std::int64_t from = ParseInteger(args[0], "FROM");
  const std::int64_t to = ParseInteger(args[1], "TO");
  TNumConv converter;
  // The value first: a base refused after it keeps its own error code.
  converter.SetValue(args[2]);
  converter.SetConvertFrom(from);
  converter.SetConvertTo(to);
  if (!converter.Conversion()) {
    io.Err << MessageLines(converter.ErrorMessage()) << '\n';
    return 1;
  }
  io.Out << converter.Result() << '\n';
  return 0;
}

int FormatId(const std::string& name, const std::map<std::string, int>& formats) {
  const auto it = formats.find(name);
  if (it == formats.end()) throw EUsage("unknown format '" + name + "'");
  return it->second;
}

int RunEncode(const std::vector<std::string>& args, TCliIo& io) {
  ExpectArgCount(args, 1, 1);
  const int id = FormatId(args[0], {{"hex", kFormatHex},
                                    {"hexl", kFormatHexLower},
                                    {"mime64", kFormatMime64},
                                    {"uu", kFormatUU},
                                    {"xx", kFormatXX}});
  const std::string input{std::istreambuf_iterator<char>(io.In), std::istreambuf_iterator<char>()};
  io.Out << EncodeBytes(input, id) << '\n';
  return 0;
}

int RunHash(const std::vector<std::string>& arguments, TCliIo& io) {
  std::vector<std::string> args = arguments;
  const auto format = TakeOption(args, "--format");
  const auto text = TakeOption(args, "--text");
  const auto file = TakeOption(args, "--file");
  if (!args.empty()) throw EUsage("unexpected argument '" + args[0] + "'");
  if (text.has_value() == file.has_value()) throw EUsage("give either --text or --file");
  const int id = FormatId(format.value_or("hex"),
                          {{"hex", kFormatHex}, {"mime64", kFormatMime64}, {"uu", kFormatUU}, {"xx", kFormatXX}});
  const THashTexts hashes = text ? HashText(*text, id) : HashFile(*file, id);
  io.Out << "CRC32: " << hashes.Crc32 << "\nMD5: " << hashes.Md5 << "\nSHA-1: " << hashes.Sha1 << '\n';
  return 0;
}

const TCliRegistrar kCalc({"calc", "LINE...",
                           "Evaluates each line in one calculator (variables carry over), as the calculator "
                           "window lists it; list, clear and cls are its commands.",
                           RunCalc});
const TCliRegistrar kNumConv({"numconv", "FROM TO VALUE", "Converts VALUE from base FROM to base TO (2 to 36).",
                              RunNumConv});
const TCliRegistrar kEncode({"encode", "hex|hexl|mime64|uu|xx", "Encodes standard input.", RunEncode});
const TCliRegistrar kHash({"hash", "[--format hex|mime64|uu|xx] (--text TEXT | --file PATH)",
                           "CRC32, MD5 and SHA-1 of a text (as UTF-16LE) or of a file's bytes.", RunHash});

}  // namespace
}  // namespace zentrix::cli
