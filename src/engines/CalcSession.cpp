#include "engines/CalcSession.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace zentrix {
namespace {

bool IsCommand(const std::string& line, const char* command) {
  std::size_t i = 0;
  for (; command[i] != '\0'; ++i) {
    if (i >= line.size()) return false;
    char c = line[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != command[i]) return false;
  }
  return i == line.size();
}

std::string ReplaceSeparator(std::string text, char decimalSeparator) {
  for (char& c : text)
    if (c == '.') c = decimalSeparator;
  return text;
}

}  // namespace

std::optional<std::int64_t> CalcIntegerPart(double value) {
  const double t = std::trunc(value);
  if (!(t >= -9223372036854775808.0 && t < 9223372036854775808.0)) return std::nullopt;
  return static_cast<std::int64_t>(t);
}

std::string FormatCalcGeneral(double value, char decimalSeparator) {
  if (value == 0) return "0";  // also for -0
  if (!std::isfinite(value)) return std::isnan(value) ? "NAN" : (value > 0 ? "INF" : "-INF");
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.14e", value);  // [-]d.dddddddddddddde[+-]x
  const std::string scientific = buffer;
  const bool negative = scientific[0] == '-';
  const std::size_t first = negative ? 1 : 0;
  const std::size_t ePos = scientific.find('e');
  std::string digits = scientific.substr(first, 1) + scientific.substr(first + 2, ePos - first - 2);
  const int exponent = std::atoi(scientific.c_str() + ePos + 1);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string text = negative ? "-" : "";
  const int integerDigits = exponent + 1;
  if (integerDigits > 15 || integerDigits < -3) {
    text += digits[0];
    if (digits.size() > 1) text += decimalSeparator + digits.substr(1);
    text += 'E';
    text += std::to_string(exponent);
  } else if (integerDigits <= 0) {
    text += '0';
    text += decimalSeparator;
    text += std::string(static_cast<std::size_t>(-integerDigits), '0') + digits;
  } else {
    const auto whole = static_cast<std::size_t>(integerDigits);
    if (digits.size() <= whole) {
      text += digits + std::string(whole - digits.size(), '0');
    } else {
      text += digits.substr(0, whole);
      text += decimalSeparator;
      text += digits.substr(whole);
    }
  }
  return text;
}

std::string FormatCalcFixed(double value, char decimalSeparator) {
  if (value == 0) value = 0;  // no "-0.00"
  const int size = std::snprintf(nullptr, 0, "%.2f", value);
  std::string text(static_cast<std::size_t>(size) + 1, '\0');
  std::snprintf(text.data(), text.size(), "%.2f", value);
  text.pop_back();
  return ReplaceSeparator(text, decimalSeparator);
}

std::string FormatCalcHex(std::int64_t value) {
  char buffer[20];
  std::snprintf(buffer, sizeof buffer, "%llX", static_cast<unsigned long long>(value));
  return buffer;
}

TCalcReply ProcessCalcInput(TCalculator& calculator, TNumConv& converter, const std::string& line,
                            const TInterfaceTexts& texts) {
  TCalcReply reply;
  if (IsCommand(line, "list")) {
    for (std::size_t i = 0; i < calculator.VarCount(); ++i) {
      const auto var = calculator.VarRec(i);
      reply.Lines.push_back({clkVariable, var->Name + "=" + FormatCalcFixed(var->Value)});
    }
    if (reply.Lines.empty()) reply.Lines.push_back({clkVariable, texts.Get("lc_NoVarDefined", "No variable defined")});
    return reply;
  }
  if (IsCommand(line, "clear")) {
    calculator.ClearVars();
    return reply;
  }
  if (IsCommand(line, "cls")) {
    reply.ClearDisplay = true;
    return reply;
  }

  reply.Lines.push_back({clkInput, line});
  try {
    calculator.SetExpression(line);
    const double value = calculator.Result();
    if (const auto n = CalcIntegerPart(value)) {
      converter.SetConvertFrom(10);
      converter.SetConvertTo(2);
      converter.SetValue(std::to_string(*n));
      reply.Lines.push_back({clkBinary, converter.Conversion() ? converter.Result() : converter.ErrorMessage()});
      reply.Lines.push_back({clkHex, FormatCalcHex(*n)});
    }
    reply.Lines.push_back({clkDecimal, FormatCalcGeneral(value)});
  } catch (const EZentrixError& e) {
    reply.Lines.resize(1);
    reply.Lines.push_back({clkError, e.what()});
  }
  return reply;
}

}  // namespace zentrix
