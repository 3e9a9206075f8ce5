#pragma once

#include <QKeyEvent>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "settings/SettingsStore.h"
#include "support/GuiFixture.h"
#include "tools/ToolWindow.h"

namespace zentrix::test {

// A line edit that records the keys it is given.
class TKeyRecordingEdit : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;
  std::vector<QKeyCombination> Keys;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    Keys.push_back(event->keyCombination());
    QLineEdit::keyPressEvent(event);
  }
};

// A tool window with, on request, one line edit as its content.
class TTestToolWindow : public TToolWindow {
 public:
  TTestToolWindow(QWidget* owner, TSettingsStore& store, std::string storagePath, QSize clientSize = {256, 386},
                  bool withEdit = true)
      : TToolWindow(owner, store, std::move(storagePath), QStringLiteral("Twnd_zentrix_Test"), QStringLiteral("测试"),
                    clientSize) {
    if (withEdit) {
      auto* layout = new QVBoxLayout(this);
      Edit = new TKeyRecordingEdit(this);
      layout->addWidget(Edit);
    }
  }
  TKeyRecordingEdit* Edit = nullptr;
};

// A settings file of the test's own, and the bar the windows belong to.
class TToolWindowTest : public TGuiTest {
 protected:
  void SetUp() override {
    TGuiTest::SetUp();
    FStore = std::make_unique<TSettingsStore>(SettingsFile());
    FOwner = std::make_unique<QWidget>();
  }
  void TearDown() override {
    FOwner.reset();
    FStore.reset();
    TGuiTest::TearDown();
  }

  std::filesystem::path SettingsFile() const { return Home() / "Zentrix.ini"; }
  TSettingsStore& Store() { return *FStore; }
  QWidget* Owner() { return FOwner.get(); }

  // The file's text, empty when there is none.
  std::string SettingsText() const {
    std::ifstream in(SettingsFile(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  // The value of key in section as the file holds it ("" when absent).
  std::string FileValue(const std::string& section, const std::string& key) const {
    std::istringstream in(SettingsText());
    std::string line;
    bool inSection = false;
    while (std::getline(in, line)) {
      if (!line.empty() && line.front() == '[') {
        inSection = line == "[" + section + "]";
      } else if (inSection && line.rfind(key + "=", 0) == 0) {
        return line.substr(key.size() + 1);
      }
    }
    return {};
  }

 private:
  std::unique_ptr<TSettingsStore> FStore;
  std::unique_ptr<QWidget> FOwner;
};

}  // namespace zentrix::test
