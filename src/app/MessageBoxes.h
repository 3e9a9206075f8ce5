#pragma once

#include <QString>

#include "core/InterfaceTexts.h"

namespace zentrix {

// The captions the program's message boxes use when given none; the bar refreshes them on every
// change of language.
void SetMessageBoxCaptions(const TInterfaceTexts& texts);

// A question with Yes and No (true on Yes), and a message with OK. An empty caption becomes
// "Confirmation" or "Information".
bool ConfirmBox(const QString& text, const QString& caption = {});
void InfoBox(const QString& text, const QString& caption = {});
// The application's error box for an exception that escaped an event handler.
void ErrorBox(const QString& text);

}  // namespace zentrix
