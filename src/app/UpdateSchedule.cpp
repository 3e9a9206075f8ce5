#include "app/UpdateSchedule.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace zentrix {

TUpdateSchedule::TUpdateSchedule(bool disabledBySwitch, TMs start, TMs firstInterval, TMs retryInterval)
    : FEnabled(!disabledBySwitch), FNext(start + firstInterval), FRetryInterval(retryInterval) {}

std::optional<TUpdateSchedule::TMs> TUpdateSchedule::NextCheck() const {
  if (!FEnabled || FRunning) return std::nullopt;
  return FNext;
}

bool TUpdateSchedule::StartIfDue(TMs now) {
  if (!FEnabled || FRunning || now < FNext) return false;
  FRunning = true;
  return true;
}

void TUpdateSchedule::Finished(TUpdateOutcome outcome, TMs now) {
  FRunning = false;
  if (outcome == TUpdateOutcome::uoUpdateAvailable) {
    // One offer per run, whatever the answer.
    FEnabled = false;
    return;
  }
  FNext = now + FRetryInterval;
}

namespace {

bool IsHttps(std::string_view address) {
  constexpr std::string_view kScheme = "https://";
  if (address.size() <= kScheme.size()) return false;
  return std::equal(kScheme.begin(), kScheme.end(), address.begin(),
                    [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

}  // namespace

TUpdateCheck CheckForUpdateVerified(const std::string& address, const std::string& currentVersion,
                                    const THttpOptions& options) {
  TUpdateCheck check;
  THttpOptions verified = options;
  // A Location header could lead to plain HTTP behind our back.
  verified.MaxRedirects = 0;
  std::string next = address;
  TUpdatePage page;
  for (int hop = 0;; ++hop) {
    if (!IsHttps(next)) return check;
    std::string body;
    if (!HttpGet(next, {}, {}, body, 0, verified)) return check;
    page = ParseUpdatePage(body);
    if (page.Redirection.empty()) break;
    if (hop == kMaxUpdateRedirections) return check;
    next = page.Redirection;
  }
  if (page.ProductName.empty() || page.Version.empty()) return check;
  check.NewVersion = page.Version;
  check.Outcome =
      IsNewerVersion(page.Version, currentVersion) ? TUpdateOutcome::uoUpdateAvailable : TUpdateOutcome::uoNoUpdate;
  return check;
}

}  // namespace zentrix
