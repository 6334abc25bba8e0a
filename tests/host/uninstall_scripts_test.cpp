#include "driver/uninstall_scripts.h"

#include <gtest/gtest.h>

#include "services/texts.h"
#include "tests/host/recording_windows_ops.h"

namespace tavi {
namespace {

// The expected texts are written out in full. "<SO>" stands for ソ (83 5C),
// "<UNINSTALL>", "<HELP>" and "<TOOL>" for the three shortcut names, so that
// the rest reads as the script does.
std::string Expand(std::string text) {
  const std::pair<std::string, std::string> marks[] = {
      {"<SO>", "\x83\x5c"},
      {"<UNINSTALL>",
       "\x83\x41\x83\x93\x83\x43\x83\x93\x83\x58\x83\x67\x81\x5b\x83\x8b"},
      {"<HELP>", "\x83\x77\x83\x8b\x83\x76"},
      {"<TOOL>", "\x83\x5e\x83\x94\x83\x42"},
  };
  for (const auto& mark : marks) {
    for (auto at = text.find(mark.first); at != std::string::npos;
         at = text.find(mark.first)) {
      text.replace(at, mark.first.size(), mark.second);
    }
  }
  return text;
}

struct ScriptCase {
  const char* name;
  std::string install, temp, menu, send_to;
  std::string uninstall_script;
  std::string cleanup_script;
};

const ScriptCase kCases[] = {
    {"typical", R"(C:\Program Files\tavi\)", R"(C:\TEMP\)",
     R"(C:\Menu\Programs\tavi\)", R"(C:\SendTo\)",
     R"(Sleep 5000
copy "C:\Program Files\tavi\uninstall2.bat" "C:\TEMP\uninstall_tavi_123456789.bat"
call "C:\TEMP\uninstall_tavi_123456789.bat")",
     R"(del "C:\Program Files\tavi\tavi.exe"
del "C:\Program Files\tavi\sleep.exe"
del "C:\Program Files\tavi\install.exe"
del "C:\Program Files\tavi\readme.txt"
del "C:\Program Files\tavi\uninstall.bat"
del "C:\Program Files\tavi\uninstall.pif"
del "C:\Program Files\tavi\uninstall2.bat"
rd "C:\Program Files\tavi"
del "C:\Menu\Programs\tavi\<UNINSTALL>.lnk"
del "C:\Menu\Programs\tavi\<HELP>.lnk"
rd "C:\Menu\Programs\tavi"
del "C:\SendTo\<TOOL>.lnk"
del "C:\TEMP\uninstall_tavi_123456789.bat"
)"},
    {"empty temp folder", R"(C:\P\tavi\)", "", R"(C:\M\tavi\)", R"(C:\S\)",
     R"(Sleep 5000
copy "C:\P\tavi\uninstall2.bat" "uninstall_tavi_123456789.bat"
call "uninstall_tavi_123456789.bat")",
     R"(del "C:\P\tavi\tavi.exe"
del "C:\P\tavi\sleep.exe"
del "C:\P\tavi\install.exe"
del "C:\P\tavi\readme.txt"
del "C:\P\tavi\uninstall.bat"
del "C:\P\tavi\uninstall.pif"
del "C:\P\tavi\uninstall2.bat"
rd "C:\P\tavi"
del "C:\M\tavi\<UNINSTALL>.lnk"
del "C:\M\tavi\<HELP>.lnk"
rd "C:\M\tavi"
del "C:\S\<TOOL>.lnk"
del "uninstall_tavi_123456789.bat"
)"},
    {"spaces and a percent sign", R"(C:\Program Files\tavi\)",
     R"(C:\Users\a%b c\Temp\)", R"(C:\Users\a%b c\Start Menu\tavi\)",
     R"(C:\Users\a%b c\SendTo\)",
     R"(Sleep 5000
copy "C:\Program Files\tavi\uninstall2.bat" "C:\Users\a%%b c\Temp\uninstall_tavi_123456789.bat"
call "C:\Users\a%%b c\Temp\uninstall_tavi_123456789.bat")",
     R"(del "C:\Program Files\tavi\tavi.exe"
del "C:\Program Files\tavi\sleep.exe"
del "C:\Program Files\tavi\install.exe"
del "C:\Program Files\tavi\readme.txt"
del "C:\Program Files\tavi\uninstall.bat"
del "C:\Program Files\tavi\uninstall.pif"
del "C:\Program Files\tavi\uninstall2.bat"
rd "C:\Program Files\tavi"
del "C:\Users\a%%b c\Start Menu\tavi\<UNINSTALL>.lnk"
del "C:\Users\a%%b c\Start Menu\tavi\<HELP>.lnk"
rd "C:\Users\a%%b c\Start Menu\tavi"
del "C:\Users\a%%b c\SendTo\<TOOL>.lnk"
del "C:\Users\a%%b c\Temp\uninstall_tavi_123456789.bat"
)"},
    {"double-byte folders", R"(C:\<SO>\tavi\)", R"(C:\<SO>\)",
     R"(C:\<SO>\m\tavi\)", R"(C:\<SO>\s\)",
     R"(Sleep 5000
copy "C:\<SO>\tavi\uninstall2.bat" "C:\<SO>\uninstall_tavi_123456789.bat"
call "C:\<SO>\uninstall_tavi_123456789.bat")",
     R"(del "C:\<SO>\tavi\tavi.exe"
del "C:\<SO>\tavi\sleep.exe"
del "C:\<SO>\tavi\install.exe"
del "C:\<SO>\tavi\readme.txt"
del "C:\<SO>\tavi\uninstall.bat"
del "C:\<SO>\tavi\uninstall.pif"
del "C:\<SO>\tavi\uninstall2.bat"
rd "C:\<SO>\tavi"
del "C:\<SO>\m\tavi\<UNINSTALL>.lnk"
del "C:\<SO>\m\tavi\<HELP>.lnk"
rd "C:\<SO>\m\tavi"
del "C:\<SO>\s\<TOOL>.lnk"
del "C:\<SO>\uninstall_tavi_123456789.bat"
)"},
};

TEST(ScriptTextTest, MatchesTheExpectedBytesForEachFolderSet) {
  for (const ScriptCase& c : kCases) {
    SCOPED_TRACE(c.name);
    const std::string install = Expand(c.install), temp = Expand(c.temp),
                      menu = Expand(c.menu), send_to = Expand(c.send_to);
    EXPECT_EQ(ComposeUninstallScript(install, temp),
              Expand(c.uninstall_script));
    EXPECT_EQ(ComposeCleanupScript(install, menu, send_to, temp),
              Expand(c.cleanup_script));
  }
}

TEST(WriteUninstallScriptsTest, BothFilesStayOpenWhileTheNoticeIsShown) {
  RecordingWindowsOps ops;
  const ScriptCase& c = kCases[0];
  WriteUninstallScripts(ops, c.install, c.temp, c.menu, c.send_to);
  const std::string uninstall_text = ComposeUninstallScript(c.install, c.temp);
  const std::string cleanup_text =
      ComposeCleanupScript(c.install, c.menu, c.send_to, c.temp);
  std::vector<Call> expected = {
      {"OpenOutputStream", {c.install + "uninstall.bat"}},
      {"WriteStream", {"0", uninstall_text}},
      {"OpenOutputStream", {c.install + "Uninstall2.bat"}},
      {"WriteStream", {"1", cleanup_text}},
      {"MessageBoxA",
       {"null", text::kClosingNotice, text::kEndCaption, "0x40"}},
      {"CloseStream", {"1"}},
      {"CloseStream", {"0"}},
  };
  EXPECT_EQ(ops.calls, expected);
  EXPECT_EQ(ops.files[c.install + "uninstall.bat"], uninstall_text);
  EXPECT_EQ(ops.files[c.install + "Uninstall2.bat"], cleanup_text);
}

TEST(WriteUninstallScriptsTest, FilesThatCannotBeOpenedStillEndInTheNotice) {
  RecordingWindowsOps ops;
  ops.Fail("OpenOutputStream");
  WriteUninstallScripts(ops, "X:\\gone\\tavi\\", "C:\\T\\", "M\\", "S\\");
  EXPECT_TRUE(ops.files.empty());
  EXPECT_EQ(ops.CallsOf({"MessageBoxA"}).size(), 1u);
  EXPECT_EQ(ops.calls.back().op, "CloseStream");
}

TEST(WriteUninstallScriptsTest, ReplacesEarlierScriptsWhole) {
  RecordingWindowsOps ops;
  ops.files["C:\\P\\tavi\\uninstall.bat"] = "old text that is longer";
  WriteUninstallScripts(ops, "C:\\P\\tavi\\", "C:\\T\\", "M\\", "S\\");
  EXPECT_EQ(ops.files["C:\\P\\tavi\\uninstall.bat"],
            ComposeUninstallScript("C:\\P\\tavi\\", "C:\\T\\"));
}

}  // namespace
}  // namespace tavi
