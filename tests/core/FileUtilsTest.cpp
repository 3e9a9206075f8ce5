#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/FileUtils.h"
#include "support/TempDir.h"

namespace zentrix {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> FolderEntries(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(WriteFileAtomicTest, ReplacesWholeAndLeavesNoTemporaryFile) {
  test::TTempDir dir;
  const fs::path file = dir.Write("Zentrix.ini", "old content\n");
  WriteFileAtomic(file, "[主要]\nBL=真的\n");
  EXPECT_EQ(test::TTempDir::Read(file), "[主要]\nBL=真的\n");
  EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"Zentrix.ini"});
}

TEST(WriteFileAtomicTest, MissingFolderRaisesAndWritesNothing) {
  test::TTempDir dir;
  EXPECT_THROW(WriteFileAtomic(dir.Path() / "absent" / "Zentrix.ini", "x"), EFileError);
  EXPECT_TRUE(FolderEntries(dir.Path()).empty());
}

// A write that fails half-way (here: the file-size limit is hit, as on a full disk) must leave
// the previous file complete. Run in a child so the limit does not touch the test process.
TEST(WriteFileAtomicTest, FailedWriteKeepsTheOldFile) {
  test::TTempDir dir;
  const std::string old = "[主要]\nWRI=60\n";
  const fs::path file = dir.Write("Zentrix.ini", old);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{8, 8};
    setrlimit(RLIMIT_FSIZE, &limit);
    try {
      WriteFileAtomic(file, std::string(4096, 'x'));
    } catch (const EFileError&) {
      _exit(3);  // the expected outcome: raised
    }
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 3) << "the failed write was reported as success";
  EXPECT_EQ(test::TTempDir::Read(file), old);
  EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"Zentrix.ini"});
}

TEST(CopyFileContentsTest, CopiesBytesOrReportsFailure) {
  test::TTempDir dir;
  std::string big;
  for (int i = 0; i < 200000; ++i) big += static_cast<char>(i * 7);  // spans several chunks
  struct TCase {
    const char* Name;
    std::string Source;   // empty: no source file
    std::string Target;   // relative to the folder
    bool Expected;
  };
  const TCase cases[] = {
      {"Small", "1=Nový rok\n", "a.dat", true},
      {"SeveralChunks", big, "b.dat", true},
      {"EmptySource", std::string(), "c.dat", false},
      {"TargetFolderMissing", "x", "missing/d.dat", false},
  };
  for (const TCase& c : cases) {
    fs::path source = dir.Path() / "no-such-file";
    if (!c.Source.empty()) source = dir.Write(std::string("src-") + c.Name, c.Source);
    const fs::path target = dir.Path() / c.Target;
    EXPECT_EQ(CopyFileContents(source, target), c.Expected) << c.Name;
    if (c.Expected) EXPECT_EQ(test::TTempDir::Read(target), c.Source) << c.Name;
    else EXPECT_FALSE(fs::exists(target)) << c.Name;
  }
}

TEST(ReadFileBytesTest, RefusesMissingAndOversizedFiles) {
  test::TTempDir dir;
  const fs::path file = dir.Write("f", "12345");
  EXPECT_EQ(ReadFileBytes(file), "12345");
  EXPECT_THROW(ReadFileBytes(file, 4), EFileError);
  EXPECT_THROW(ReadFileBytes(dir.Path() / "missing"), EFileError);
  EXPECT_THROW(ReadFileBytes(dir.Path()), EFileError);
}

}  // namespace
}  // namespace zentrix
