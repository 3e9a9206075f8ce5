// A stand-in for the bar in the single-instance tests: claims the instance; the first one
// prints "primary" and then every command line handed to it, the others end at once.
#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

#include "app/SingleInstanceGuard.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  zentrix::TSingleInstanceGuard guard(QStringLiteral("Valtri Zentrix"));
  if (!guard.Claim(app.arguments().mid(1))) return 0;
  QTextStream out(stdout);
  out << "primary" << Qt::endl;
  QObject::connect(&guard, &zentrix::TSingleInstanceGuard::ActivateRequested, [&out](const QStringList& args) {
    out << "activate:" << args.join(QLatin1Char('|')) << Qt::endl;
    if (args.contains(QStringLiteral("quit"))) QCoreApplication::quit();
  });
  return app.exec();
}
