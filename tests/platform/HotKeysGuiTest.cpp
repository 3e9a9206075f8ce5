#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QThread>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <chrono>
#include <string>
#include <thread>

#include "app/ShortcutKeys.h"
#include "app/UpdateChecker.h"
#include "app/UpdateSchedule.h"
#include "platform/ShortcutCodes.h"
#include "support/RunProcess.h"
#include "support/TempDir.h"
#include "support/TestHttpServer.h"

namespace zentrix {
namespace {

using namespace std::chrono_literals;
using TMs = std::chrono::milliseconds;

// --- Qt keys and codes ---------------------------------------------------------------------

struct TQtKeyCase {
  const char* Name;
  QKeyCombination Combination;
  std::uint16_t Code;
  const char* Text;
};

class ShortcutQtKeys : public ::testing::TestWithParam<TQtKeyCase> {};

TEST_P(ShortcutQtKeys, QtKeyCodeAndTextAgree) {
  const TQtKeyCase& c = GetParam();
  EXPECT_EQ(ShortcutFromQt(c.Combination), c.Code);
  EXPECT_EQ(ShortcutToQt(c.Code), c.Combination);
  EXPECT_EQ(ShortcutText(c.Code), QString::fromUtf8(c.Text));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ShortcutQtKeys,
    ::testing::Values(TQtKeyCase{"CtrlAltL", Qt::CTRL | Qt::ALT | Qt::Key_L, 49228, "Ctrl+Alt+L"},
                      TQtKeyCase{"ShiftF5", Qt::SHIFT | Qt::Key_F5, 0x2074, "Shift+F5"},
                      TQtKeyCase{"Digit", Qt::CTRL | Qt::Key_7, 0x4037, "Ctrl+7"},
                      TQtKeyCase{"KeypadDigitIsNotTheDigit", QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_7), 0x4067,
                                 "Ctrl+Num 7"},
                      TQtKeyCase{"KeypadMinusIsNotMinus", QKeyCombination(Qt::AltModifier | Qt::KeypadModifier, Qt::Key_Minus), 0x806D,
                                 "Alt+Num -"},
                      TQtKeyCase{"Minus", Qt::ALT | Qt::Key_Minus, 0x80BD, "Alt+-"},
                      TQtKeyCase{"Delete", Qt::CTRL | Qt::ALT | Qt::Key_Delete, 0xC02E, "Ctrl+Alt+Del"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(ShortcutQtKeys, KeysWithoutACode) {
  struct TCase {
    const char* Name;
    QKeyCombination Combination;
  };
  for (const TCase& c : {TCase{"MetaHasNoBit", Qt::META | Qt::Key_L}, TCase{"ModifierAlone", Qt::CTRL | Qt::Key_Control},
                         TCase{"UnknownKey", QKeyCombination(Qt::Key_unknown)}})
    EXPECT_EQ(ShortcutFromQt(c.Combination), 0) << c.Name;
  EXPECT_TRUE(ShortcutToKeySequence(0).isEmpty());
  EXPECT_TRUE(ShortcutText(0).isEmpty());
  EXPECT_EQ(ShortcutToKeySequence(49228), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_L));
}

TEST(ShortcutQtKeys, EveryTableKeyRoundTripsThroughQt) {
  std::size_t count = 0;
  const TShortcutKey* keys = ShortcutKeys(count);
  for (std::size_t i = 0; i < count; ++i) {
    const auto code = static_cast<std::uint16_t>(keys[i].VirtualKey | kShortcutCtrl | kShortcutAlt);
    EXPECT_EQ(ShortcutFromQt(ShortcutToQt(code)), code) << keys[i].Name;
  }
}

// --- The schedule ----------------------------------------------------------------------------

constexpr TMs k15Min = 15min;
constexpr TMs k5h = 5h;

struct TStep {
  TMs At;
  enum { stTry, stFinish } Kind;
  TUpdateOutcome Outcome;
  bool Expected;  // stTry: whether a check starts
};

struct TScheduleCase {
  const char* Name;
  bool Nuc;
  std::vector<TStep> Steps;
  std::optional<TMs> NextAtEnd;
};

class UpdateScheduleTest : public ::testing::TestWithParam<TScheduleCase> {};

TEST_P(UpdateScheduleTest, FollowsTheSteps) {
  const TScheduleCase& c = GetParam();
  TUpdateSchedule schedule(c.Nuc, TMs(0));
  for (std::size_t i = 0; i < c.Steps.size(); ++i) {
    const TStep& step = c.Steps[i];
    if (step.Kind == TStep::stTry) EXPECT_EQ(schedule.StartIfDue(step.At), step.Expected) << "step " << i;
    else schedule.Finished(step.Outcome, step.At);
  }
  EXPECT_EQ(schedule.NextCheck(), c.NextAtEnd);
}

constexpr auto kNone = TUpdateOutcome::uoNoUpdate;
constexpr auto kError = TUpdateOutcome::uoDownloadError;
constexpr auto kOffer = TUpdateOutcome::uoUpdateAvailable;

INSTANTIATE_TEST_SUITE_P(
    Schedule, UpdateScheduleTest,
    ::testing::Values(
        TScheduleCase{"FirstCheckAfterFifteenMinutesNotAtStart",
                      false,
                      {{TMs(0), TStep::stTry, kNone, false}, {k15Min - 1ms, TStep::stTry, kNone, false},
                       {k15Min, TStep::stTry, kNone, true}},
                      std::nullopt},
        TScheduleCase{"NothingFoundMeansFiveHoursFromTheEndOfTheCheck",
                      false,
                      {{k15Min, TStep::stTry, kNone, true}, {k15Min + 3s, TStep::stFinish, kNone, false},
                       {k15Min + 3s + k5h - 1ms, TStep::stTry, kNone, false},
                       {k15Min + 3s + k5h, TStep::stTry, kNone, true}},
                      std::nullopt},
        TScheduleCase{"ADownloadErrorAlsoRetriesInFiveHours",
                      false,
                      {{k15Min, TStep::stTry, kNone, true}, {k15Min, TStep::stFinish, kError, false}},
                      k15Min + k5h},
        TScheduleCase{"AndEveryFiveHoursAfterThat",
                      false,
                      {{k15Min, TStep::stTry, kNone, true}, {k15Min, TStep::stFinish, kError, false},
                       {k15Min + k5h, TStep::stTry, kNone, true}, {k15Min + k5h, TStep::stFinish, kNone, false}},
                      k15Min + 2 * k5h},
        TScheduleCase{"NeverTwoAtOnce",
                      false,
                      {{k15Min, TStep::stTry, kNone, true}, {k15Min + k5h * 3, TStep::stTry, kNone, false}},
                      std::nullopt},
        TScheduleCase{"AnOfferEndsTheChecksForThisRun",
                      false,
                      {{k15Min, TStep::stTry, kNone, true}, {k15Min, TStep::stFinish, kOffer, false},
                       {k15Min + k5h * 10, TStep::stTry, kNone, false}},
                      std::nullopt},
        TScheduleCase{"NucNeverChecks",
                      true,
                      {{k15Min, TStep::stTry, kNone, false}, {k5h * 100, TStep::stTry, kNone, false}},
                      std::nullopt}),
    [](const auto& info) { return std::string(info.param.Name); });

// --- Verified connection only -----------------------------------------------------------------

TEST(UpdateCheckVerified, APlainHttpPageIsNeverFetched) {
  test::TTestHttpServer server;
  server.Route("/webupdate.html",
               test::TTestReply::Ok("<META NAME=\"Zentrix名称\" CONTENT=\"Zentrix\">\n"
                                    "<META NAME=\"Zentrix版本\" CONTENT=\"9.0.0.0\">\n",
                                    "text/html"));
  // The same page offers 9.0 when fetched the ordinary way...
  EXPECT_EQ(CheckForUpdate(server.Url("/webupdate.html"), "1.0.0.0").Outcome, TUpdateOutcome::uoUpdateAvailable);
  const int before = server.RequestCount("/webupdate.html");
  // ...but over plain HTTP, or without a scheme (which means plain HTTP), it offers nothing.
  for (const std::string& address : {server.Url("/webupdate.html"), server.HostPort() + "/webupdate.html"})
    EXPECT_EQ(CheckForUpdateVerified(address, "1.0.0.0").Outcome, TUpdateOutcome::uoDownloadError) << address;
  EXPECT_EQ(server.RequestCount("/webupdate.html"), before);
}

// Product pages over TLS: "openssl s_server -WWW" serves the files of its folder with a
// certificate made for 127.0.0.1.
class TTlsPages {
public:
  TTlsPages() {
    const std::string dir = FDir.Path().string();
    FCertificate = dir + "/server.pem";
    const auto made = test::RunProcess(
        "/usr/bin/openssl", {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
                             "-keyout", dir + "/server.key", "-out", FCertificate, "-days", "2", "-subj",
                             "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1"});
    if (made.ExitCode != 0) return;
    const std::string log = dir + "/s_server.log";
    FPid = fork();
    if (FPid == 0) {
      if (chdir(dir.c_str()) != 0) _exit(127);
      const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      const int null = open("/dev/null", O_RDONLY);
      dup2(null, 0);
      dup2(out, 1);
      dup2(out, 2);
      execl("/usr/bin/openssl", "openssl", "s_server", "-4", "-accept", "0", "-cert", "server.pem", "-key",
            "server.key", "-WWW", static_cast<char*>(nullptr));
      _exit(127);
    }
    for (int i = 0; i < 500 && FPort == 0; ++i) {
      std::ifstream in(log);
      std::stringstream text;
      text << in.rdbuf();
      const std::string s = text.str();
      const std::size_t accept = s.find("ACCEPT ");
      const std::size_t end = accept == std::string::npos ? std::string::npos : s.find('\n', accept);
      if (end != std::string::npos) {
        FPort = std::stoi(s.substr(s.rfind(':', end) + 1));
      } else {
        std::this_thread::sleep_for(20ms);
      }
    }
  }
  ~TTlsPages() {
    if (FPid > 0) {
      kill(FPid, SIGTERM);
      waitpid(FPid, nullptr, 0);
    }
  }
  bool Started() const { return FPort != 0; }
  void Put(const std::string& name, const std::string& text) { std::ofstream(FDir.Path() / name) << text; }
  std::string Url(const std::string& name) const {
    return "https://127.0.0.1:" + std::to_string(FPort) + "/" + name;
  }
  THttpOptions Trusting() const {
    THttpOptions options;
    options.CaFile = FCertificate;
    options.TotalTimeoutMs = 5000;
    return options;
  }

private:
  test::TTempDir FDir;
  std::string FCertificate;
  pid_t FPid = -1;
  int FPort = 0;
};

std::string Page(const std::string& version, const std::string& redirection = {}) {
  std::string page = "<HTML><HEAD>\n<META NAME=\"Zentrix名称\" CONTENT=\"Zentrix\">\n";
  if (!version.empty()) page += "<META NAME=\"Zentrix版本\" CONTENT=\"" + version + "\">\n";
  if (!redirection.empty()) page += "<META NAME=\"MX重定向\" CONTENT=\"" + redirection + "\">\n";
  return page + "</HEAD></HTML>\n";
}

TEST(UpdateCheckVerified, PagesOverVerifiedTls) {
  TTlsPages tls;
  if (!tls.Started()) GTEST_SKIP() << "openssl s_server did not start";
  test::TTestHttpServer plain;
  plain.Route("/plain.html", test::TTestReply::Ok(Page("9.0.0.0"), "text/html"));
  tls.Put("newer.html", Page("1.10.0.0"));
  tls.Put("same.html", Page("1.9.0.0"));
  tls.Put("second.html", Page("2.0.0.0"));
  tls.Put("hop.html", Page("", tls.Url("second.html")));
  tls.Put("downgrade.html", Page("", plain.Url("/plain.html")));

  struct TCase {
    const char* Name;
    std::string Page;
    bool Trusted;
    TUpdateOutcome Outcome;
    const char* Version;
  };
  const std::vector<TCase> cases = {
      {"NewerNumbersNotText", "newer.html", true, TUpdateOutcome::uoUpdateAvailable, "1.10.0.0"},
      {"SameVersion", "same.html", true, TUpdateOutcome::uoNoUpdate, "1.9.0.0"},
      {"RedirectionOverTls", "hop.html", true, TUpdateOutcome::uoUpdateAvailable, "2.0.0.0"},
      {"CertificateNotTrusted", "newer.html", false, TUpdateOutcome::uoDownloadError, ""},
      {"RedirectionToPlainHttp", "downgrade.html", true, TUpdateOutcome::uoDownloadError, ""},
  };
  for (const TCase& c : cases) {
    THttpOptions options = c.Trusted ? tls.Trusting() : THttpOptions{};
    options.TotalTimeoutMs = 5000;
    const TUpdateCheck check = CheckForUpdateVerified(tls.Url(c.Page), "1.9.0.0", options);
    EXPECT_EQ(check.Outcome, c.Outcome) << c.Name;
    if (c.Outcome != TUpdateOutcome::uoDownloadError) {
      EXPECT_EQ(check.NewVersion, c.Version) << c.Name;
    }
  }
  EXPECT_EQ(plain.RequestCount("/plain.html"), 0);
}

// --- The checker on the event loop ------------------------------------------------------------

// Runs the event loop until pred holds or the time is up.
template <typename TPred>
bool ProcessUntil(TPred pred, TMs timeout = 5s) {
  QElapsedTimer clock;
  clock.start();
  while (!pred() && clock.elapsed() < timeout.count()) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  return pred();
}

class UpdateCheckerTest : public ::testing::Test {
protected:
  // A worker still running would outlive the fixture it reports to.
  void TearDown() override {
    ProcessUntil([this] { return FRunning == 0; });
    ProcessUntil([] { return false; }, 50ms);
  }

  // A check that takes a while on its worker thread and answers what the test asks for.
  void Prepare(TUpdateChecker& checker, TUpdateOutcome outcome, TMs first = 50ms, TMs retry = 80ms) {
    checker.SetIntervals(first, retry);
    checker.SetCheck([this, outcome](const std::string& url, const std::string& version) {
      FUrl = url;
      FVersion = version;
      FOnUiThread = QThread::currentThread() == QCoreApplication::instance()->thread();
      const int running = ++FRunning;
      FMaxRunning = std::max(FMaxRunning.load(), running);
      std::this_thread::sleep_for(100ms);
      ++FCalls;
      --FRunning;
      return TUpdateCheck{outcome, "2.0.0.0"};
    });
  }
  std::atomic<int> FCalls{0};
  std::atomic<int> FRunning{0};
  std::atomic<int> FMaxRunning{0};
  std::atomic<bool> FOnUiThread{true};
  std::string FUrl, FVersion;
};

TEST_F(UpdateCheckerTest, ChecksOffTheUiThreadAndOffersANewerVersionOnce) {
  TUpdateChecker checker("https://zentrix.invalid/webupdate.html", "1.8.0.0");
  Prepare(checker, TUpdateOutcome::uoUpdateAvailable);
  QSignalSpy offers(&checker, &TUpdateChecker::UpdateAvailable);
  checker.Start(false);
  ASSERT_TRUE(ProcessUntil([&] { return offers.count() == 1; }));
  EXPECT_EQ(offers.at(0).at(0).toString(), "2.0.0.0");
  EXPECT_FALSE(FOnUiThread);
  EXPECT_EQ(FUrl, "https://zentrix.invalid/webupdate.html");
  EXPECT_EQ(FVersion, "1.8.0.0");
  // Well past several retry intervals: no second check, no second question.
  ProcessUntil([] { return false; }, 500ms);
  EXPECT_EQ(FCalls, 1);
  EXPECT_EQ(offers.count(), 1);
  EXPECT_FALSE(checker.Enabled());
}

TEST_F(UpdateCheckerTest, KeepsCheckingAfterNothingFoundButNeverTwoAtOnce) {
  TUpdateChecker checker("https://zentrix.invalid/webupdate.html", "1.8.0.0");
  // The retry interval is shorter than a check takes.
  Prepare(checker, TUpdateOutcome::uoNoUpdate, 20ms, 10ms);
  QSignalSpy offers(&checker, &TUpdateChecker::UpdateAvailable);
  QSignalSpy finished(&checker, &TUpdateChecker::CheckFinished);
  checker.Start(false);
  ASSERT_TRUE(ProcessUntil([&] { return finished.count() >= 3; }));
  EXPECT_EQ(FMaxRunning, 1);
  EXPECT_EQ(offers.count(), 0);
  EXPECT_TRUE(checker.Enabled());
}

TEST_F(UpdateCheckerTest, NucNeverChecks) {
  TUpdateChecker checker("https://zentrix.invalid/webupdate.html", "1.8.0.0");
  Prepare(checker, TUpdateOutcome::uoUpdateAvailable, 1ms, 1ms);
  checker.Start(true);
  ProcessUntil([] { return false; }, 300ms);
  EXPECT_EQ(FCalls, 0);
}

TEST_F(UpdateCheckerTest, AResultArrivingAfterTheCheckerIsGoneIsDropped) {
  {
    TUpdateChecker checker("https://zentrix.invalid/webupdate.html", "1.8.0.0");
    Prepare(checker, TUpdateOutcome::uoUpdateAvailable, 1ms, 1ms);
    checker.Start(false);
    ASSERT_TRUE(ProcessUntil([&] { return FRunning == 1; }));
  }
  // The worker finishes against a destroyed checker; nothing may touch it.
  ASSERT_TRUE(ProcessUntil([&] { return FCalls == 1; }));
  ProcessUntil([] { return false; }, 100ms);
}

}  // namespace
}  // namespace zentrix
