#include "support/GuiFixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>

#include <cstdlib>

#include "app/PresetAnswers.h"

namespace zentrix::test {

void TGuiTest::SetUp() {
  FHome = std::make_unique<TTempDir>();
  const std::pair<const char*, const char*> folders[] = {{"XDG_DATA_HOME", "data"},
                                                         {"XDG_CONFIG_HOME", "config"},
                                                         {"XDG_CACHE_HOME", "cache"},
                                                         {"XDG_RUNTIME_DIR", "runtime"}};
  for (const auto& [variable, name] : folders) {
    const char* before = std::getenv(variable);
    FSavedEnvironment.emplace_back(variable, before ? std::optional<std::string>(before) : std::nullopt);
    const std::filesystem::path folder = FHome->Path() / name;
    std::filesystem::create_directories(folder);
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
    setenv(variable, folder.c_str(), 1);
  }
  preset_answers::Clear();
  FWatchdog = std::make_unique<QTimer>();
  FWatchdog->setInterval(20);
  QObject::connect(FWatchdog.get(), &QTimer::timeout, [this] { Watch(); });
  FWatchdog->start();
}

void TGuiTest::TearDown() {
  FWatchdog.reset();
  // Windows a test left open must not reach into the next test's folders.
  for (QWidget* w : QApplication::topLevelWidgets()) w->close();
  QApplication::processEvents();
  EXPECT_TRUE(FExpectedModals.empty()) << "an expected modal dialog never opened";
  EXPECT_EQ(preset_answers::Pending(), 0) << "a preset answer was never asked for";
  preset_answers::Clear();
  // Tests without this base in the same program keep the folders they were started with.
  for (const auto& [variable, value] : FSavedEnvironment) {
    if (value)
      setenv(variable.c_str(), value->c_str(), 1);
    else
      unsetenv(variable.c_str());
  }
  FSavedEnvironment.clear();
  FHome.reset();
}

void TGuiTest::ExpectModal(std::function<void(QDialog&)> handle) { FExpectedModals.push_back(std::move(handle)); }

void TGuiTest::NextAnswer(int button) { preset_answers::PushButton(button); }

void TGuiTest::NextFileName(const QString& fileName) { preset_answers::PushFileName(fileName); }

bool TGuiTest::WaitFor(const std::function<bool()>& done, int timeoutMs) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > timeoutMs) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

void TGuiTest::Watch() {
  auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
  if (!dialog) return;
  // A handler still working in its dialog runs the event loop, and so this watchdog, again.
  for (const QPointer<QDialog>& busy : FHandling)
    if (busy == dialog) return;
  QPointer<QDialog> guard(dialog);
  FHandling.push_back(guard);
  if (!FExpectedModals.empty()) {
    auto handle = std::move(FExpectedModals.front());
    FExpectedModals.pop_front();
    handle(*dialog);
  } else {
    QString text = dialog->windowTitle();
    if (auto* box = qobject_cast<QMessageBox*>(dialog)) text += QStringLiteral(": ") + box->text();
    ADD_FAILURE() << "unexpected modal dialog " << text.toStdString();
    dialog->reject();
  }
  if (guard && guard->isVisible() && QApplication::activeModalWidget() == guard) {
    ADD_FAILURE() << "the handler left the modal dialog open";
    guard->reject();
  }
  FHandling.removeAll(guard);
  FHandling.removeAll(QPointer<QDialog>());
}

}  // namespace zentrix::test
