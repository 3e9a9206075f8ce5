#include "app/ZentrixApplication.h"

#include <exception>

#include "app/MessageBoxes.h"

namespace zentrix {

bool TZentrixApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    ErrorBox(QString::fromUtf8(e.what()));
  } catch (...) {
    ErrorBox(QStringLiteral("Unknown error."));
  }
  return false;
}

}  // namespace zentrix
