// The program entry: one bar per session, the interface language, the title, the bar.
#include <QDir>
#include <QStringList>

#include <clocale>
#include <cstdlib>
#include <exception>
#include <iostream>

#include "app/LocalizationController.h"
#include "app/MainWindow.h"
#include "app/MessageBoxes.h"
#include "app/SingleInstanceGuard.h"
#include "app/ZentrixApplication.h"
#include "core/LanguagePack.h"
#include "core/VersionInfo.h"
#include "platform/Environment.h"

using namespace zentrix;

namespace {

// The switch "NUC", introduced by a slash or a hyphen, in any case.
bool HasNoUpdateSwitch(const QStringList& arguments) {
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& a = arguments[i];
    if (a.size() == 4 && (a[0] == QLatin1Char('/') || a[0] == QLatin1Char('-')) &&
        a.mid(1).compare(QLatin1String("NUC"), Qt::CaseInsensitive) == 0)
      return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  // The user's locale for dates and numbers.
  std::setlocale(LC_ALL, "");
  TZentrixApplication app(argc, argv);
  const QStringList arguments = QCoreApplication::arguments();

  // A second start hands its command line to the running bar and ends at once.
  TSingleInstanceGuard guard(QString::fromUtf8(kApplicationTitle));
  if (!guard.Claim(arguments)) return 0;

  try {
    const std::filesystem::path programFile = platform::ProgramPath();
    const std::filesystem::path programFolder = programFile.parent_path();

    // The language files are named after "Zentrix"; the user's language, else English.
    TInterfaceTexts texts;
    TLocalizationController langCtrl(TLanguagePack({programFolder}), texts);
    langCtrl.SetLanguageFromLocale();

    QApplication::setApplicationName(QString::fromUtf8(kApplicationTitle));
    QApplication::setApplicationDisplayName(QString::fromUtf8(kApplicationTitle));

    TMainWindowOptions options;
    ReadVersionInfo(programFile, options.Version);
    if (options.Version.CompanyName.empty()) options.Version = BuildVersionInfo();
    options.ProgramFile = programFile;
    options.ProgramFolder = programFolder;
    options.NoUpdateCheck = HasNoUpdateSwitch(arguments);
    options.PanelDumpFile = qEnvironmentVariable("ZENTRIX_PANEL_DUMP");

    Twnd_zentrix_Main bar(std::move(options), texts, langCtrl);
    QObject::connect(&guard, &TSingleInstanceGuard::ActivateRequested, &bar, [&bar] {
      bar.raise();
      bar.activateWindow();
    });
    bar.ShowBar();
    return app.exec();
  } catch (const std::exception& e) {
    std::cerr << "zentrix: " << e.what() << '\n';
    return 1;
  }
}
