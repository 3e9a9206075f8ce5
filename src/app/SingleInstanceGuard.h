#pragma once

#include <QObject>
#include <QStringList>

#include <map>
#include <memory>
#include <string>

#include "platform/InstanceLock.h"
#include "platform/LocalSocket.h"

class QSocketNotifier;

namespace zentrix {

// One bar per user session. The first start takes a lock in the session's runtime folder and
// listens on a local socket named after the application title; a later start finds the lock
// held, hands its command line to the first over the socket and is told to end. The lock goes
// with its holder, so a socket left behind by a crashed run is removed by the next first start.
class TSingleInstanceGuard : public QObject {
  Q_OBJECT

public:
  explicit TSingleInstanceGuard(const QString& title, QObject* parent = nullptr);
  ~TSingleInstanceGuard() override;

  // True: this process is the one instance and now listens. False: another instance runs and
  // has been handed arguments; the caller ends at once with status 0. Touches no file then.
  bool Claim(const QStringList& arguments);

  // The socket's full path: <runtime folder>/<title>.
  QString ServerName() const;

signals:
  // A later start asked this instance to come to the front; arguments is its command line.
  void ActivateRequested(const QStringList& arguments);

private:
  struct TConnection {
    std::unique_ptr<QSocketNotifier> Notifier;
    std::string Message;
  };
  void Accept();
  void Receive(int fd);
  void Drop(int fd);
  bool HandOver(const QStringList& arguments) const;

  QString FTitle;
  platform::TInstanceLock FLock;
  platform::TLocalListener FListener;
  std::unique_ptr<QSocketNotifier> FListening;
  std::map<int, TConnection> FConnections;
};

}  // namespace zentrix
