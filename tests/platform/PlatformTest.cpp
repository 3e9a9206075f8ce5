#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>

#include "platform/Autostart.h"
#include "platform/Environment.h"
#include "platform/InstanceLock.h"
#include "support/TempDir.h"

namespace zentrix::platform {
namespace {

namespace fs = std::filesystem;

// Sets environment variables for one test and puts the old values back.
class TEnvironment {
public:
  void Set(const char* name, std::optional<std::string> value) {
    const char* old = std::getenv(name);
    FSaved.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    if (value) setenv(name, value->c_str(), 1);
    else unsetenv(name);
  }
  ~TEnvironment() {
    for (auto it = FSaved.rbegin(); it != FSaved.rend(); ++it) {
      if (it->second) setenv(it->first.c_str(), it->second->c_str(), 1);
      else unsetenv(it->first.c_str());
    }
  }

private:
  std::vector<std::pair<std::string, std::optional<std::string>>> FSaved;
};

TEST(EnvironmentTest, XdgFoldersWithTheirFallbacks) {
  struct TCase {
    const char* Name;
    std::optional<std::string> Home, DataHome, ConfigHome;
    fs::path Data, Config;
  };
  const TCase cases[] = {
      {"Set", "/home/u", "/xdg/data", "/xdg/config", "/xdg/data", "/xdg/config"},
      {"Unset", "/home/u", std::nullopt, std::nullopt, "/home/u/.local/share", "/home/u/.config"},
      {"Empty", "/home/u", "", "", "/home/u/.local/share", "/home/u/.config"},
      {"RelativeIsIgnored", "/home/u", "data", "config", "/home/u/.local/share", "/home/u/.config"},
      {"NoHome", std::nullopt, std::nullopt, std::nullopt, "", ""},
  };
  for (const TCase& c : cases) {
    TEnvironment env;
    env.Set("HOME", c.Home);
    env.Set("XDG_DATA_HOME", c.DataHome);
    env.Set("XDG_CONFIG_HOME", c.ConfigHome);
    EXPECT_EQ(UserDataFolder(), c.Data) << c.Name;
    EXPECT_EQ(UserConfigFolder(), c.Config) << c.Name;
  }
}

TEST(EnvironmentTest, LocaleNameByPrecedence) {
  struct TCase {
    std::optional<std::string> All, Messages, Lang;
    std::string Expected;
  };
  const TCase cases[] = {
      {"cs_CZ.UTF-8", "de_DE", "fr_FR", "cs_CZ.UTF-8"},
      {std::nullopt, "de_DE", "fr_FR", "de_DE"},
      {"", "", "zh_CN.UTF-8", "zh_CN.UTF-8"},
      {std::nullopt, std::nullopt, std::nullopt, ""},
  };
  for (const TCase& c : cases) {
    TEnvironment env;
    env.Set("LC_ALL", c.All);
    env.Set("LC_MESSAGES", c.Messages);
    env.Set("LANG", c.Lang);
    EXPECT_EQ(UserLocaleName(), c.Expected);
  }
}

TEST(EnvironmentTest, ProgramPathIsThisTest) {
  EXPECT_EQ(ProgramPath().filename(), "test_platform");
  EXPECT_TRUE(ProgramPath().is_absolute());
}

class AutostartTest : public ::testing::Test {
protected:
  void SetUp() override { FEnv.Set("XDG_CONFIG_HOME", (FDir.Path() / "config").string()); }
  test::TTempDir FDir;
  TEnvironment FEnv;
};

TEST_F(AutostartTest, WritesAnEntryNamedAfterTheTitleAndRemovesIt) {
  struct TCase {
    const char* Name;
    std::string Command;
    std::string Exec;
  };
  const TCase cases[] = {
      {"Plain", "/opt/zentrix/zentrix", "Exec=\"/opt/zentrix/zentrix\"\n"},
      {"Blanks", "/home/u/my apps/zentrix", "Exec=\"/home/u/my apps/zentrix\"\n"},
      // Inside quotes ", `, $ and \ get a backslash, which the string escaping doubles; % doubles.
      {"Specials", "/a\"b/c$d/100%/e\\f", "Exec=\"/a\\\\\"b/c\\\\$d/100%%/e\\\\\\\\f\"\n"},
  };
  const fs::path entry = FDir.Path() / "config" / "autostart" / "Valtri-Zentrix.desktop";
  EXPECT_EQ(AutostartEntryPath("Valtri Zentrix"), entry);
  for (const TCase& c : cases) {
    ASSERT_TRUE(SetRunAtStartup(true, "Valtri Zentrix", c.Command)) << c.Name;
    const std::string text = test::TTempDir::Read(entry);
    EXPECT_EQ(text.rfind("[Desktop Entry]\nType=Application\nName=Valtri Zentrix\n", 0), 0u) << text;
    EXPECT_NE(text.find(c.Exec), std::string::npos) << c.Name << "\n" << text;
  }
  EXPECT_TRUE(SetRunAtStartup(false, "Valtri Zentrix", ""));
  EXPECT_FALSE(fs::exists(entry));
}

TEST_F(AutostartTest, UnwritableFolderIsQuietlySkipped) {
  FDir.Write("config/autostart", "a file where the folder belongs");
  EXPECT_FALSE(SetRunAtStartup(true, "Valtri Zentrix", "/opt/zentrix/zentrix"));
  EXPECT_EQ(test::TTempDir::Read(FDir.Path() / "config" / "autostart"), "a file where the folder belongs");
}

TEST(InstanceLockTest, OneHolderAndReleasedWhenTheHolderDies) {
  test::TTempDir dir;
  const fs::path file = dir.Path() / "Valtri Zentrix.lock";
  {
    TInstanceLock first, second;
    EXPECT_EQ(first.TryAcquire(file), TInstanceLock::TResult::lrAcquired);
    const auto stamp = fs::last_write_time(file);
    EXPECT_EQ(second.TryAcquire(file), TInstanceLock::TResult::lrHeldElsewhere);
    EXPECT_FALSE(second.Held());
    EXPECT_EQ(fs::last_write_time(file), stamp);  // the second start changed nothing
  }
  // A holder that crashes: the next start gets the lock.
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    TInstanceLock lock;
    const char c = lock.TryAcquire(file) == TInstanceLock::TResult::lrAcquired ? 'y' : 'n';
    (void)!write(ready[1], &c, 1);
    pause();
    _exit(0);
  }
  char c = 0;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  EXPECT_EQ(c, 'y');
  TInstanceLock later;
  EXPECT_EQ(later.TryAcquire(file), TInstanceLock::TResult::lrHeldElsewhere);
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  EXPECT_EQ(later.TryAcquire(file), TInstanceLock::TResult::lrAcquired);
  close(ready[0]);
  close(ready[1]);

  TInstanceLock nowhere;
  EXPECT_EQ(nowhere.TryAcquire(dir.Path() / "missing" / "x.lock"), TInstanceLock::TResult::lrFailed);
}

}  // namespace
}  // namespace zentrix::platform
