#include "app/SingleInstanceGuard.h"

#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QSocketNotifier>
#include <QThread>

#include "platform/Environment.h"

namespace zentrix {
namespace {

constexpr quint32 kMagic = 0x5A4E5452;  // "ZNTR"
constexpr std::size_t kMaxMessage = 64 * 1024;

}  // namespace

TSingleInstanceGuard::TSingleInstanceGuard(const QString& title, QObject* parent) : QObject(parent), FTitle(title) {}

TSingleInstanceGuard::~TSingleInstanceGuard() {
  FListening.reset();
  for (auto& [fd, connection] : FConnections) {
    connection.Notifier.reset();
    platform::CloseLocalConnection(fd);
  }
  FListener.Close();
}

QString TSingleInstanceGuard::ServerName() const {
  return QDir(QString::fromStdString(platform::UserRuntimeFolder().string())).filePath(FTitle);
}

bool TSingleInstanceGuard::Claim(const QStringList& arguments) {
  const std::filesystem::path lockFile = platform::UserRuntimeFolder() / (FTitle.toStdString() + ".lock");
  switch (FLock.TryAcquire(lockFile)) {
    case platform::TInstanceLock::TResult::lrHeldElsewhere: {
      // The first instance may still be starting: give it a moment to listen.
      QElapsedTimer clock;
      clock.start();
      while (!HandOver(arguments) && clock.elapsed() < 3000) QThread::msleep(50);
      return false;
    }
    case platform::TInstanceLock::TResult::lrFailed:
      // Without a runtime folder there is no session to guard; run rather than refuse to start.
      return true;
    case platform::TInstanceLock::TResult::lrAcquired:
      break;
  }
  // Without a socket later starts still find the lock and end; they only cannot hand over.
  if (FListener.Listen(ServerName().toStdString())) {
    FListening = std::make_unique<QSocketNotifier>(FListener.Fd(), QSocketNotifier::Read);
    connect(FListening.get(), &QSocketNotifier::activated, this, [this] { Accept(); });
  }
  return true;
}

bool TSingleInstanceGuard::HandOver(const QStringList& arguments) const {
  QByteArray message;
  QDataStream out(&message, QIODevice::WriteOnly);
  out.setVersion(QDataStream::Qt_6_0);
  out << kMagic << arguments;
  return platform::SendToLocalListener(ServerName().toStdString(),
                                       std::string_view(message.constData(), static_cast<std::size_t>(message.size())),
                                       1500);
}

void TSingleInstanceGuard::Accept() {
  for (int fd = FListener.Accept(); fd >= 0; fd = FListener.Accept()) {
    TConnection& connection = FConnections[fd];
    connection.Notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(connection.Notifier.get(), &QSocketNotifier::activated, this, [this, fd] { Receive(fd); });
  }
}

void TSingleInstanceGuard::Receive(int fd) {
  const auto found = FConnections.find(fd);
  if (found == FConnections.end()) return;
  const platform::TLocalRead state = platform::ReadLocalConnection(fd, found->second.Message, kMaxMessage);
  if (state == platform::TLocalRead::lrMore) return;
  // A failed read or an oversized message: nothing in it counts.
  const std::string message = state == platform::TLocalRead::lrEnd ? std::move(found->second.Message) : std::string();
  Drop(fd);
  if (message.empty()) return;
  QDataStream in(QByteArray::fromRawData(message.data(), static_cast<qsizetype>(message.size())));
  in.setVersion(QDataStream::Qt_6_0);
  quint32 magic = 0;
  QStringList arguments;
  in >> magic >> arguments;
  if (in.status() != QDataStream::Ok || magic != kMagic) return;
  emit ActivateRequested(arguments);
}

void TSingleInstanceGuard::Drop(int fd) {
  const auto found = FConnections.find(fd);
  if (found == FConnections.end()) return;
  // Called from the notifier's own signal: it goes once control is back in the event loop.
  found->second.Notifier->setEnabled(false);
  found->second.Notifier.release()->deleteLater();
  FConnections.erase(found);
  platform::CloseLocalConnection(fd);
}

}  // namespace zentrix
