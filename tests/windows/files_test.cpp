#include <gtest/gtest.h>

#include "driver/uninstall_scripts.h"
#include "services/deployer.h"
#include "services/texts.h"
#include "tests/windows/no_dialog_ops.h"
#include "tests/windows/temp_folder.h"

namespace tavi {
namespace {

TEST(DeployerOnDiskTest, CopyAsReplacesAnExistingFile) {
  TempFolder folder;
  WriteFileBytes(folder.path() + "data1.dat", "new tool");
  WriteFileBytes(folder.path() + "tavi.exe", "an older and longer tool");
  Win32WindowsOps ops;
  Deployer deployer(ops);
  deployer.SetDestDir(folder.path());
  deployer.SetSourceDir(folder.path());
  deployer.CopyAs("tavi.exe", "data1.dat");
  EXPECT_EQ(ReadFileBytes(folder.path() + "tavi.exe"), "new tool");
  EXPECT_EQ(ReadFileBytes(folder.path() + "data1.dat"), "new tool");
}

TEST(DeployerOnDiskTest, CopyAsFromAMissingSourceLeavesTheDestinationAlone) {
  TempFolder folder;
  WriteFileBytes(folder.path() + "readme.txt", "kept");
  Win32WindowsOps ops;
  Deployer deployer(ops);
  deployer.SetDestDir(folder.path());
  deployer.SetSourceDir(folder.path() + "missing");
  deployer.CopyAs("readme.txt", "readme.txt");
  EXPECT_EQ(ReadFileBytes(folder.path() + "readme.txt"), "kept");
}

TEST(DeployerOnDiskTest, CreateFolderMakesOnlyTheLastLevel) {
  TempFolder folder;
  Win32WindowsOps ops;
  Deployer deployer(ops);
  const std::string tavi = folder.path() + "tavi\\";
  deployer.CreateFolder(tavi);
  deployer.CreateFolder(tavi);  // again: no error, nothing changes
  EXPECT_TRUE(Exists(tavi));
  deployer.CreateFolder(folder.path() + "missing\\tavi\\");
  EXPECT_FALSE(Exists(folder.path() + "missing"));
}

struct ScriptFiles {
  std::string uninstall;
  std::string cleanup;
};

ScriptFiles WriteScripts(NoDialogOps& ops, const std::string& install) {
  WriteUninstallScripts(ops, install, "C:\\TEMP\\", "C:\\M\\tavi\\", "C:\\S\\");
  return {ReadFileBytes(install + "uninstall.bat"),
          ReadFileBytes(install + "Uninstall2.bat")};
}

std::string WithCrLf(const std::string& text) {
  std::string out;
  for (char c : text)
    out += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return out;
}

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (auto at = text.find(what); at != std::string::npos;
       at = text.find(what, at + 1)) {
    ++n;
  }
  return n;
}

TEST(ScriptFilesTest, HoldExactlyTheirTextWithCrLfLineBreaks) {
  TempFolder folder;
  NoDialogOps ops;
  ScriptFiles files = WriteScripts(ops, folder.path());
  EXPECT_EQ(files.uninstall,
            WithCrLf(ComposeUninstallScript(folder.path(), "C:\\TEMP\\")));
  EXPECT_EQ(files.cleanup,
            WithCrLf(ComposeCleanupScript(folder.path(), "C:\\M\\tavi\\",
                                          "C:\\S\\", "C:\\TEMP\\")));
  EXPECT_EQ(files.uninstall.substr(0, 10), "Sleep 5000");  // no byte-order mark
  EXPECT_EQ(files.uninstall.back(), '"');  // no end-of-file byte
  EXPECT_EQ(files.cleanup.substr(files.cleanup.size() - 2), "\r\n");
  EXPECT_EQ(Count(files.uninstall, "\r\n"), 2u);
  EXPECT_EQ(Count(files.cleanup, "\r\n"), 13u);
  EXPECT_EQ(Count(files.uninstall, "\n"), 2u);  // no LF stands alone
  EXPECT_EQ(Count(files.cleanup, "\n"), 13u);
}

TEST(ScriptFilesTest, BothExistWhileTheClosingNoticeIsShown) {
  TempFolder folder;
  NoDialogOps ops;
  bool both_exist = false;
  ops.on_dialog = [&] {
    both_exist = Exists(folder.path() + "uninstall.bat") &&
                 Exists(folder.path() + "Uninstall2.bat");
  };
  WriteScripts(ops, folder.path());
  EXPECT_TRUE(both_exist);
  ASSERT_EQ(ops.dialogs.size(), 1u);
  EXPECT_EQ(ops.dialogs[0].text, text::kClosingNotice);
  EXPECT_EQ(ops.dialogs[0].caption, text::kEndCaption);
  EXPECT_EQ(ops.dialogs[0].style, 0x40u);
}

TEST(ScriptFilesTest, ReplaceEarlierScriptsWhole) {
  TempFolder folder;
  WriteFileBytes(folder.path() + "uninstall.bat", std::string(4000, 'x'));
  WriteFileBytes(folder.path() + "Uninstall2.bat", std::string(4000, 'y'));
  NoDialogOps ops;
  ScriptFiles files = WriteScripts(ops, folder.path());
  EXPECT_EQ(files.uninstall.find('x'), std::string::npos);
  EXPECT_EQ(files.cleanup.find('y'), std::string::npos);
  EXPECT_EQ(files.uninstall.substr(0, 10), "Sleep 5000");
}

TEST(ScriptFilesTest, AMissingInstallFolderWritesNothingButStillSaysSo) {
  TempFolder folder;
  NoDialogOps ops;
  const std::string install = folder.path() + "missing\\tavi\\";
  ScriptFiles files = WriteScripts(ops, install);
  EXPECT_EQ(files.uninstall, "<missing>");
  EXPECT_EQ(files.cleanup, "<missing>");
  EXPECT_EQ(ops.dialogs.size(), 1u);
}

}  // namespace
}  // namespace tavi
