#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/InterfaceTexts.h"

namespace zentrix {

// Converts a number written in one base (2 to 36) into another. It never raises: each problem
// is recorded as an error code, `Conversion` tells whether there was any, and `ErrorMessage`
// gives their texts. Typical use:
//   conv.SetConvertFrom(10); conv.SetConvertTo(2); conv.SetValue("255");
//   if (conv.Conversion()) use(conv.Result()); else show(conv.ErrorMessage());
class TNumConv {
public:
  // Error codes as recorded, one character each.
  enum TNumConvError : char {
    nceInputBase = '1',      // input base outside 2..36
    nceOutputBase = '2',     // output base outside 2..36
    nceValue = '3',          // value of 29 or more characters
    nceNoInputBase = '4',
    nceNoOutputBase = '5',
    nceNoValue = '6',        // no value set, or an empty one
    nceNotADigit = '7',      // a character that is no digit of the input base
    nceOverflow = '8',       // the value does not fit in a signed 64-bit integer
  };

  static constexpr std::size_t kMaxValueLength = 28;

  explicit TNumConv(const TInterfaceTexts& texts = EnglishTexts()) : FTexts(texts) {}

  std::int64_t ConvertFrom() const { return FFromBase; }
  std::int64_t ConvertTo() const { return FToBase; }
  void SetConvertFrom(std::int64_t base);
  void SetConvertTo(std::int64_t base);
  // The digits to convert; letters are taken in either case.
  void SetValue(std::string_view value);

  // The converted digits (empty after an error); converts first when a setting changed.
  const std::string& Result();
  // Reads Result; true when no error code is recorded.
  bool Conversion();
  // The text of every recorded code, each followed by a carriage return, in the order they
  // occurred; "Sucess!" when there is none. Reading it clears the codes.
  std::string ErrorMessage();
  // The recorded codes, for callers that want to tell them apart.
  const std::string& ErrorCodes() const { return FErrors; }

private:
  void BeginSetting();
  void Convert();

  const TInterfaceTexts& FTexts;
  std::int64_t FFromBase = 0;
  std::int64_t FToBase = 0;
  std::string FValue;
  std::string FResult;
  std::string FErrors;
  std::string FOverflowText;
  bool FPending = true;  // a fresh converter reports what is missing rather than an empty success
  bool FFromSet = false;
  bool FToSet = false;
  bool FValueSet = false;
};

}  // namespace zentrix
