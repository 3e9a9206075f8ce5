#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "settings/SettingsStore.h"
#include "support/TempDir.h"

namespace zentrix {
namespace {

class SettingsStoreTest : public ::testing::Test {
protected:
  std::filesystem::path File() const { return FDir.Path() / "Zentrix.ini"; }
  std::string OnDisk() const { return test::TTempDir::Read(File()); }
  // A new store on the same file, as at the next start.
  TSettingsStore Reopen() const { return TSettingsStore(File()); }

  test::TTempDir FDir;
};

TEST(StoragePathTest, SectionIsBeforeTheLastBackslash) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"主要\\WRI", "主要", "WRI"},
      {"WRI", "一般", "WRI"},
      {"a\\b\\c", "a\\b", "c"},
      {"计算器\\", "计算器", ""},
      {"\\k", "", "k"},
  };
  for (const auto& [path, section, key] : cases) {
    const TStoragePath where = SplitStoragePath(path);
    EXPECT_EQ(where.Section, section) << path;
    EXPECT_EQ(where.Key, key) << path;
  }
}

TEST_F(SettingsStoreTest, EveryKindRoundTripsThroughTheFile) {
  TSettingsStore store(File());
  store.WriteBoolean("主要\\BL", true);
  store.WriteBoolean("主要\\AH", false);
  store.WriteInteger("主要\\WRI", 0);
  store.WriteInteger("主要\\RFC", 10930928);
  store.WriteInteger("主要\\Neg", -2147483647 - 1);
  store.WriteString("主要\\WL", "Praha,CZ");
  store.WriteString("主要\\EN", "Narozeniny 生日");
  store.WriteReal("主要\\EDT", 41000.25);
  store.WriteReal("主要\\Tiny", std::numeric_limits<double>::denorm_min());
  store.WriteString("NoSection", "in the default section");
  store.Flush();

  TSettingsStore again = Reopen();
  EXPECT_TRUE(again.ReadBoolean("主要\\BL", false));
  EXPECT_FALSE(again.ReadBoolean("主要\\AH", true));
  EXPECT_EQ(again.ReadInteger("主要\\WRI", 60), 0);
  EXPECT_EQ(again.ReadInteger("主要\\RFC", 0), 10930928);
  EXPECT_EQ(again.ReadInteger("主要\\Neg", 0), -2147483647 - 1);
  EXPECT_EQ(again.ReadString("主要\\WL", ""), "Praha,CZ");
  EXPECT_EQ(again.ReadString("主要\\EN", ""), "Narozeniny 生日");
  EXPECT_EQ(again.ReadReal("主要\\EDT", 0), 41000.25);
  EXPECT_EQ(again.ReadReal("主要\\Tiny", 0), std::numeric_limits<double>::denorm_min());
  EXPECT_EQ(again.ReadString("一般\\NoSection", ""), "in the default section");

  // The file is one a person can read: Chinese names and values as they are, UTF-8 bytes.
  const std::string disk = OnDisk();
  for (const char* line : {"[主要]\n", "BL=真的\n", "AH=错误的\n", "EN=Narozeniny 生日\n", "EDT=00000000004028A00E40\n",
                           "[一般]\nNoSection=in the default section\n"})
    EXPECT_NE(disk.find(line), std::string::npos) << line;
}

TEST_F(SettingsStoreTest, BooleansReadInEveryWrittenForm) {
  FDir.Write("Zentrix.ini",
             "[主要]\nA=Y\nB=N\nC=y\nD=n\nE=真的\nF=错误的\nG=是的\nH=不\nI=1\nJ=0\nK=-3\nL=$0\n");
  TSettingsStore store = Reopen();
  const std::pair<const char*, bool> cases[] = {{"A", true},  {"B", false}, {"C", true},  {"D", false},
                                                {"E", true},  {"F", false}, {"G", true},  {"H", false},
                                                {"I", true},  {"J", false}, {"K", true},  {"L", false}};
  for (const auto& [key, expected] : cases) {
    EXPECT_EQ(store.ReadBoolean(std::string("主要\\") + key, !expected), expected) << key;
  }
}

TEST_F(SettingsStoreTest, ValuesThatCannotBeReadRaise) {
  FDir.Write("Zentrix.ini",
             "[主要]\nWRI=sixty\nBig=2147483648\nEmpty=\nBL=maybe\nEDT=41000.5\nShort=0000000000000080FF3\n"
             "Hex=0x1F\nDollar=$FFFFFFFF\n");
  TSettingsStore store = Reopen();
  struct TCase {
    const char* Path;
    char Kind;  // i integer, b Boolean, r real
  };
  const TCase bad[] = {{"主要\\WRI", 'i'}, {"主要\\Big", 'i'}, {"主要\\Empty", 'i'}, {"主要\\BL", 'b'},
                       {"主要\\Empty", 'b'}, {"主要\\EDT", 'r'}, {"主要\\Short", 'r'}, {"主要\\WRI", 'r'}};
  for (const TCase& c : bad) {
    try {
      if (c.Kind == 'i') store.ReadInteger(c.Path, 0);
      if (c.Kind == 'b') store.ReadBoolean(c.Path, false);
      if (c.Kind == 'r') store.ReadReal(c.Path, 0);
      ADD_FAILURE() << c.Path << " read without error";
    } catch (const ESettingsError& e) {
      // The message names the value's place.
      EXPECT_NE(std::string(e.what()).find(c.Path), std::string::npos) << e.what();
    }
  }
  EXPECT_EQ(store.ReadInteger("主要\\Hex", 0), 31);
  EXPECT_EQ(store.ReadInteger("主要\\Dollar", 0), -1);
}

TEST_F(SettingsStoreTest, MissingFileAndKeysGiveDefaultsAndWriteNothing) {
  TSettingsStore store = Reopen();
  EXPECT_EQ(store.ReadInteger("主要\\WRI", 60), 60);
  EXPECT_TRUE(store.ReadBoolean("主要\\DT", true));
  EXPECT_EQ(store.ReadString("主要\\WL", "Prague,CZ"), "Prague,CZ");
  EXPECT_EQ(store.ReadReal("主要\\EDT", 0), 0);
  EXPECT_FALSE(store.ValueExists("主要\\WRI"));
  store.Flush();
  EXPECT_FALSE(std::filesystem::exists(File()));
}

TEST_F(SettingsStoreTest, ValueThatWouldBreakTheFileIsRefused) {
  TSettingsStore store = Reopen();
  EXPECT_THROW(store.WriteString("主要\\EN", "two\nlines"), ESettingsError);
  EXPECT_THROW(store.WriteString("bad]section\\k", "v"), ESettingsError);
  EXPECT_FALSE(store.Modified());
}

TEST_F(SettingsStoreTest, KeepsLinesItDoesNotKnow) {
  FDir.Write("Zentrix.ini", "; edited by hand\n[主要]\nWRI=30\n# my weather\n[Other]\nX=1\n");
  TSettingsStore store = Reopen();
  store.WriteInteger("主要\\WRI", 45);
  store.Flush();
  EXPECT_EQ(OnDisk(), "; edited by hand\n[主要]\nWRI=45\n# my weather\n[Other]\nX=1\n");
}

TEST_F(SettingsStoreTest, UnreadableFileIsNeverOverwritten) {
  // A folder where the file should be: reading fails, and so must every later flush.
  std::filesystem::create_directory(File());
  TSettingsStore store = Reopen();
  EXPECT_THROW(store.ReadInteger("主要\\WRI", 60), ESettingsError);
  EXPECT_THROW(store.WriteInteger("主要\\WRI", 1), ESettingsError);
  EXPECT_TRUE(std::filesystem::is_directory(File()));
}

}  // namespace
}  // namespace zentrix
