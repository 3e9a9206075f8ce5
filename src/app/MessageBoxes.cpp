#include "app/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

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
  return QMessageBox::question(nullptr, caption.isEmpty() ? Captions().Confirmation : caption, text,
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void InfoBox(const QString& text, const QString& caption) {
  QMessageBox::information(nullptr, caption.isEmpty() ? Captions().Information : caption, text);
}

void ErrorBox(const QString& text) {
  QMessageBox::critical(nullptr, Captions().Error, text);
}

}  // namespace zentrix
