#pragma once

#include <string>
#include <string_view>

namespace zentrix {

// The index-th field (from 0) of text split at any character of delimiters; empty when the text
// has fewer fields. Empty fields count ("a,,c" has three).
std::string GetToken(std::string_view text, std::size_t index, std::string_view delimiters);

}  // namespace zentrix
