#pragma once

#include <gtest/gtest.h>

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/TempDir.h"

namespace zentrix::test {

// The base of every window test: the XDG folders in a fresh temporary folder for each test, a
// watchdog that fails the test on any modal dialog it did not expect (and closes that dialog, so
// the test goes on instead of hanging), and preset answers for message boxes and file dialogs.
// Run on the offscreen platform (tests/gui/GuiMain.cpp sets it).
class TGuiTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // The next modal dialog is handed to handle, which must close it (accept() or reject()).
  void ExpectModal(std::function<void(QDialog&)> handle);
  // The next message box answers with this QMessageBox::StandardButton without showing.
  void NextAnswer(int button);
  // The next file dialog answers with this name (empty: cancelled) without showing.
  void NextFileName(const QString& fileName);

  // Runs the event loop until done() holds or timeoutMs passes; false on time-out.
  static bool WaitFor(const std::function<bool()>& done, int timeoutMs = 5000);

  const std::filesystem::path& Home() const { return FHome->Path(); }
  std::filesystem::path DataFolder() const { return Home() / "data"; }
  std::filesystem::path ConfigFolder() const { return Home() / "config"; }

private:
  void Watch();

  std::unique_ptr<TTempDir> FHome;
  std::unique_ptr<QTimer> FWatchdog;
  std::deque<std::function<void(QDialog&)>> FExpectedModals;
  QList<QPointer<QDialog>> FHandling;
  std::vector<std::pair<std::string, std::optional<std::string>>> FSavedEnvironment;
};

}  // namespace zentrix::test
