#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QDataStream>
#include <QLocalSocket>
#include <QProcess>
#include <QStandardPaths>

#include "app/SingleInstanceGuard.h"

namespace zentrix {
namespace {

// A running probe with its output read as it comes.
class TProbe {
public:
  explicit TProbe(const QStringList& args = {}) {
    FProcess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    FProcess.start(QStringLiteral(ZENTRIX_GUARD_PROBE), args);
  }
  ~TProbe() {
    if (FProcess.state() != QProcess::NotRunning) {
      FProcess.kill();
      FProcess.waitForFinished(5000);
    }
  }
  // Waits until a line starting with prefix arrives; returns it.
  QString WaitForLine(const QString& prefix, int ms = 10000) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
      while (FProcess.canReadLine()) {
        const QString line = QString::fromUtf8(FProcess.readLine()).trimmed();
        if (line.startsWith(prefix)) return line;
      }
      if (!FProcess.waitForReadyRead(100) && FProcess.state() == QProcess::NotRunning) break;
    }
    return {};
  }
  QProcess& Process() { return FProcess; }

private:
  QProcess FProcess;
};

// Starts a second probe and waits for it to end; returns its exit code and how long it ran.
std::pair<int, qint64> RunSecond(const QStringList& args) {
  QElapsedTimer clock;
  clock.start();
  QProcess second;
  second.start(QStringLiteral(ZENTRIX_GUARD_PROBE), args);
  if (!second.waitForFinished(10000)) {
    second.kill();
    second.waitForFinished();
    return {-1, clock.elapsed()};
  }
  return {second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -1, clock.elapsed()};
}

QStringList RuntimeEntries() {
  return QDir(QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR"))).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
}

TEST(SingleInstanceGuardTest, SecondStartHandsOverItsCommandLineAndEnds) {
  TProbe first;
  ASSERT_EQ(first.WaitForLine(QStringLiteral("primary")), QStringLiteral("primary"));
  const QStringList before = RuntimeEntries();
  EXPECT_TRUE(before.contains(QStringLiteral("Valtri Zentrix")));

  struct TCase {
    QStringList Args;
    QString Expected;
  };
  const TCase cases[] = {{{}, QStringLiteral("activate:")},
                         {{QStringLiteral("-nuc"), QStringLiteral("a b")}, QStringLiteral("activate:-nuc|a b")},
                         {{QStringLiteral("生日")}, QStringLiteral("activate:生日")}};
  for (const TCase& c : cases) {
    const auto [code, ms] = RunSecond(c.Args);
    EXPECT_EQ(code, 0);
    EXPECT_LT(ms, 5000);
    EXPECT_EQ(first.WaitForLine(QStringLiteral("activate:")), c.Expected);
  }
  // The second starts created nothing.
  EXPECT_EQ(RuntimeEntries(), before);
  EXPECT_EQ(first.Process().state(), QProcess::Running);
}

TEST(SingleInstanceGuardTest, CrashedFirstInstanceDoesNotBlockTheNext) {
  {
    TProbe crashed;
    ASSERT_EQ(crashed.WaitForLine(QStringLiteral("primary")), QStringLiteral("primary"));
    crashed.Process().kill();  // SIGKILL: the socket file stays behind
    crashed.Process().waitForFinished(5000);
  }
  ASSERT_TRUE(RuntimeEntries().contains(QStringLiteral("Valtri Zentrix")));
  TProbe next;
  EXPECT_EQ(next.WaitForLine(QStringLiteral("primary")), QStringLiteral("primary"));
  const auto [code, ms] = RunSecond({QStringLiteral("quit")});
  EXPECT_EQ(code, 0);
  EXPECT_EQ(next.WaitForLine(QStringLiteral("activate:")), QStringLiteral("activate:quit"));
  EXPECT_TRUE(next.Process().waitForFinished(5000));
}

TEST(SingleInstanceGuardTest, GarbageOnTheSocketIsIgnored) {
  TProbe first;
  ASSERT_EQ(first.WaitForLine(QStringLiteral("primary")), QStringLiteral("primary"));
  TSingleInstanceGuard guard(QStringLiteral("Valtri Zentrix"));
  // Too long for a command line, short garbage, a well-formed start cut off, nothing at all.
  QByteArray cut;
  QDataStream(&cut, QIODevice::WriteOnly) << quint32(0x5A4E5452) << QStringList{QStringLiteral("cut")};
  cut.chop(3);
  for (const QByteArray& bytes : {QByteArray(100000, 'x'), QByteArray("not a command line"), cut, QByteArray()}) {
    QLocalSocket socket;
    socket.connectToServer(guard.ServerName());
    ASSERT_TRUE(socket.waitForConnected(2000));
    socket.write(bytes);
    socket.waitForBytesWritten(2000);
    socket.disconnectFromServer();
  }
  // The first instance is still there and still answers a real hand-over.
  EXPECT_EQ(RunSecond({QStringLiteral("again")}).first, 0);
  EXPECT_EQ(first.WaitForLine(QStringLiteral("activate:")), QStringLiteral("activate:again"));
}

}  // namespace
}  // namespace zentrix
