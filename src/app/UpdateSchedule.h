#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "feeds/Valtri_Internet.h"
#include "feeds/WebUpdate.h"

namespace zentrix {

// When the bar looks for a newer version: first one interval after start, then every retry
// interval after each check that found nothing or failed; never again once a version was offered,
// and never with the "NUC" switch. Driven by a monotonic time the caller passes in.
class TUpdateSchedule {
public:
  using TMs = std::chrono::milliseconds;
  static constexpr TMs kFirstInterval = std::chrono::minutes(15);
  static constexpr TMs kRetryInterval = std::chrono::hours(5);

  TUpdateSchedule(bool disabledBySwitch, TMs start, TMs firstInterval = kFirstInterval,
                  TMs retryInterval = kRetryInterval);

  bool Enabled() const { return FEnabled; }
  bool Running() const { return FRunning; }
  // When the next check is due; nothing while off or while a check runs.
  std::optional<TMs> NextCheck() const;
  // True, and the check counts as running, when one is due at now and none runs.
  bool StartIfDue(TMs now);
  // The running check ended at now with this outcome.
  void Finished(TUpdateOutcome outcome, TMs now);

private:
  bool FEnabled;
  bool FRunning = false;
  TMs FNext;
  TMs FRetryInterval;
};

// One check of the product page that only trusts what came over a verified connection: every
// address of the chain (the page and each redirection tag) must be https, HTTP redirects are not
// followed, and the certificate is checked. Anything else is a download error.
TUpdateCheck CheckForUpdateVerified(const std::string& address, const std::string& currentVersion,
                                    const THttpOptions& options = {});

}  // namespace zentrix
