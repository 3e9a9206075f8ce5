#pragma once

#include <string>
#include <string_view>

#include "feeds/Valtri_Internet.h"

namespace zentrix {

// The meta tags of a product page: lines such as
//   <META NAME="Zentrix版本" CONTENT="1.8.0.0">
// "META NAME" in upper case exactly; "CONTENT=" in any case; tag names compared exactly.
struct TUpdatePage {
  std::string ProductName;
  std::string Version;
  std::string Redirection;
};

inline constexpr std::string_view kProductNameTag = "Zentrix名称";
inline constexpr std::string_view kVersionTag = "Zentrix版本";
inline constexpr std::string_view kRedirectionTag = "MX重定向";

TUpdatePage ParseUpdatePage(std::string_view bytes);

// Dotted versions compared number by number; a part that is not a number and a missing part
// count as 0. True when published is newer than current.
bool IsNewerVersion(std::string_view published, std::string_view current);

enum class TUpdateOutcome { uoUpdateAvailable, uoNoUpdate, uoDownloadError };

struct TUpdateCheck {
  TUpdateOutcome Outcome = TUpdateOutcome::uoDownloadError;
  std::string NewVersion;  // the published version, when one was read
};

// At most this many redirection tags are followed; a longer chain is a download error.
inline constexpr int kMaxUpdateRedirections = 5;

// Fetches the product page (an address without a scheme gets "http://"), follows its
// redirection tags and compares its version with currentVersion.
TUpdateCheck CheckForUpdate(const std::string& address, const std::string& currentVersion,
                            const THttpOptions& options = {});

}  // namespace zentrix
