#include "app/FileDialogs.h"

#include <QFileDialog>

#include "app/PresetAnswers.h"

namespace zentrix {

QString OpenFileName(QWidget* parent, const QString& caption, const QString& folder, const QString& filter) {
  if (auto preset = preset_answers::TakeFileName()) return *preset;
  return QFileDialog::getOpenFileName(parent, caption, folder, filter);
}

QString SaveFileName(QWidget* parent, const QString& caption, const QString& folder, const QString& filter) {
  if (auto preset = preset_answers::TakeFileName()) return *preset;
  return QFileDialog::getSaveFileName(parent, caption, folder, filter);
}

}  // namespace zentrix
