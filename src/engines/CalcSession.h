#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/InterfaceTexts.h"
#include "engines/ExprCalc.h"
#include "engines/NumConv.h"

namespace zentrix {

// The kinds of lines in the calculator's result list; each has its own icon and colours.
enum TCalcLineKind : int {
  clkError = 2,     // the message of a failed evaluation
  clkVariable = 3,  // one variable of `list`
  clkInput = 4,     // the echoed input
  clkDecimal = 5,   // the value in general format
  clkHex = 6,       // the integer part in hexadecimal
  clkBinary = 7,    // the integer part in binary
};

struct TCalcLine {
  TCalcLineKind Kind;
  std::string Text;
  bool operator==(const TCalcLine&) const = default;
};

// What one input line does to the result list: lines to append, after emptying it when
// ClearDisplay is set.
struct TCalcReply {
  bool ClearDisplay = false;
  std::vector<TCalcLine> Lines;
};

// One line typed into the calculator: the commands `list`, `clear` and `cls` (whole line, case
// ignored), or else an expression for the calculator. A value gets its binary, hexadecimal
// and decimal lines; a failure gets one error line with its message.
TCalcReply ProcessCalcInput(TCalculator& calculator, TNumConv& converter, const std::string& line,
                            const TInterfaceTexts& texts = EnglishTexts());

// The value's integer part (truncated toward zero) when it fits in a signed 64-bit integer.
std::optional<std::int64_t> CalcIntegerPart(double value);

// General format with up to 15 significant digits: fixed notation while there are at most 15
// integer digits and the value is at least 1E-4 in size, else scientific with the exponent
// without plus sign or leading zeros. 2.5 -> "2.5", 1e30 -> "1E30", 1e-5 -> "1E-5".
std::string FormatCalcGeneral(double value, char decimalSeparator = '.');
// Fixed with two decimals: 5 -> "5.00".
std::string FormatCalcFixed(double value, char decimalSeparator = '.');
// Upper-case hexadecimal; negatives as their 64-bit two's complement.
std::string FormatCalcHex(std::int64_t value);

}  // namespace zentrix
