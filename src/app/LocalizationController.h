#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "core/InterfaceTexts.h"
#include "core/LanguagePack.h"

namespace zentrix {

// Chooses the interface language and puts its texts in place: the named interface texts of
// the table, and the captions and hints of the windows given to it. A language file names a
// caption "<window>.<object>.Caption" and a hint "<window>.<object>.Hint" by object names
// ("Twnd_zentrix_Main.acExit.Caption"); "<window>.Caption" is the window's own title.
// A key the language lacks keeps the current text.
class TLocalizationController : public QObject {
  Q_OBJECT

public:
  TLocalizationController(TLanguagePack pack, TInterfaceTexts& texts, QObject* parent = nullptr);

  QString Language() const { return FLanguage; }
  QStringList AvailableLanguages() const;
  const TLanguagePack& Pack() const { return FPack; }
  // The last language file that could not be read, with the reason; empty when none.
  QString LastError() const { return FLastError; }

  // The language of the user's locale, or "en" when it has no language file.
  QString LocaleLanguage() const;
  void SetLanguageFromLocale() { SetLanguage(LocaleLanguage()); }

  // Loads the language and applies it. A code without a file selects "en"; a broken file
  // leaves every text as it is (see LastError) and returns false.
  bool SetLanguage(const QString& code);

  // The window's captions and hints are replaced now and on every later change of language.
  void AddWindow(QWidget* window);

  QString Text(const char* key, const char* englishDefault) const;

signals:
  void LanguageChanged(const QString& code);

private:
  void ApplyTo(QWidget* window) const;

  TLanguagePack FPack;
  TInterfaceTexts& FTexts;
  TInterfaceTexts::TTextMap FCurrent;
  QString FLanguage;
  QString FLastError;
  QList<QPointer<QWidget>> FWindows;
};

}  // namespace zentrix
