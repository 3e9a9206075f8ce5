#pragma once

#include <string>
#include <string_view>

#include "core/Exceptions.h"

namespace zentrix {

// A stored value that cannot be read in its kind, or a settings file that cannot be read or
// written.
class ESettingsError : public EZentrixError {
public:
  using EZentrixError::EZentrixError;
};

// How values look in the settings file. Each Decode raises ESettingsError for text that is not
// a value of its kind; `what` names the value in the message.
std::string EncodeBoolean(bool value);  // "真的" or "错误的"
// The true words "真的", "是的", "Y", the false words "错误的", "不", "N" (ASCII letters in any
// case), otherwise an integer that is true when not 0.
bool DecodeBoolean(std::string_view text, std::string_view what);
std::string EncodeInteger(int value);
// Decimal with an optional sign, or hexadecimal after "0x" or "$"; must fit in 32 bits.
int DecodeInteger(std::string_view text, std::string_view what);
// 20 hexadecimal digits: the bytes of the value as an 80-bit extended number.
std::string EncodeReal(double value);
double DecodeReal(std::string_view text, std::string_view what);

}  // namespace zentrix
