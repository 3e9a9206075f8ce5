#pragma once

#include <QPointer>
#include <array>
#include <cstddef>
#include <functional>

#include "settings/SettingsStore.h"
#include "tools/ToolWindow.h"

class QWidget;

namespace zentrix {

// Tool windows by kind, in the order a click on the bar re-shows them.
enum class TToolKind {
  tkDeskExp,
  tkCalendar,
  tkWeather,
  tkRSS,
  tkCodeTools,
  tkASCIITable,
  tkNotepad,
  tkCalculator,
  tkSpreadsheet
};
inline constexpr std::size_t kToolKindCount = 9;

// The bar's tool windows: each is created by its factory at its first request, with the bar as
// owner, and kept (hidden when closed) until the bar goes.
class TToolWindows {
 public:
  using TFactory = std::function<TToolWindow*(QWidget* owner, TSettingsStore& store)>;

  TToolWindows(QWidget* owner, TSettingsStore& store);
  ~TToolWindows();  // destroys every created window
  TToolWindows(const TToolWindows&) = delete;
  TToolWindows& operator=(const TToolWindows&) = delete;

  void Register(TToolKind kind, TFactory factory);
  bool Available(TToolKind kind) const;       // a factory is registered
  TToolWindow* Window(TToolKind kind) const;  // nullptr until first opened
  // The first request creates the window, every request shows it; nullptr when not Available.
  TToolWindow* Open(TToolKind kind);
  // Shows again every created and visible window, in the enumeration's order.
  void ShowVisible();
  // SaveSettings of every created window; the caller writes the file.
  void SaveAll();
  // Deletes every created window (the bar's close).
  void DestroyAll();

 private:
  static std::size_t Index(TToolKind kind) { return static_cast<std::size_t>(kind); }

  QWidget* FOwner;
  TSettingsStore& FStore;
  std::array<TFactory, kToolKindCount> FFactories;
  std::array<QPointer<TToolWindow>, kToolKindCount> FWindows;
};

// Adds the factories of the tool windows this version has.
void RegisterToolWindows(TToolWindows& windows);

}  // namespace zentrix
