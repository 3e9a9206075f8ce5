#include "tools/ToolWindows.h"

#include <utility>

namespace zentrix {

TToolWindows::TToolWindows(QWidget* owner, TSettingsStore& store) : FOwner(owner), FStore(store) {}

TToolWindows::~TToolWindows() { DestroyAll(); }

void TToolWindows::Register(TToolKind kind, TFactory factory) { FFactories[Index(kind)] = std::move(factory); }

bool TToolWindows::Available(TToolKind kind) const { return static_cast<bool>(FFactories[Index(kind)]); }

TToolWindow* TToolWindows::Window(TToolKind kind) const { return FWindows[Index(kind)].data(); }

TToolWindow* TToolWindows::Open(TToolKind kind) {
  if (!Available(kind)) return nullptr;
  QPointer<TToolWindow>& window = FWindows[Index(kind)];
  if (window.isNull()) window = FFactories[Index(kind)](FOwner, FStore);
  if (window.isNull()) return nullptr;
  window->ShowWindow();
  return window.data();
}

void TToolWindows::ShowVisible() {
  for (const QPointer<TToolWindow>& window : FWindows)
    if (!window.isNull() && window->isVisible()) window->ShowWindow();
}

void TToolWindows::SaveAll() {
  for (const QPointer<TToolWindow>& window : FWindows)
    if (!window.isNull()) window->SaveSettings();
}

void TToolWindows::DestroyAll() {
  for (QPointer<TToolWindow>& window : FWindows) {
    delete window.data();
    window.clear();
  }
}

}  // namespace zentrix
