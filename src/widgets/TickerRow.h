#pragma once

#include <QColor>
#include <QLabel>
#include <QPoint>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <string>
#include <utility>

#include "feeds/Valtri_RSS.h"
#include "sysinfo/Balloons.h"

namespace zentrix {

class TInterfaceTexts;
class TMarquee;

// The bar's second row, 18 pixels high: the RSS picture, the scrolling titles of one feed and the
// pause picture. The feed is fetched on a worker thread, so the bar's clock never waits for it.
class TTickerRow : public QWidget {
  Q_OBJECT
public:
  static constexpr int RowHeight = 18;

  TTickerRow(const TInterfaceTexts& texts, QWidget* parent = nullptr);
  ~TTickerRow() override;

  struct TTickerSettings {
    std::string Feed;     // RSS
    int RefreshMinutes;   // RRI; 0 turns the periodic refresh off
    int StepMs;           // RSI
    QColor Colour;        // RFC
    bool Bold = true;     // BL
  };
  void ApplySettings(const TTickerSettings& s);
  // DT: starts or stops the timer and the scrolling (the bar shows or hides the row itself).
  void SetActive(bool active);
  bool IsActive() const { return FActive; }
  // Loads the feed now, off the UI thread. A request while a load runs is kept and run after it.
  void RefreshFeed();
  // How the hint writes the feed's date (the user's date and time formats).
  void SetDateTimeText(TDateTimeText dateTimeText) { FDateTimeText = std::move(dateTimeText); }

  QString Line() const;
  QString HintText() const;

  bool Loading() const { return FLoading; }
  int RefreshIntervalMs() const;   // 0 when the timer is off
  bool RefreshTimerRunning() const { return FRSSTimer.isActive(); }
  const TRSSData& Feed() const { return FRSS; }
  TMarquee* Ticker() const { return FTicker; }
  QLabel* RSSImage() const { return FRSSImage; }
  QLabel* SSRIcon() const { return FSSRIcon; }

signals:
  void OpenReaderRequested();                  // double-clicks that open the RSS reader
  void IconClicked(QPoint globalBottomLeft);   // left click on RSSImage: the bar opens its menu there
  void MenuRequested(QPoint globalPos);        // right click on RSSImage: the bar's popup menu
  void MouseMovedOver();                       // for an auto-hidden bar
  void FeedLoaded(bool ok);                    // after every load

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void RSSTimerTimer();
  void StartLoad();
  void LoadFinished(bool ok, TRSSData data, std::uint64_t generation);
  void TickerWrap();
  void SSRIconClick();
  void BringBarToFront();
  void UpdateTimer();
  void UpdatePauseIcon();

  const TInterfaceTexts& FTexts;
  TMarquee* FTicker = nullptr;
  QLabel* FRSSImage = nullptr;
  QLabel* FSSRIcon = nullptr;
  QTimer FRSSTimer;
  TRSSData FRSS;
  std::string FFeed;
  TDateTimeText FDateTimeText = DefaultDateTimeText;
  int FRefreshMinutes = 15;
  bool FActive = true;
  bool FLoading = false;
  bool FPending = false;
  std::uint64_t FGeneration = 0;
};

}  // namespace zentrix
