#pragma once

#include <QApplication>

namespace zentrix {

// The application object: an exception that escapes an event handler is shown in the error box
// and the program goes on.
class TZentrixApplication : public QApplication {
public:
  TZentrixApplication(int& argc, char** argv) : QApplication(argc, argv) {}
  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace zentrix
