#include "app/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

#include "app/PresetAnswers.h"

namespace zentrix {

namespace {

struct TCaptions {
  QString Confirmation = QStringLiteral("Confirmation");
  QString Warning = QStringLiteral("Warning");
  QString Information = QStringLiteral("Information");
  QString Error = QStringLiteral("Error");
};

TCaptions& Captions() {
  static TCaptions captions;
  return captions;
}

}  // namespace

void SetMessageBoxCaptions(const TInterfaceTexts& texts) {
  TCaptions& c = Captions();
  c.Confirmation = QString::fromStdString(texts.Get("lc_Confirmation", "Confirmation"));
  c.Warning = QString::fromStdString(texts.Get("lc_Warning", "Warning"));
  c.Information = QString::fromStdString(texts.Get("lc_Information", "Information"));
  c.Error = QString::fromStdString(texts.Get("lc_Error", "Error"));
}

bool ConfirmBox(const QString& text, const QString& caption) {
  if (auto preset = preset_answers::TakeButton(text)) return *preset == QMessageBox::Yes;
  return QMessageBox::question(nullptr, caption.isEmpty() ? Captions().Confirmation : caption, text,
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void InfoBox(const QString& text, const QString& caption) {
  if (preset_answers::TakeButton(text)) return;
  QMessageBox::information(nullptr, caption.isEmpty() ? Captions().Information : caption, text);
}

void ErrorBox(const QString& text) {
  if (preset_answers::TakeButton(text)) return;
  QMessageBox::critical(nullptr, Captions().Error, text);
}

}  // namespace zentrix
