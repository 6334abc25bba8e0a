#include <gtest/gtest.h>

#include "driver/setup.h"
#include "driver/uninstall_scripts.h"
#include "services/texts.h"
#include "tests/host/recording_windows_ops.h"

namespace tavi {
namespace {

const ModuleHandle kInstance = reinterpret_cast<ModuleHandle>(0x400000);

const std::string kMedia = "D:\\dist\\";
const std::string kInstall = "C:\\Program Files\\tavi\\";
const std::string kMenu = "C:\\Users\\u\\Start Menu\\Programs\\tavi\\";
const std::string kSendTo = "C:\\Users\\u\\SendTo\\";
const std::string kTemp = "C:\\TEMP\\";

// What install mode does to the system, in order: folders, copies,
// shortcuts, scripts and dialogs.
const std::vector<std::string> kEffects = {
    "CreateDirectoryA", "CopyFileA",          "IPersistFile_Save",
    "OpenOutputStream", "WriteStream",        "CloseStream",
    "MessageBoxA",      "IShellLinkA_SetPath"};

Call Folder(const std::string& path) {
  return {"CreateDirectoryA",
          {path, std::to_string(sizeof(SecurityAttributes)), "null", "0"}};
}
Call Copy(const std::string& from, const std::string& to) {
  return {"CopyFileA", {kMedia + from, kInstall + to, "0"}};
}
std::vector<Call> Shortcut(const std::string& link, const std::string& target,
                           int n, bool saved = true) {
  std::vector<Call> calls = {
      {"IShellLinkA_SetPath", {"link" + std::to_string(n), kInstall + target}},
      {"IPersistFile_Save", {"file" + std::to_string(n), link, "1"}}};
  if (!saved) {
    calls.push_back(
        {"MessageBoxA", {"null", text::kShortcutFailed, "(null)", "0x0"}});
  }
  return calls;
}
std::vector<Call> Question() {
  // The probe's file is closed before the question waits.
  return {{"CloseStream", {"0"}},
          {"MessageBoxA",
           {"null", text::kInstallQuestion, text::kInstallCaption, "0x24"}}};
}
std::vector<Call> Scripts() {
  return {
      {"OpenOutputStream", {kInstall + "uninstall.bat"}},
      {"WriteStream", {"1", ComposeUninstallScript(kInstall, kTemp)}},
      {"OpenOutputStream", {kInstall + "Uninstall2.bat"}},
      {"WriteStream",
       {"2", ComposeCleanupScript(kInstall, kMenu, kSendTo, kTemp)}},
      {"MessageBoxA",
       {"null", text::kClosingNotice, text::kEndCaption, "0x40"}},
      {"CloseStream", {"2"}},
      {"CloseStream", {"1"}},
  };
}

std::vector<Call> Join(std::initializer_list<std::vector<Call>> parts) {
  std::vector<Call> all;
  for (const auto& part : parts)
    all.insert(all.end(), part.begin(), part.end());
  return all;
}

std::vector<Call> Expected(bool menu_saves = true) {
  return Join({
      Question(),
      {Folder(kInstall), Copy("data1.dat", "tavi.exe"),
       Copy("readme.txt", "readme.txt"), Copy("tavi.exe", "install.exe"),
       Copy("data2.dat", "sleep.exe"), Folder(kMenu)},
      Shortcut(kMenu + text::kUninstallLink, "install.exe", 1, menu_saves),
      Shortcut(kMenu + text::kHelpLink, "readme.txt", 2, menu_saves),
      Shortcut(kSendTo + text::kToolLink, "tavi.exe", 3),
      Scripts(),
  });
}

TEST(InstallModeTest, RunsEveryStepInOrder) {
  RecordingWindowsOps ops;
  EXPECT_EQ(RunSetup(ops, kInstance), 0);
  EXPECT_EQ(ops.CallsOf(kEffects), Expected());
  EXPECT_EQ(ops.com_depth(), 0);
  EXPECT_EQ(ops.open_streams(), 0);
}

TEST(InstallModeTest, FailuresNeitherStopNorChangeTheSequence) {
  const char* failures[] = {"CreateDirectoryA", "CopyFileA",
                            "OpenOutputStream"};
  for (const char* failure : failures) {
    SCOPED_TRACE(failure);
    RecordingWindowsOps ops;
    ops.Fail(failure);
    EXPECT_EQ(RunSetup(ops, kInstance), 0);
    EXPECT_EQ(ops.CallsOf(kEffects), Expected());
  }
}

TEST(InstallModeTest, EachShortcutThatCannotBeSavedIsReportedInTurn) {
  RecordingWindowsOps ops;
  ops.Fail("IPersistFile_Save", 1);
  ops.Fail("IPersistFile_Save", 2);
  EXPECT_EQ(RunSetup(ops, kInstance), 0);
  EXPECT_EQ(ops.CallsOf(kEffects), Expected(/*menu_saves=*/false));
}

TEST(InstallModeTest, ThreeFailedSavesShowTheMessageThreeTimesAndGoOn) {
  RecordingWindowsOps ops;
  ops.Fail("IPersistFile_Save");
  EXPECT_EQ(RunSetup(ops, kInstance), 0);
  std::vector<Call> dialogs = ops.CallsOf({"MessageBoxA"});
  ASSERT_EQ(dialogs.size(), 5u);
  for (int i = 1; i <= 3; ++i)
    EXPECT_EQ(dialogs[i].args[1], text::kShortcutFailed);
  EXPECT_EQ(dialogs[4].args[1], text::kClosingNotice);
  EXPECT_EQ(ops.com_depth(), 0);
}

TEST(InstallModeTest, LinkObjectFailuresReleaseAndUninitialiseEachTime) {
  for (const char* failure : {"CoCreateInstance", "QueryInterface"}) {
    SCOPED_TRACE(failure);
    RecordingWindowsOps ops;
    ops.Fail(failure);
    EXPECT_EQ(RunSetup(ops, kInstance), 0);
    EXPECT_EQ(ops.CallsOf({"CoInitialize"}).size(), 3u);
    EXPECT_EQ(ops.CallsOf({"CoUninitialize"}).size(), 3u);
    EXPECT_EQ(ops.CallsOf({"Release"}).size(),
              std::string(failure) == "QueryInterface" ? 3u : 0u);
    EXPECT_TRUE(ops.CallsOf({"IPersistFile_Save"}).empty());
    EXPECT_EQ(ops.CallsOf({"MessageBoxA"}).size(), 5u);
    EXPECT_EQ(ops.com_depth(), 0);
  }
}

TEST(InstallModeTest, NeverWritesIntoTheMediaFolder) {
  RecordingWindowsOps ops;
  RunSetup(ops, kInstance);
  for (const Call& call :
       ops.CallsOf({"CreateDirectoryA", "OpenOutputStream"})) {
    EXPECT_NE(call.args[0].rfind(kMedia, 0), 0u) << call;
  }
  for (const Call& call : ops.CallsOf({"CopyFileA"})) {
    EXPECT_NE(call.args[1].rfind(kMedia, 0), 0u) << call;
  }
}

}  // namespace
}  // namespace tavi
