#pragma once

#include <QString>

class QWidget;

namespace zentrix {

// The program's file dialogs; an empty result means the user cancelled. Preset answers
// (app/PresetAnswers.h) are taken instead of showing a dialog.
QString OpenFileName(QWidget* parent, const QString& caption, const QString& folder, const QString& filter);
QString SaveFileName(QWidget* parent, const QString& caption, const QString& folder, const QString& filter);

}  // namespace zentrix
