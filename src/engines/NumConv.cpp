#include "engines/NumConv.h"

#include <limits>

namespace zentrix {
namespace {

constexpr std::int64_t kMaxInt64 = std::numeric_limits<std::int64_t>::max();

int DigitOf(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return 99;
}

bool ValidBase(std::int64_t base) { return base >= 2 && base <= 36; }

}  // namespace

void TNumConv::BeginSetting() {
  // The first setting after a conversion starts a fresh error list.
  if (!FFromSet && !FToSet && !FValueSet) FErrors.clear();
  FPending = true;
}

void TNumConv::SetConvertFrom(std::int64_t base) {
  BeginSetting();
  if (!ValidBase(base)) {
    FErrors += nceInputBase;
    return;
  }
  FFromBase = base;
  FFromSet = true;
}

void TNumConv::SetConvertTo(std::int64_t base) {
  BeginSetting();
  if (!ValidBase(base)) {
    FErrors += nceOutputBase;
    return;
  }
  FToBase = base;
  FToSet = true;
}

void TNumConv::SetValue(std::string_view value) {
  BeginSetting();
  if (value.size() > kMaxValueLength) {
    FErrors += nceValue;
    return;
  }
  FValue.assign(value);
  for (char& c : FValue)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  FValueSet = true;
}

const std::string& TNumConv::Result() {
  if (FPending) Convert();
  return FResult;
}

bool TNumConv::Conversion() {
  Result();
  return FErrors.empty();
}

void TNumConv::Convert() {
  FPending = false;
  FResult.clear();
  const bool ready = FFromSet && FToSet && FValueSet && !FValue.empty();
  if (!FFromSet) FErrors += nceNoInputBase;
  if (!FToSet) FErrors += nceNoOutputBase;
  if (!FValueSet || FValue.empty()) FErrors += nceNoValue;
  FFromSet = FToSet = FValueSet = false;
  if (!ready) return;

  for (char c : FValue)
    if (DigitOf(c) >= FFromBase) {
      FErrors += nceNotADigit;
      return;
    }

  // Digit by digit from the right, each times the matching power of the base. The power may
  // run past 64 bits under leading zeros, which add nothing.
  std::int64_t value = 0;
  std::int64_t power = 1;
  bool powerOverflow = false;
  for (auto it = FValue.rbegin(); it != FValue.rend(); ++it) {
    const std::int64_t digit = DigitOf(*it);
    if (digit != 0) {
      if (powerOverflow || power > (kMaxInt64 - value) / digit) {
        FOverflowText = "Integer Overflow!";
        FErrors += nceOverflow;
        return;
      }
      value += digit * power;
    }
    if (power > kMaxInt64 / FFromBase)
      powerOverflow = true;
    else
      power *= FFromBase;
  }

  // 63 binary digits is the most a signed 64-bit value needs.
  char field[64];
  std::size_t start = sizeof field;
  do {
    const auto d = static_cast<int>(value % FToBase);
    field[--start] = static_cast<char>(d < 10 ? '0' + d : 'A' + d - 10);
    value /= FToBase;
  } while (value != 0);
  FResult.assign(field + start, sizeof field - start);
}

std::string TNumConv::ErrorMessage() {
  if (FErrors.empty()) return FTexts.Get("lc_NumConvSuccess", "Sucess!");
  std::string message;
  for (char code : FErrors) {
    switch (code) {
      case nceInputBase: message += FTexts.Get("lc_NumConvInputBase", "Input Numerical System Number Error!"); break;
      case nceOutputBase:
        message += FTexts.Get("lc_NumConvOutputBase", "Output Numerical System Number Error!");
        break;
      case nceValue: message += FTexts.Get("lc_NumConvValue", "Input Value Error!"); break;
      case nceNoInputBase:
        message += FTexts.Get("lc_NumConvNoInputBase", "Input Numerical System Not Defined!");
        break;
      case nceNoOutputBase:
        message += FTexts.Get("lc_NumConvNoOutputBase", "Output Numerical System Not Defined!!");
        break;
      case nceNoValue: message += FTexts.Get("lc_NumConvNoValue", "Input Value for Conversion Not Defined!"); break;
      case nceNotADigit:
        message += FValue + FTexts.Get("lc_NumConvNotADigit1", " Not a Real Value of ") + std::to_string(FFromBase) +
                   FTexts.Get("lc_NumConvNotADigit2", ". Numerical System!");
        break;
      default:
        message += FOverflowText + FTexts.Get("lc_NumConvOverflow", " Input Value Too Large!");
        break;
    }
    message += '\r';
  }
  FErrors.clear();
  return message;
}

}  // namespace zentrix
