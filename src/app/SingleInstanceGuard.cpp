#include "app/SingleInstanceGuard.h"

#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include "platform/Environment.h"

namespace zentrix {
namespace {

constexpr quint32 kMagic = 0x5A4E5452;  // "ZNTR"
constexpr qint64 kMaxMessage = 64 * 1024;
constexpr const char* kOversized = "zentrixOversized";

}  // namespace

TSingleInstanceGuard::TSingleInstanceGuard(const QString& title, QObject* parent) : QObject(parent), FTitle(title) {}

TSingleInstanceGuard::~TSingleInstanceGuard() {
  if (FServer != nullptr) FServer->close();
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
  QLocalServer::removeServer(ServerName());
  FServer = new QLocalServer(this);
  FServer->setSocketOptions(QLocalServer::UserAccessOption);
  connect(FServer, &QLocalServer::newConnection, this, &TSingleInstanceGuard::Accept);
  FServer->listen(ServerName());
  return true;
}

bool TSingleInstanceGuard::HandOver(const QStringList& arguments) const {
  QLocalSocket socket;
  socket.connectToServer(ServerName());
  if (!socket.waitForConnected(500)) return false;
  QByteArray message;
  QDataStream out(&message, QIODevice::WriteOnly);
  out.setVersion(QDataStream::Qt_6_0);
  out << kMagic << arguments;
  socket.write(message);
  const bool sent = socket.waitForBytesWritten(1000);
  socket.disconnectFromServer();
  if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(1000);
  return sent;
}

void TSingleInstanceGuard::Accept() {
  while (QLocalSocket* socket = FServer->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, this, [this, socket] { Receive(socket); });
    connect(socket, &QLocalSocket::readyRead, socket, [socket] {
      if (socket->bytesAvailable() > kMaxMessage && !socket->property(kOversized).toBool()) {
        socket->setProperty(kOversized, true);
        // Not from inside the socket's own signal: the socket still reads after it returns.
        QMetaObject::invokeMethod(socket, &QLocalSocket::abort, Qt::QueuedConnection);
      }
    });
  }
}

void TSingleInstanceGuard::Receive(QLocalSocket* socket) {
  socket->deleteLater();
  // An oversized message is being cut off by abort(): nothing in it counts.
  if (socket->property(kOversized).toBool() || !socket->isOpen()) return;
  const QByteArray message = socket->readAll();
  if (message.size() > kMaxMessage) return;
  QDataStream in(message);
  in.setVersion(QDataStream::Qt_6_0);
  quint32 magic = 0;
  QStringList arguments;
  in >> magic >> arguments;
  if (in.status() != QDataStream::Ok || magic != kMagic) return;
  emit ActivateRequested(arguments);
}

}  // namespace zentrix
