#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "app/UpdateSchedule.h"

namespace zentrix {

// The bar's periodic look for a newer version. The page is fetched on a worker thread; the
// result comes back to this object's thread with a queued call, so the bar never waits.
class TUpdateChecker : public QObject {
  Q_OBJECT
public:
  // The check itself (address, current version); replaceable for tests.
  using TCheck = std::function<TUpdateCheck(const std::string&, const std::string&)>;

  TUpdateChecker(std::string productPageUrl, std::string currentVersion, QObject* parent = nullptr);
  ~TUpdateChecker() override;

  void SetCheck(TCheck check) { FCheck = std::move(check); }
  // Intervals other than 15 minutes and 5 hours, for tests; call before Start.
  void SetIntervals(std::chrono::milliseconds first, std::chrono::milliseconds retry);

  void Start(bool disabledBySwitch);  // "NUC": never checks
  bool Running() const { return FSchedule && FSchedule->Running(); }
  bool Enabled() const { return FSchedule && FSchedule->Enabled(); }

signals:
  void UpdateAvailable(QString version);  // the bar asks ConfirmBox and opens the site
  void CheckFinished();                   // after every check, whatever its outcome

private:
  void Arm();
  void TimerFired();
  void Delivered(const TUpdateCheck& result);

  std::string FProductPageUrl;
  std::string FCurrentVersion;
  TCheck FCheck;
  std::chrono::milliseconds FFirst = TUpdateSchedule::kFirstInterval;
  std::chrono::milliseconds FRetry = TUpdateSchedule::kRetryInterval;
  std::unique_ptr<TUpdateSchedule> FSchedule;
  QElapsedTimer FClock;
  QTimer FTimer;
  // Shared with the worker: it posts the result only while the checker still exists.
  struct TMailbox {
    std::mutex Lock;
    TUpdateChecker* Target;
  };
  std::shared_ptr<TMailbox> FMailbox;
};

}  // namespace zentrix
