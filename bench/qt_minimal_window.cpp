// The floor our toolkit sets: one frameless top-level window with a label, nothing else.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QLabel window("Qt minimal window");
  window.setWindowFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
  window.setGeometry(0, 0, 1024, 19);
  window.show();
  return app.exec();
}
