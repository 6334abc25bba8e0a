#include "driver/folder_set.h"

#include <gtest/gtest.h>

#include "tests/host/recording_windows_ops.h"

namespace tavi {
namespace {

const ModuleHandle kInstance = reinterpret_cast<ModuleHandle>(0x400000);

TEST(FolderSetTest, AppendsEachSuffixToWhatTheSystemGives) {
  RecordingWindowsOps ops;
  FolderSet folders = ComputeFolderSet(ops, kInstance);
  EXPECT_EQ(folders.temp, "C:\\TEMP\\");
  EXPECT_EQ(folders.media, "D:\\dist\\");
  EXPECT_EQ(folders.install, "C:\\Program Files\\tavi\\");
  EXPECT_EQ(folders.menu, "C:\\Users\\u\\Start Menu\\Programs\\tavi\\");
  EXPECT_EQ(folders.send_to, "C:\\Users\\u\\SendTo\\");
}

TEST(FolderSetTest, AsksTheSystemInOrderAndFreesEachList) {
  RecordingWindowsOps ops;
  ComputeFolderSet(ops, kInstance);
  std::vector<Call> expected = {
      {"GetTempPathA", {"260"}},
      {"GetModuleFileNameA", {"0x400000", "260"}},
      {"SHGetSpecialFolderLocation", {"null", "38"}},
      {"SHGetPathFromIDListA", {"list38"}},
      {"ILFree", {"list38"}},
      {"SHGetSpecialFolderLocation", {"null", "2"}},
      {"SHGetPathFromIDListA", {"list2"}},
      {"ILFree", {"list2"}},
      {"SHGetSpecialFolderLocation", {"null", "9"}},
      {"SHGetPathFromIDListA", {"list9"}},
      {"ILFree", {"list9"}},
  };
  EXPECT_EQ(ops.calls, expected);
}

TEST(FolderSetTest, FailedLookUpsLeaveTheBareSuffixes) {
  RecordingWindowsOps ops;
  ops.Fail("GetTempPathA");
  ops.Fail("GetModuleFileNameA");
  ops.Fail("SHGetSpecialFolderLocation");
  FolderSet folders = ComputeFolderSet(ops, kInstance);
  EXPECT_EQ(folders.temp, "");
  EXPECT_EQ(folders.media, "");
  EXPECT_EQ(folders.install, "\\tavi\\");
  EXPECT_EQ(folders.menu, "\\tavi\\");
  EXPECT_EQ(folders.send_to, "\\");
  EXPECT_TRUE(ops.CallsOf({"SHGetPathFromIDListA", "ILFree"}).empty());
}

TEST(FolderSetTest, AFailedLookUpNeverReadsTheListOfAnEarlierOne) {
  RecordingWindowsOps ops;
  ops.Fail("SHGetSpecialFolderLocation", 2);
  FolderSet folders = ComputeFolderSet(ops, kInstance);
  EXPECT_EQ(folders.install, "C:\\Program Files\\tavi\\");
  EXPECT_EQ(folders.menu, "\\tavi\\");
  EXPECT_EQ(folders.send_to, "C:\\Users\\u\\SendTo\\");
  std::vector<Call> reads = {{"SHGetPathFromIDListA", {"list38"}},
                             {"SHGetPathFromIDListA", {"list9"}}};
  EXPECT_EQ(ops.CallsOf({"SHGetPathFromIDListA"}), reads);
}

struct ModulePath {
  std::string path;
  std::string dir;
};

TEST(GetModuleDirTest, KeepsTheDriveAndDirectoryWithTheirSeparators) {
  const std::string long_dir = "C:\\" + std::string(250, 'a') + "\\bb\\";
  const ModulePath cases[] = {
      {"D:\\dist\\tavi.exe", "D:\\dist\\"},
      {"C:\\tavi.exe", "C:\\"},  // an executable at the root of a drive
      {"\\\\server\\share\\dir\\tavi.exe", "\\\\server\\share\\dir\\"},
      {"D:/dist/tavi.exe", "D:/dist/"},
      // "ソ" is 83 5C: its trail byte is no separator.
      {"D:\\\x83\x5c\\tavi.exe", "D:\\\x83\x5c\\"},
      {"D:\\dist\\\x83\x5c.exe", "D:\\dist\\"},
      {"C:tavi.exe", "C:"},
      {"tavi.exe", ""},
      // Longer than any fixed directory buffer of 256 characters.
      {long_dir + "t.exe", long_dir},
  };
  for (const ModulePath& c : cases) {
    SCOPED_TRACE(Printable(c.path));
    RecordingWindowsOps ops;
    ops.module_path = c.path;
    EXPECT_EQ(GetModuleDir(ops, kInstance), c.dir);
  }
}

TEST(GetModuleDirTest, APathCutAtTheBufferSizeStillEndsInsideTheBuffer) {
  RecordingWindowsOps ops;
  ops.module_path = "C:\\" + std::string(300, 'a') + "\\tavi.exe";
  // The system cuts the text at 260 characters without a terminator; the
  // buffer's spare zeros end it, and no separator lies past the cut.
  EXPECT_EQ(GetModuleDir(ops, kInstance), "C:\\");
}

}  // namespace
}  // namespace tavi
