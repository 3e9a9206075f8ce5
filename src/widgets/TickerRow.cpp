#include "widgets/TickerRow.h"

#include <QEvent>
#include <QFont>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QThread>

#include <algorithm>
#include <memory>

#include "core/InterfaceTexts.h"
#include "widgets/BarImages.h"
#include "widgets/Marquee.h"
#include "widgets/TickerText.h"

namespace zentrix {

namespace {

// QTimer takes an int of milliseconds.
constexpr int kMaxRefreshMinutes = 35791;

QLabel* MakeImage(QWidget* parent, const QPixmap& pixmap) {
  auto* label = new QLabel(parent);
  label->setFixedSize(16, 16);
  label->setPixmap(pixmap);
  label->setCursor(Qt::PointingHandCursor);
  label->setMouseTracking(true);
  return label;
}

}  // namespace

TTickerRow::TTickerRow(const TInterfaceTexts& texts, QWidget* parent) : QWidget(parent), FTexts(texts) {
  setFixedHeight(RowHeight);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::black);
  setPalette(pal);

  FRSSImage = MakeImage(this, RssIcon());
  FTicker = new TMarquee(this);
  FTicker->setCursor(Qt::PointingHandCursor);
  FTicker->setMouseTracking(true);
  FSSRIcon = MakeImage(this, PauseIcon());

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addSpacing(1);
  layout->addWidget(FRSSImage, 0, Qt::AlignVCenter);
  layout->addSpacing(1);
  layout->addWidget(FTicker, 1);
  layout->addSpacing(1);
  layout->addWidget(FSSRIcon, 0, Qt::AlignVCenter);
  layout->addSpacing(1);

  QFont font;
  font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")});
  font.setPixelSize(11);
  font.setBold(true);
  FTicker->setFont(font);

  for (QWidget* w : {static_cast<QWidget*>(FRSSImage), static_cast<QWidget*>(FTicker),
                     static_cast<QWidget*>(FSSRIcon)})
    w->installEventFilter(this);

  connect(FTicker, &TMarquee::Wrapped, this, &TTickerRow::TickerWrap);
  FRSSTimer.setTimerType(Qt::VeryCoarseTimer);
  connect(&FRSSTimer, &QTimer::timeout, this, &TTickerRow::RSSTimerTimer);
  FTicker->setToolTip(QString());
  UpdateTimer();
}

TTickerRow::~TTickerRow() {
  // The ticker stops before anything else goes; a load still running finishes on its own.
  FTicker->SetActive(false);
  FRSSTimer.stop();
}

void TTickerRow::ApplySettings(const TTickerSettings& s) {
  FFeed = s.Feed;
  FRefreshMinutes = std::clamp(s.RefreshMinutes, 0, kMaxRefreshMinutes);
  FTicker->SetInterval(s.StepMs);
  FTicker->SetTextColour(s.Colour);
  QFont font = FTicker->font();
  font.setBold(s.Bold);
  FTicker->setFont(font);
  UpdateTimer();
}

void TTickerRow::SetActive(bool active) {
  FActive = active;
  if (!active) FTicker->SetActive(false);
  else if (!FTicker->Lines().isEmpty()) FTicker->SetActive(true);
  UpdatePauseIcon();
  UpdateTimer();
}

int TTickerRow::RefreshIntervalMs() const {
  return (FActive && FRefreshMinutes > 0) ? FRefreshMinutes * 60000 : 0;
}

void TTickerRow::UpdateTimer() {
  const int interval = RefreshIntervalMs();
  if (interval == 0) {
    FRSSTimer.stop();
  } else if (!FRSSTimer.isActive() || FRSSTimer.interval() != interval) {
    FRSSTimer.start(interval);
  }
}

void TTickerRow::RefreshFeed() { RSSTimerTimer(); }

QString TTickerRow::Line() const { return FTicker->Lines().join(QString()); }

QString TTickerRow::HintText() const { return FTicker->toolTip(); }

void TTickerRow::RSSTimerTimer() {
  if (FLoading) {
    // One load at a time; the latest request runs when this one is done.
    FPending = true;
    return;
  }
  FTicker->BeginUpdate();
  FTicker->SetActive(false);
  FTicker->setToolTip(QString::fromStdString(TickerFailureHint(FTexts)));
  FTicker->ClearLines();
  FTicker->EndUpdate();
  UpdatePauseIcon();
  StartLoad();
}

void TTickerRow::StartLoad() {
  FLoading = true;
  FPending = false;
  const std::uint64_t generation = ++FGeneration;
  struct TJob {
    std::string Address;
    TRSSData Data;
    bool Ok = false;
  };
  auto job = std::make_shared<TJob>();
  job->Address = FFeed;
  QThread* thread = QThread::create([job] { job->Ok = LoadRSSFeed(job->Address, job->Data); });
  // The thread object outlives a row closed during a load and removes itself when done.
  connect(thread, &QThread::finished, thread, &QObject::deleteLater);
  connect(thread, &QThread::finished, this, [this, job, generation] {
    LoadFinished(job->Ok, std::move(job->Data), generation);
  });
  thread->start(QThread::LowPriority);
}

void TTickerRow::LoadFinished(bool ok, TRSSData data, std::uint64_t generation) {
  if (generation != FGeneration) return;
  FLoading = false;
  if (ok) {
    FRSS = std::move(data);
    FTicker->BeginUpdate();
    FTicker->setToolTip(QString::fromStdString(TickerHint(FRSS, FDateTimeText)));
    FTicker->AddLine(QString::fromStdString(TickerLine(FRSS)));
    FTicker->Reset();
    FTicker->SetActive(FActive);
    FTicker->EndUpdate();
  }
  UpdatePauseIcon();
  emit FeedLoaded(ok);
  if (FPending) RSSTimerTimer();
}

void TTickerRow::TickerWrap() { FTicker->Reset(); }

void TTickerRow::SSRIconClick() {
  BringBarToFront();
  FTicker->SetActive(!FTicker->Active());
  UpdatePauseIcon();
}

void TTickerRow::BringBarToFront() {
  // Raising a top-level window does not activate it.
  if (QWidget* bar = window()) bar->raise();
}

void TTickerRow::UpdatePauseIcon() {
  FSSRIcon->setPixmap(FTicker->Active() ? PauseIcon() : PlayIcon());
}

bool TTickerRow::eventFilter(QObject* watched, QEvent* event) {
  const bool onImage = watched == FRSSImage;
  const bool onIcon = watched == FSSRIcon;
  const bool onTicker = watched == FTicker;
  if (!onImage && !onIcon && !onTicker) return QWidget::eventFilter(watched, event);
  auto* widget = static_cast<QWidget*>(watched);
  switch (event->type()) {
    case QEvent::MouseMove:
      emit MouseMovedOver();
      break;
    case QEvent::MouseButtonDblClick:
      if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        emit OpenReaderRequested();
        return true;
      }
      break;
    case QEvent::MouseButtonPress: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (onTicker) {
        FTicker->SetActive(false);
        UpdatePauseIcon();
      } else if (onImage && mouse->button() == Qt::RightButton) {
        emit MenuRequested(mouse->globalPosition().toPoint());
        return true;
      }
      break;
    }
    case QEvent::MouseButtonRelease: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      const bool inside = widget->rect().contains(mouse->position().toPoint());
      if (onTicker) {
        // A release always resumes, also after a pause from the icon.
        FTicker->SetActive(true);
        UpdatePauseIcon();
        if (inside && mouse->button() == Qt::LeftButton) BringBarToFront();
      } else if (inside && mouse->button() == Qt::LeftButton) {
        if (onIcon) SSRIconClick();
        else emit IconClicked(widget->mapToGlobal(QPoint(0, widget->height())));
      }
      break;
    }
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace zentrix
