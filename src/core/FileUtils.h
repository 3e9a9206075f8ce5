#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/Exceptions.h"

namespace zentrix {

// A file that cannot be read or written; the message names the file.
class EFileError : public EZentrixError {
public:
  using EZentrixError::EZentrixError;
};

// Replaces the file with content whole or not at all: the bytes go to a temporary file in the
// same folder, which is flushed to disk and then renamed over the target, so a crash or a full
// disk never leaves a truncated file behind. Raises EFileError; the old file is then unchanged.
void WriteFileAtomic(const std::filesystem::path& file, std::string_view content);

// The whole file; raises EFileError when it cannot be read or is larger than maxBytes.
std::string ReadFileBytes(const std::filesystem::path& file, std::size_t maxBytes = 64u << 20);

// Copies the bytes of source to target in chunks. False when either file cannot be opened or a
// read or write fails; the target is then left absent or as it was, never half written.
bool CopyFileContents(const std::filesystem::path& source, const std::filesystem::path& target);

}  // namespace zentrix
