#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace zentrix {

// Answers for the program's next message boxes and file dialogs, given before they open; a box
// with a preset answer is not shown. Tests set them; the running program never does.
namespace preset_answers {

// A button of QMessageBox::StandardButton.
void PushButton(int button);
// A file name; an empty one stands for a dialog the user cancelled.
void PushFileName(const QString& fileName);
// The box's text is kept in Answered() when an answer is taken.
std::optional<int> TakeButton(const QString& text);
std::optional<QString> TakeFileName();
// The texts of the boxes answered so far, oldest first.
QStringList Answered();
// How many answers are still waiting, and dropping them.
int Pending();
void Clear();

}  // namespace preset_answers

}  // namespace zentrix
