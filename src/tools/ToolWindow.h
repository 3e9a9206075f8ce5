#pragma once

#include <QPoint>
#include <QSize>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <string>
#include <string_view>

#include "settings/SettingsStore.h"

class QKeyEvent;

namespace zentrix {

// The frame every tool window shares: a sizable tool window without a taskbar entry, owned by
// the bar (its parent, so it dies with the bar), placed from its settings section at the first
// show and centred on the primary screen when nothing is stored there, kept on screen at every
// show, snapped to the screen edges after a drag, saved (and the file written) when it loses
// activation or closes. Closing only hides it. Escape without Shift, Ctrl or Alt closes it,
// whichever control has the focus. No operation of the frame shows a message: a settings file
// it cannot read or write leaves the window where it is and the values in memory.
class TToolWindow : public QWidget {
  Q_OBJECT

 public:
  TToolWindow(QWidget* owner, TSettingsStore& store, std::string storagePath, const QString& className,
              const QString& caption, QSize clientSize);
  ~TToolWindow() override;

  // Shows the window (restoring its placement the first time), raises and activates it. A
  // window that is already visible is only raised and activated (and restored when minimised).
  void ShowWindow();
  // Pulls the window back inside the primary screen on the right, left and top.
  void ScreenCheck();
  // Placement and the window's own properties into the store; the caller writes the file.
  // Nothing until the window has been shown once, so an unshown window cannot overwrite what
  // the file holds.
  void SaveSettings();

  // The weather window is not pulled back on screen at its shows.
  void SetScreenCheckOnShow(bool on) { FScreenCheckOnShow = on; }

  const std::string& StoragePath() const { return FStoragePath; }
  TSettingsStore& Store() const { return FStore; }

  void setVisible(bool visible) override;

 protected:
  // Runs at every show, before the window appears.
  virtual void FormShow();
  // Escape without modifiers; the notepad and the spreadsheet run their own close action.
  virtual void EscapePressed();
  // Every key press in the window before its focused control gets it; true consumes it. Escape
  // has been handled before this is asked.
  virtual bool FormKeyDown(QKeyEvent& event);
  // The window's own stored values, in its section of the settings file.
  virtual void RestoreProperties(TSettingsStore& store, std::string_view section);
  virtual void SaveProperties(TSettingsStore& store, std::string_view section);

  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void RestoreSettings();
  void SaveAndWrite();
  bool PreviewKey(QKeyEvent& event);
  void MoveFrameTo(QPoint topLeft);
  void MoveSettled();

  TSettingsStore& FStore;
  std::string FStoragePath;
  bool FScreenCheckOnShow = true;
  bool FRestored = false;
  // The first show's check again once the window manager has put its frame around the window.
  bool FFrameCheckPending = false;
  // Where the frame's own code last put the window (client top left); the window manager's
  // moves elsewhere are what snapping answers.
  QPoint FPlacedAt;
  bool FPlaced = false;
  QTimer FMoveSettle;
};

}  // namespace zentrix
