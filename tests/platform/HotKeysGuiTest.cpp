#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QThread>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "app/ShortcutKeys.h"
#include "app/UpdateChecker.h"
#include "app/UpdateSchedule.h"
#include "platform/ShortcutCodes.h"
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

TEST(UpdateCheckVerified, HttpsToAServerSpeakingPlainHttpFails) {
  test::TTestHttpServer server;
  server.Route("/webupdate.html", test::TTestReply::Ok("<META NAME=\"Zentrix版本\" CONTENT=\"9.0.0.0\">\n"));
  THttpOptions quick;
  quick.ConnectTimeoutMs = 2000;
  quick.TotalTimeoutMs = 4000;
  const std::string address = "https://" + server.HostPort() + "/webupdate.html";
  EXPECT_EQ(CheckForUpdateVerified(address, "1.0.0.0", quick).Outcome, TUpdateOutcome::uoDownloadError);
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
