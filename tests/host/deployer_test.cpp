#include "services/deployer.h"

#include <gtest/gtest.h>

#include "tests/host/recording_windows_ops.h"

namespace tavi {
namespace {

TEST(TrailingSeparatorTest, DecidesOnTheLastByte) {
  struct Case {
    std::string folder;
    std::string stored;
  };
  const Case cases[] = {
      {"", "\\"},
      {"\\", "\\"},
      {"/", "/"},
      {"C:\\tavi", "C:\\tavi\\"},
      {"C:\\tavi\\", "C:\\tavi\\"},
      {"C:/tavi/", "C:/tavi/"},
      // ソ is 83 5C: its second byte counts as a separator.
      {"C:\\\x83\x5c", "C:\\\x83\x5c"},
      {"C:\\a\\b", "C:\\a\\b\\"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Printable(c.folder));
    RecordingWindowsOps ops;
    Deployer deployer(ops);
    deployer.SetDestDir(c.folder);
    deployer.SetSourceDir(c.folder);
    EXPECT_EQ(deployer.dest_dir(), c.stored);
    EXPECT_EQ(deployer.source_dir(), c.stored);
  }
}

TEST(DeployerTest, ANewDeployerJoinsNamesToNothing) {
  RecordingWindowsOps ops;
  Deployer deployer(ops);
  deployer.CopyAs("new.txt", "old.txt");
  std::vector<Call> expected = {{"CopyFileA", {"old.txt", "new.txt", "0"}}};
  EXPECT_EQ(ops.calls, expected);
}

TEST(DeployerTest, CopyAsNamesTheNewFileFirstAndReplacesIt) {
  RecordingWindowsOps ops;
  Deployer deployer(ops);
  deployer.SetDestDir("C:\\to");
  deployer.SetSourceDir("D:\\from/");
  deployer.CopyAs("tavi.exe", "data1.dat");
  deployer.CopyAs("\\sub\\x", "dir\\y");  // names are joined unexamined
  std::vector<Call> expected = {
      {"CopyFileA", {"D:\\from/data1.dat", "C:\\to\\tavi.exe", "0"}},
      {"CopyFileA", {"D:\\from/dir\\y", "C:\\to\\\\sub\\x", "0"}},
  };
  EXPECT_EQ(ops.calls, expected);
}

TEST(DeployerTest, ReplacingOneFolderKeepsTheOther) {
  RecordingWindowsOps ops;
  Deployer deployer(ops);
  deployer.SetDestDir("A");
  deployer.SetSourceDir("B");
  deployer.SetDestDir("C");
  EXPECT_EQ(deployer.dest_dir(), "C\\");
  EXPECT_EQ(deployer.source_dir(), "B\\");
}

TEST(DeployerTest, CreateFolderPassesThePathAndAPlainSecurityRecord) {
  RecordingWindowsOps ops;
  Deployer deployer(ops);
  deployer.SetDestDir("unused");
  deployer.CreateFolder("C:\\Program Files\\tavi\\");
  std::vector<Call> expected = {
      {"CreateDirectoryA",
       {"C:\\Program Files\\tavi\\", std::to_string(sizeof(SecurityAttributes)),
        "null", "0"}}};
  EXPECT_EQ(ops.calls, expected);
}

TEST(DeployerTest, MakeShortcutReportsTheWritersResult) {
  RecordingWindowsOps ops;
  ops.Fail("IPersistFile_Save", 2);
  Deployer deployer(ops);
  deployer.SetDestDir("C:\\menu");
  deployer.SetSourceDir("C:\\inst\\");
  EXPECT_EQ(deployer.MakeShortcut("a.lnk", "a.exe"), 1);
  EXPECT_EQ(deployer.MakeShortcut("b.lnk", "b.exe"), 0);
  std::vector<Call> paths = ops.CallsOf({"IShellLinkA_SetPath"});
  ASSERT_EQ(paths.size(), 2u);
  EXPECT_EQ(paths[0].args[1], "C:\\inst\\a.exe");
  EXPECT_EQ(ops.files.count("C:\\menu\\a.lnk"), 1u);
}

}  // namespace
}  // namespace tavi
