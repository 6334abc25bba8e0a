#include "driver/setup.h"

#include <gtest/gtest.h>

#include "services/texts.h"
#include "tests/host/recording_windows_ops.h"

namespace tavi {
namespace {

const ModuleHandle kInstance = reinterpret_cast<ModuleHandle>(0x400000);
constexpr int kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7;

const Call kInstallQuestion = {
    "MessageBoxA",
    {"null", text::kInstallQuestion, text::kInstallCaption, "0x24"}};
const Call kUninstallQuestion = {
    "MessageBoxA",
    {"null", text::kUninstallQuestion, text::kUninstallCaption, "0x144"}};
const Call kDeletionNotice = {
    "MessageBoxA", {"null", text::kDeletionNotice, text::kEndCaption, "0x40"}};
const Call kClosingNotice = {
    "MessageBoxA", {"null", text::kClosingNotice, text::kEndCaption, "0x40"}};
const Call kStartScript = {"WinExec",
                           {"\"C:\\Program Files\\tavi\\uninstall.bat\"", "0"}};

// A distribution folder that holds "uninstall.bat" runs as an installed copy.
void PlaceScriptBesideExecutable(RecordingWindowsOps& ops) {
  ops.files["D:\\dist\\uninstall.bat"] = "Sleep 5000";
}

std::vector<Call> Dialogs(const RecordingWindowsOps& ops) {
  return ops.CallsOf({"MessageBoxA"});
}

TEST(DllSearchTest, IsRestrictedBeforeAnythingElseWhereItIsSafe) {
  struct Case {
    const char* name;
    std::uint32_t version;
    bool offered;
    bool tried;
  };
  const Case cases[] = {
      {"Windows 10", 0x0000000A, true, true},
      {"Windows 7", 0x00000106, true, true},
      // Vista's shell link object breaks under the restriction.
      {"Vista", 0x00000006, true, false},
      // XP lacks the function: the call reports failure and the run goes on.
      {"XP", 0x00000105, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingWindowsOps ops;
    ops.version = c.version;
    if (!c.offered) ops.Fail("SetDefaultDllDirectories");
    ops.message_box_answers = {kIdNo};
    EXPECT_EQ(RunSetup(ops, kInstance), 0);
    std::vector<Call> expected = {{"GetVersion", {}}};
    if (c.tried) expected.push_back({"SetDefaultDllDirectories", {"0x800"}});
    expected.push_back({"SetDllDirectoryA", {""}});
    expected.push_back({"GetTempPathA", {"260"}});
    EXPECT_EQ(std::vector<Call>(ops.calls.begin(),
                                ops.calls.begin() + expected.size()),
              expected);
  }
}

TEST(ModeSelectionTest, WithoutAScriptBesideItOffersToInstall) {
  RecordingWindowsOps ops;
  ops.message_box_answers = {kIdNo};
  EXPECT_EQ(RunSetup(ops, kInstance), 0);
  EXPECT_EQ(Dialogs(ops), std::vector<Call>{kInstallQuestion});
  EXPECT_EQ(ops.calls.back(), kInstallQuestion);  // nothing after No
}

TEST(ModeSelectionTest, WithAReadableScriptBesideItOffersToUninstall) {
  RecordingWindowsOps ops;
  PlaceScriptBesideExecutable(ops);
  ops.message_box_answers = {kIdNo};
  EXPECT_EQ(RunSetup(ops, kInstance), 0);
  EXPECT_EQ(Dialogs(ops), std::vector<Call>{kUninstallQuestion});
  EXPECT_EQ(ops.calls.back(), kUninstallQuestion);
}

TEST(ModeSelectionTest, AnythingShortOfOpeningTheScriptMeansInstall) {
  const char* failures[] = {"OpenInputStream", "mbstowcs", "wcstombs"};
  for (const char* failure : failures) {
    SCOPED_TRACE(failure);
    RecordingWindowsOps ops;
    PlaceScriptBesideExecutable(ops);
    ops.Fail(failure);
    ops.message_box_answers = {kIdNo};
    EXPECT_EQ(RunSetup(ops, kInstance), 0);
    EXPECT_EQ(Dialogs(ops), std::vector<Call>{kInstallQuestion});
  }
}

TEST(ModeSelectionTest, APathThatDoesNotConvertIsNeverOpened) {
  RecordingWindowsOps ops;
  PlaceScriptBesideExecutable(ops);
  ops.Fail("mbstowcs");
  ops.message_box_answers = {kIdNo};
  RunSetup(ops, kInstance);
  EXPECT_TRUE(ops.CallsOf({"OpenInputStream"}).empty());
  EXPECT_EQ(Dialogs(ops), std::vector<Call>{kInstallQuestion});
}

TEST(ModeSelectionTest, ProbesBesideTheExecutableUnderTheJapaneseLocale) {
  RecordingWindowsOps ops;
  ops.message_box_answers = {kIdNo};
  RunSetup(ops, kInstance);
  std::vector<Call> probe = ops.CallsOf(
      {"setlocale", "OpenInputStream", "CloseStream", "MessageBoxA"});
  ASSERT_GE(probe.size(), 4u);
  EXPECT_EQ(probe[0].op, "setlocale");
  EXPECT_EQ(probe[0].args[1], "japanese");
  EXPECT_EQ(probe[probe.size() - 3],
            (Call{"OpenInputStream", {"D:\\dist\\uninstall.bat"}}));
  // The file is closed before any dialog waits.
  EXPECT_EQ(probe[probe.size() - 2].op, "CloseStream");
  EXPECT_EQ(probe.back(), kInstallQuestion);
  EXPECT_EQ(ops.open_streams(), 0);
}

TEST(UninstallModeTest, StartsTheInstallFoldersScriptAfterTheNotice) {
  RecordingWindowsOps ops;
  PlaceScriptBesideExecutable(ops);
  EXPECT_EQ(RunSetup(ops, kInstance), 0);
  std::vector<Call> expected = {
      kUninstallQuestion,
      kDeletionNotice,
      {"SetCurrentDirectoryA", {"C:\\TEMP\\"}},
      {"GetEnvironmentVariableA", {"PATH", "0"}},
      {"GetEnvironmentVariableA", {"PATH", "31"}},
      {"SetEnvironmentVariableA",
       {"PATH", "C:\\Program Files\\tavi;C:\\windows\\system32;C:\\windows"}},
  };
  EXPECT_EQ(std::vector<Call>(ops.calls.end() - 7, ops.calls.end() - 1),
            expected);
  EXPECT_EQ(ops.calls.back(), kStartScript);
}

TEST(UninstallModeTest, AScriptInAnotherFolderStartsTheInstallFoldersOne) {
  RecordingWindowsOps ops;
  ops.module_path = "E:\\other\\install.exe";
  ops.files["E:\\other\\uninstall.bat"] = "";
  EXPECT_EQ(RunSetup(ops, kInstance), 0);
  EXPECT_EQ(ops.CallsOf({"WinExec"}), std::vector<Call>{kStartScript});
}

TEST(UninstallModeTest, OnlyNoDeclines) {
  struct Case {
    int answer;
    bool starts;
  };
  const Case cases[] = {{kIdYes, true},
                        {kIdOk, true},
                        {kIdCancel, true},
                        {0, true},
                        {kIdNo, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    RecordingWindowsOps ops;
    PlaceScriptBesideExecutable(ops);
    ops.message_box_answers = {c.answer};
    EXPECT_EQ(RunSetup(ops, kInstance), 0);
    EXPECT_EQ(ops.CallsOf({"WinExec"}).size(), c.starts ? 1u : 0u);
    EXPECT_EQ(Dialogs(ops).size(), c.starts ? 2u : 1u);
  }
}

TEST(UninstallModeTest, WithoutTempFolderOrPathTheScriptStillStarts) {
  RecordingWindowsOps ops;
  PlaceScriptBesideExecutable(ops);
  ops.Fail("GetTempPathA");
  ops.environment.erase("PATH");
  EXPECT_EQ(RunSetup(ops, kInstance), 0);
  EXPECT_TRUE(ops.CallsOf({"SetCurrentDirectoryA"}).empty());
  EXPECT_EQ(ops.environment["PATH"], "C:\\Program Files\\tavi");
  EXPECT_EQ(ops.calls.back(), kStartScript);
}

TEST(UninstallModeTest, AScriptThatCannotStartStillEndsWithZero) {
  RecordingWindowsOps ops;
  PlaceScriptBesideExecutable(ops);
  ops.Fail("WinExec");
  EXPECT_EQ(RunSetup(ops, kInstance), 0);
  EXPECT_EQ(ops.calls.back(), kStartScript);
}

TEST(InstallModeTest, OnlyNoDeclines) {
  struct Case {
    int answer;
    bool installs;
  };
  const Case cases[] = {
      {kIdYes, true}, {0, true}, {kIdCancel, true}, {kIdNo, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    RecordingWindowsOps ops;
    ops.message_box_answers = {c.answer};
    EXPECT_EQ(RunSetup(ops, kInstance), 0);
    EXPECT_EQ(!ops.CallsOf({"CreateDirectoryA"}).empty(), c.installs);
    EXPECT_EQ(Dialogs(ops).back(),
              c.installs ? kClosingNotice : kInstallQuestion);
  }
}

}  // namespace
}  // namespace tavi
