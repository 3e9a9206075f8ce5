#include "app/LocalizationController.h"

#include "core/FileUtils.h"
#include "core/LanguageFile.h"
#include "platform/Environment.h"

namespace zentrix {
namespace {

// The caption property of an object: the text of actions, buttons and labels, the title of
// menus and group boxes, else the window title.
const char* CaptionProperty(const QObject* object) {
  for (const char* name : {"text", "title"})
    if (object->metaObject()->indexOfProperty(name) >= 0) return name;
  return object->isWidgetType() ? "windowTitle" : nullptr;
}

}  // namespace

TLocalizationController::TLocalizationController(TLanguagePack pack, TInterfaceTexts& texts, QObject* parent)
    : QObject(parent), FPack(std::move(pack)), FTexts(texts) {}

QStringList TLocalizationController::AvailableLanguages() const {
  QStringList codes;
  for (const std::string& code : FPack.AvailableLanguages()) codes << QString::fromStdString(code);
  return codes;
}

QString TLocalizationController::LocaleLanguage() const {
  return QString::fromStdString(FPack.ChooseLanguage(LanguageCodeFromLocale(platform::UserLocaleName())));
}

bool TLocalizationController::SetLanguage(const QString& code) {
  const std::string chosen = FPack.ChooseLanguage(code.toStdString());
  TInterfaceTexts::TTextMap texts;
  try {
    texts = FPack.Load(chosen);
  } catch (const EZentrixError& e) {
    FLastError = QString::fromUtf8(e.what());
    return false;
  }
  FLastError.clear();
  FLanguage = QString::fromStdString(chosen);
  FTexts.Apply(texts);
  for (auto& [key, value] : texts) FCurrent[key] = value;
  for (const QPointer<QWidget>& window : FWindows)
    if (window) ApplyTo(window);
  emit LanguageChanged(FLanguage);
  return true;
}

void TLocalizationController::AddWindow(QWidget* window) {
  if (window == nullptr || FWindows.contains(window)) return;
  // Dialogs made afresh for each opening leave their entries behind when they go.
  FWindows.removeAll(QPointer<QWidget>());
  FWindows.append(window);
  ApplyTo(window);
}

QString TLocalizationController::Text(const char* key, const char* englishDefault) const {
  return QString::fromStdString(FTexts.Get(key, englishDefault));
}

void TLocalizationController::ApplyTo(QWidget* window) const {
  const std::string form = window->objectName().toStdString();
  if (form.empty()) return;
  auto apply = [this](QObject* object, const std::string& prefix) {
    if (const auto it = FCurrent.find(prefix + ".Caption"); it != FCurrent.end())
      if (const char* property = CaptionProperty(object))
        object->setProperty(property, QString::fromStdString(it->second));
    if (const auto it = FCurrent.find(prefix + ".Hint"); it != FCurrent.end())
      if (object->metaObject()->indexOfProperty("toolTip") >= 0)
        object->setProperty("toolTip", QString::fromStdString(it->second));
  };
  apply(window, form);
  for (QObject* child : window->findChildren<QObject*>()) {
    const QString name = child->objectName();
    if (!name.isEmpty()) apply(child, form + "." + name.toStdString());
  }
}

}  // namespace zentrix
