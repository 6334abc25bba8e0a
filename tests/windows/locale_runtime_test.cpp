#include <gtest/gtest.h>

#include <clocale>

#include "services/locale_text.h"
#include "services/path_file.h"
#include "services/windows_ops_win32.h"
#include "tests/windows/temp_folder.h"

#include <windows.h>

namespace tavi {
namespace {

TEST(RuntimeLocaleTest, TheFirstPathFileSwitchesTheProcessToJapanese) {
  Win32WindowsOps ops;
  PathFile file(ops, "C:\\x");
  EXPECT_STREQ(std::setlocale(LC_ALL, nullptr), "Japanese_Japan.932");
}

TEST(RuntimeLocaleTest, DoubleByteNamesRoundTripOneWideCharacterEach) {
  struct Case {
    std::string narrow;
    std::size_t characters;
  };
  const Case cases[] = {
      {"C:\\dist\\uninstall.bat", 21},
      // C:\ソフト\タヴィ\uninstall.bat; ソ is 83 5C, its trail byte a "\".
      {"C:\\\x83\x5c\x83\x74\x83\x67\\\x83\x5e\x83\x94\x83\x42\\uninstall.bat",
       3 + 3 + 1 + 3 + 1 + 13},
      {"", 0},
  };
  Win32WindowsOps ops;
  LocaleText locale(ops, "japanese");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.narrow);
    std::wstring wide = locale.Widen(c.narrow);
    EXPECT_EQ(wide.size(), c.characters);
    EXPECT_EQ(locale.Narrow(wide), c.narrow);
  }
  EXPECT_EQ(locale.Widen("C:\\\x83\x5c")[3], L'\x30bd');  // KATAKANA SO
}

TEST(RuntimeLocaleTest, TextTheLocaleCannotConvertGivesAnEmptyResult) {
  Win32WindowsOps ops;
  LocaleText locale(ops, "japanese");
  EXPECT_EQ(locale.Widen("C:\\\x83"), L"");     // a lead byte with no trail
  EXPECT_EQ(locale.Narrow(L"C:\\\x00e9"), "");  // no code page 932 form
}

TEST(ExistsForReadingTest, OpensAReadableFileAndLeavesItClosed) {
  TempFolder folder;
  const std::string path = folder.path() + "\x83\x5c\x83\x74\x83\x67.bat";
  WriteFileBytes(path, "Sleep 5000");
  Win32WindowsOps ops;
  {
    PathFile file(ops, path);
    EXPECT_TRUE(file.ExistsForReading());
    // Closed again: it can be deleted while the PathFile still lives.
    EXPECT_NE(DeleteFileA(path.c_str()), 0);
  }
  EXPECT_FALSE(PathFile(ops, path).ExistsForReading());
}

}  // namespace
}  // namespace tavi
