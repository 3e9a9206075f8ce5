#pragma once

#include <string_view>

#include "core/Exceptions.h"
#include "core/InterfaceTexts.h"

namespace zentrix {

// A language file that breaks the format; the message gives the line.
class ELanguageFileError : public EZentrixError {
public:
  using EZentrixError::EZentrixError;
};

// Reads a language file: UTF-8 (a leading byte-order mark is allowed), one "key=value" a line.
// Blank lines and lines starting with "#" or ";" are skipped. A key is ASCII letters, digits,
// "_", "." and "-"; blanks around key and value are dropped. In a value "\n" is a line break,
// "\t" a tab and "\\" a backslash. Keys with a "." name a caption or hint of a window
// ("Twnd_zentrix_Main.acExit.Caption"); the others are interface texts ("lc_Day").
// Raises ELanguageFileError for a line without "=", a bad key, a repeated key, an unknown
// escape or text that is not UTF-8.
TInterfaceTexts::TTextMap ParseLanguageFile(std::string_view text);

// True when text is well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

}  // namespace zentrix
