#include "app/PresetAnswers.h"

#include <deque>

namespace zentrix::preset_answers {

namespace {

std::deque<int>& Buttons() {
  static std::deque<int> buttons;
  return buttons;
}

std::deque<QString>& FileNames() {
  static std::deque<QString> names;
  return names;
}

QStringList& AnsweredTexts() {
  static QStringList texts;
  return texts;
}

}  // namespace

void PushButton(int button) { Buttons().push_back(button); }

void PushFileName(const QString& fileName) { FileNames().push_back(fileName); }

std::optional<int> TakeButton(const QString& text) {
  if (Buttons().empty()) return std::nullopt;
  AnsweredTexts().push_back(text);
  const int button = Buttons().front();
  Buttons().pop_front();
  return button;
}

std::optional<QString> TakeFileName() {
  if (FileNames().empty()) return std::nullopt;
  QString name = FileNames().front();
  FileNames().pop_front();
  return name;
}

QStringList Answered() { return AnsweredTexts(); }

int Pending() { return static_cast<int>(Buttons().size() + FileNames().size()); }

void Clear() {
  Buttons().clear();
  FileNames().clear();
  AnsweredTexts().clear();
}

}  // namespace zentrix::preset_answers
