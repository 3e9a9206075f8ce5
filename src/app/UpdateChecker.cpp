#include "app/UpdateChecker.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <thread>

namespace zentrix {

TUpdateChecker::TUpdateChecker(std::string productPageUrl, std::string currentVersion, QObject* parent)
    : QObject(parent), FProductPageUrl(std::move(productPageUrl)), FCurrentVersion(std::move(currentVersion)),
      FCheck([](const std::string& address, const std::string& version) {
        return CheckForUpdateVerified(address, version);
      }),
      FMailbox(std::make_shared<TMailbox>()) {
  FMailbox->Target = this;
  FTimer.setSingleShot(true);
  FTimer.setTimerType(Qt::CoarseTimer);
  connect(&FTimer, &QTimer::timeout, this, &TUpdateChecker::TimerFired);
}

TUpdateChecker::~TUpdateChecker() {
  // After this no worker posts to us; results already posted die with the object.
  std::lock_guard lock(FMailbox->Lock);
  FMailbox->Target = nullptr;
}

void TUpdateChecker::SetIntervals(std::chrono::milliseconds first, std::chrono::milliseconds retry) {
  FFirst = first;
  FRetry = retry;
}

void TUpdateChecker::Start(bool disabledBySwitch) {
  FClock.start();
  FSchedule = std::make_unique<TUpdateSchedule>(disabledBySwitch, std::chrono::milliseconds(0), FFirst, FRetry);
  Arm();
}

void TUpdateChecker::Arm() {
  FTimer.stop();
  const auto next = FSchedule->NextCheck();
  if (!next) return;
  const auto wait = std::max<std::chrono::milliseconds::rep>(0, (*next).count() - FClock.elapsed());
  FTimer.start(std::chrono::milliseconds(wait));
}

void TUpdateChecker::TimerFired() {
  if (!FSchedule->StartIfDue(std::chrono::milliseconds(FClock.elapsed()))) {
    Arm();
    return;
  }
  // The worker owns copies of everything it reads; the checker may be gone when it ends.
  std::thread([mailbox = FMailbox, check = FCheck, url = FProductPageUrl, version = FCurrentVersion] {
    const TUpdateCheck result = check(url, version);
    std::lock_guard lock(mailbox->Lock);
    if (TUpdateChecker* target = mailbox->Target)
      QMetaObject::invokeMethod(target, [target, result] { target->Delivered(result); }, Qt::QueuedConnection);
  }).detach();
}

void TUpdateChecker::Delivered(const TUpdateCheck& result) {
  FSchedule->Finished(result.Outcome, std::chrono::milliseconds(FClock.elapsed()));
  Arm();
  if (result.Outcome == TUpdateOutcome::uoUpdateAvailable) emit UpdateAvailable(QString::fromStdString(result.NewVersion));
  emit CheckFinished();
}

}  // namespace zentrix
