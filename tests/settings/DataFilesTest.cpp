#include <gtest/gtest.h>
#include <minizip/zip.h>

#include "core/DayNames.h"
#include "settings/DataFiles.h"
#include "support/TempDir.h"

namespace zentrix {
namespace {

namespace fs = std::filesystem;

// Writes a zip archive with the given entries (deflated).
void WriteZip(const fs::path& file, const std::vector<std::pair<std::string, std::string>>& entries) {
  zipFile zip = zipOpen64(file.c_str(), APPEND_STATUS_CREATE);
  ASSERT_NE(zip, nullptr);
  for (const auto& [name, data] : entries) {
    zip_fileinfo info{};
    ASSERT_EQ(zipOpenNewFileInZip(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 6), ZIP_OK);
    ASSERT_EQ(zipWriteInFileInZip(zip, data.data(), static_cast<unsigned>(data.size())), ZIP_OK);
    ASSERT_EQ(zipCloseFileInZip(zip), ZIP_OK);
  }
  ASSERT_EQ(zipClose(zip, nullptr), ZIP_OK);
}

std::vector<std::string> Entries(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    names.push_back(fs::relative(entry.path(), folder).string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(DataFolderTest, FreshFolderIsCreatedWithItsParents) {
  test::TTempDir home;
  TVersionInfo info = BuildVersionInfo();
  const fs::path folder = DataFolderPath(home.Path() / "share", info);
  EXPECT_EQ(folder, home.Path() / "share" / "Valtri" / "Zentrix" / "");
  EXPECT_EQ(folder.string().back(), '/');
  EXPECT_TRUE(EnsureDataFolder(folder));
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_TRUE(EnsureDataFolder(folder));  // again: already there
  EXPECT_EQ(SettingsFilePath(folder), folder / "Zentrix.ini");
  EXPECT_EQ(NamesFilePath(folder), folder / "Zentrix.dat");
  // A file in the way of the folder.
  home.Write("blocked/Valtri", "");
  EXPECT_FALSE(EnsureDataFolder(DataFolderPath(home.Path() / "blocked", info)));
  EXPECT_EQ(DataFolderPath("", info), fs::path("/Valtri/Zentrix/"));
}

TEST(DayNamesSeedTest, CopiesTheShippedFileOnceWithTheSameBytes) {
  test::TTempDir program, data;
  const std::string shipped = "1=Nový rok\r\n2=Karina\r\n";
  program.Write("Zentrix.cs.dat", shipped);
  const fs::path names = NamesFilePath(data.Path());

  struct TCase {
    const char* Name;
    std::string Code;
    bool Expected;
  };
  // No file for the language, or a code that is not a plain name: nothing is copied.
  for (const TCase& c : {TCase{"NoSuchLanguage", "de", false}, TCase{"PathInCode", "../x", false}}) {
    EXPECT_EQ(SeedDayNames(names, program.Path(), c.Code), c.Expected) << c.Name;
    EXPECT_FALSE(fs::exists(names)) << c.Name;
  }
  ASSERT_TRUE(SeedDayNames(names, program.Path(), "cs"));
  EXPECT_EQ(test::TTempDir::Read(names), shipped);
  EXPECT_EQ(LoadDayNames(names), (std::vector<std::string>{"1=Nový rok", "2=Karina"}));

  // The user's own file is never replaced by the shipped one.
  SaveDayNames(names, {"1=Mine"});
  EXPECT_TRUE(SeedDayNames(names, program.Path(), "cs"));
  EXPECT_EQ(test::TTempDir::Read(names), "1=Mine\n");
  EXPECT_TRUE(LoadDayNames(data.Path() / "absent.dat").empty());
}

TEST(ShippedDayNamesTest, EveryFileHasALabelledLineForEveryDay) {
  for (const char* code : {"cs", "en"}) {
    const std::vector<std::string> lines = LoadDayNames(LanguageNamesFilePath(ZENTRIX_RESOURCES, code));
    ASSERT_EQ(lines.size(), 366u) << code;
    for (std::size_t i = 0; i < lines.size(); ++i)
      EXPECT_EQ(lines[i].substr(0, lines[i].find('=') + 1), std::to_string(i + 1) + "=") << code << " " << i;
  }
  const std::vector<std::string> cs = LoadDayNames(LanguageNamesFilePath(ZENTRIX_RESOURCES, "cs"));
  for (std::size_t i = 0; i < cs.size(); ++i) EXPECT_FALSE(DayNameValue(cs[i]).empty()) << "cs day " << i + 1;
  EXPECT_EQ(GetName(cs, EncodeDate(2013, 3, 19), EnglishTexts()), "Josef");
  EXPECT_EQ(GetName(cs, EncodeDate(2012, 2, 29), EnglishTexts()), "Horymír");
  EXPECT_EQ(GetName(cs, EncodeDate(2013, 12, 31), EnglishTexts()), "Silvestr");
  const std::vector<std::string> en = LoadDayNames(LanguageNamesFilePath(ZENTRIX_RESOURCES, "en"));
  EXPECT_EQ(GetName(en, EncodeDate(2013, 12, 25), EnglishTexts()), "Christmas Day");
  EXPECT_EQ(GetName(en, EncodeDate(2013, 3, 2), EnglishTexts()), "Day 62");  // no observance
}

class IconPackTest : public ::testing::Test {
protected:
  fs::path Pack() const { return FProgram.Path() / "Zentrix.iml"; }
  test::TTempDir FProgram, FData;
};

TEST_F(IconPackTest, ExtractsPlainEntriesAndSkipsUnsafeOnes) {
  const std::string absolute = (FProgram.Path() / "absolute.png").string();
  WriteZip(Pack(), {{"wsymbol_0001_sunny.png", "sun"},
                    {"wsymbol_0003_white_cloud.png", std::string(100000, 'c')},
                    {"../escape.png", "x"},
                    {absolute, "x"},
                    {"sub/dir.png", "x"},
                    {"sub/", ""},
                    {"back\\slash.png", "x"},
                    {"..", "x"},
                    {"C:evil.png", "x"}});
  const TIconPackResult result = ExtractIconPack(Pack(), FData.Path());
  EXPECT_TRUE(result.Opened);
  EXPECT_EQ(result.Extracted, 2);
  EXPECT_EQ(result.Skipped, 7);
  EXPECT_EQ(Entries(FData.Path()), (std::vector<std::string>{"wsymbol_0001_sunny.png", "wsymbol_0003_white_cloud.png"}));
  EXPECT_EQ(test::TTempDir::Read(FData.Path() / "wsymbol_0003_white_cloud.png"), std::string(100000, 'c'));
  EXPECT_FALSE(fs::exists(FProgram.Path().parent_path() / "escape.png"));
  EXPECT_FALSE(fs::exists(absolute));
}

TEST_F(IconPackTest, SkippedWhenTheSunnySymbolIsThere) {
  WriteZip(Pack(), {{"wsymbol_0001_sunny.png", "new sun"}, {"wsymbol_0002_sunny_intervals.png", "x"}});
  FData.Write("wsymbol_0001_sunny.png", "old sun");
  const TIconPackResult result = ExtractIconPack(Pack(), FData.Path());
  EXPECT_FALSE(result.Opened);
  EXPECT_EQ(Entries(FData.Path()), std::vector<std::string>{"wsymbol_0001_sunny.png"});
  EXPECT_EQ(test::TTempDir::Read(FData.Path() / "wsymbol_0001_sunny.png"), "old sun");
}

TEST_F(IconPackTest, MissingOrDamagedPackChangesNothing) {
  EXPECT_FALSE(ExtractIconPack(Pack(), FData.Path()).Opened);
  FProgram.Write("Zentrix.iml", "PK\x03\x04 not really a zip archive");
  EXPECT_FALSE(ExtractIconPack(Pack(), FData.Path()).Opened);
  EXPECT_TRUE(Entries(FData.Path()).empty());
}

TEST(SwitchTest, NucWithSlashOrHyphenInAnyCase) {
  const std::pair<std::vector<std::string>, bool> cases[] = {
      {{"-nuc"}, true},       {{"/NUC"}, true},  {{"other", "-Nuc"}, true}, {{"NUC"}, false},
      {{"--nuc"}, false},     {{"-nucx"}, false}, {{}, false},               {{"/nu"}, false},
  };
  for (const auto& [args, expected] : cases) EXPECT_EQ(HasSwitch(args, "NUC"), expected) << ::testing::PrintToString(args);
}

}  // namespace
}  // namespace zentrix
